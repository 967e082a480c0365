#include "output/page_buffer.h"

#include "base/text_file.h"

namespace kontaro::output {

PageBuffer::PageBuffer(QString baseFont, int basePointSize, bool rich)
    : m_rich(rich) {
    m_job.baseFont = std::move(baseFont);
    m_job.basePointSize = basePointSize;
}

void PageBuffer::clear() {
    m_job.lines.clear();
    m_current = {};
}

void PageBuffer::setSize(int pointSize) {
    if (m_rich)
        m_current.pointSize = pointSize;
}

void PageBuffer::setBold(bool bold) {
    if (m_rich)
        m_current.bold = bold;
}

void PageBuffer::setColor(forms::Color color) {
    if (m_rich)
        m_current.color = color;
}

void PageBuffer::setFontName(const QString& fontName) {
    m_current.fontName = fontName;
    m_current.pointSize = 0;
}

void PageBuffer::add(const QString& line) {
    add(QString(line));
}

void PageBuffer::add(QString&& line) {
    m_job.lines.push_back(m_current);
    m_job.lines.back().text = std::move(line);
}

void PageBuffer::beginTitledReport(const QString& mandant, const QString& titleSuffix) {
    clear();
    setSize(20);
    add(mandant + titleSuffix);
    setFontName(QStringLiteral("Courier New"));
}

QStringList PageBuffer::lines() const {
    QStringList result;
    result.reserve(static_cast<qsizetype>(m_job.lines.size()));
    for (const forms::PrintJob::Line& line : m_job.lines)
        result << line.text;
    return result;
}

QString PageBuffer::text() const {
    return lines().join(QLatin1Char('\n'));
}

const forms::PrintJob& PageBuffer::job(const QString& title, forms::PrintJob::Orientation orientation) {
    m_job.title = title;
    m_job.orientation = orientation;
    m_job.left = m_rect.left;
    m_job.top = m_rect.top;
    m_job.right = m_rect.right;
    m_job.bottom = m_rect.bottom;
    return m_job;
}

void PageBuffer::save(const QString& path) const {
    text::writeLines(path, lines());
}

} // namespace kontaro::output

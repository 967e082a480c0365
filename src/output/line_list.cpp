#include "output/line_list.h"

#include "base/text_file.h"

#include <algorithm>

namespace kontaro::output {

namespace {

bool lessIgnoringCase(const QString& a, const QString& b) {
    return QString::compare(a, b, Qt::CaseInsensitive) < 0;
}

} // namespace

int LineList::add(const QString& line) {
    if (!m_sorted) {
        m_lines.append(line);
        return count() - 1;
    }
    // After equal lines, so that lines equal apart from case keep the order they came in.
    const auto at = std::upper_bound(m_lines.begin(), m_lines.end(), line, lessIgnoringCase);
    const auto index = static_cast<int>(at - m_lines.begin());
    m_lines.insert(index, line);
    return index;
}

int LineList::indexOf(const QString& line) const {
    if (!m_sorted)
        return static_cast<int>(m_lines.indexOf(line));
    const auto at = std::lower_bound(m_lines.begin(), m_lines.end(), line, lessIgnoringCase);
    if (at == m_lines.end() || QString::compare(*at, line, Qt::CaseInsensitive) != 0)
        return -1;
    return static_cast<int>(at - m_lines.begin());
}

void LineList::load(const QString& path) {
    m_lines = text::readLines(path);
    if (m_sorted)
        std::stable_sort(m_lines.begin(), m_lines.end(), lessIgnoringCase);
}

void LineList::save(const QString& path) const {
    text::writeLines(path, m_lines);
}

} // namespace kontaro::output

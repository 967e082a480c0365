#pragma once

#include "forms/print_job.h"
#include "output/page_setup.h"

#include <QString>
#include <QStringList>
#include <cstddef>

namespace kontaro::output {

// The lines of one printed report with the character attributes in force for each. Attributes are
// set before the lines they are meant for and stay until changed; a plain buffer keeps one format
// for all its lines. The buffer is never shown on screen: it is printed or saved.
class PageBuffer {
public:
    PageBuffer(QString baseFont, int basePointSize, bool rich = true);

    void clear();
    void setSize(int pointSize);
    void setBold(bool bold);
    void setColor(forms::Color color);
    // Sets the font for the following lines at the buffer's base size.
    void setFontName(const QString& fontName);
    void add(const QString& line);
    void add(QString&& line);
    // Room for this many more lines: a long report is not moved as it grows.
    void reserve(std::size_t lines) { m_job.lines.reserve(m_job.lines.size() + lines); }

    // Starts a titled report: cleared, the title line (client name and title suffix) at 20 points,
    // then the body font at the base size.
    void beginTitledReport(const QString& mandant, const QString& titleSuffix);

    void setRect(const PageRect& rect) { m_rect = rect; }
    const PageRect& rect() const { return m_rect; }

    QStringList lines() const;
    // All lines joined by line breaks; empty when the buffer has no lines.
    QString text() const;
    bool isEmpty() const { return m_job.lines.empty(); }

    // The print job of the buffer with its document title. The buffer holds the job itself, so a
    // long report is not copied to be printed; it stays valid until the buffer changes.
    const forms::PrintJob& job(const QString& title, forms::PrintJob::Orientation orientation);
    // Every line followed by CR LF in Windows-1252.
    void save(const QString& path) const;

private:
    forms::PrintJob m_job;
    forms::PrintJob::Line m_current;
    PageRect m_rect;
    bool m_rich;
};

} // namespace kontaro::output

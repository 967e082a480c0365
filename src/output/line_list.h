#pragma once

#include <QString>
#include <QStringList>

namespace kontaro::output {

// A list of text lines that reports fill and write to a file, never print. A sorted list keeps
// its lines in case-insensitive text order: each added line goes to its place, and looking a
// line up ignores case.
class LineList {
public:
    explicit LineList(bool sorted = false)
        : m_sorted(sorted) {}

    void clear() { m_lines.clear(); }
    // Returns the index the line got.
    int add(const QString& line);
    // -1 when absent.
    int indexOf(const QString& line) const;
    const QString& at(int index) const { return m_lines.at(index); }
    int count() const { return static_cast<int>(m_lines.size()); }
    void removeAt(int index) { m_lines.removeAt(index); }
    const QStringList& lines() const { return m_lines; }

    // Windows-1252 (UTF-8 accepted when reading), one line per text line; a sorted list sorts
    // what it loads. Errors throw kontaro::FileError naming the file.
    void load(const QString& path);
    // Every line followed by CR LF, the last one included; no byte-order mark.
    void save(const QString& path) const;

private:
    QStringList m_lines;
    bool m_sorted;
};

} // namespace kontaro::output

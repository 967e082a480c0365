#pragma once

#include <QByteArray>
#include <QDate>
#include <QString>
#include <QStringList>
#include <optional>

namespace kontaro {

// The text of an INI file held in memory, with private-profile semantics:
//
// - A line whose trimmed text starts with "[" and holds a "]" starts a section; its name is the text
//   between them, trimmed. Sections and keys are matched without regard to case.
// - Inside a section, a line "key=value" is an entry: the key is the text before the first "=", the
//   value everything after it (so a value may hold "="); both are trimmed when read. A line without
//   "=" (for example "4500" in a key list) is a key with an empty value, as the platform's own
//   profile functions treat it. Blank lines, lines starting with ";" and lines starting with "[" but
//   without "]" are no entries.
// - Lines before the first section belong to no section and are never read or changed.
// - When a section name occurs more than once, the first occurrence is the section; a key that
//   occurs more than once in it has the value of its first occurrence.
// - Writing changes only the line of the key (keeping the key's letter case), inserts a new key after
//   the last entry of its section, or appends a new section at the end (after a blank line); every
//   other line stays as it is. Line breaks in a written value become blanks. Erasing a section
//   removes its header and every line up to the next section.
//
// Typed reads: integers are decimal text with an optional sign; booleans are read as integers (any
// non-zero value is true); dates are "dd.mm.yyyy". A missing or unreadable value gives the default.
class IniDocument {
public:
    IniDocument() = default;
    explicit IniDocument(QStringList lines);

    // UTF-8 or Windows-1252, any line breaks.
    static IniDocument fromBytes(const QByteArray& bytes);
    // Windows-1252, every line followed by CR LF.
    QByteArray toBytes() const;

    const QStringList& lines() const { return m_lines; }

    // A key must not be empty, hold "=" or a line break, or start with "[" or ";"; a section name
    // must not be empty or hold "]" or a line break.
    static bool isValidKey(const QString& key);
    static bool isValidSection(const QString& section);

    bool hasSection(const QString& section) const;
    std::optional<QString> value(const QString& section, const QString& key) const;

    QString readString(const QString& section, const QString& key, const QString& defaultValue) const;
    int readInteger(const QString& section, const QString& key, int defaultValue) const;
    bool readBool(const QString& section, const QString& key, bool defaultValue) const;
    QDate readDate(const QString& section, const QString& key, const QDate& defaultValue) const;
    // Key names of the section in file order, each once.
    QStringList keys(const QString& section) const;
    // "key=value" of each key of the section in file order (trimmed; a line without "=" gives
    // "key=").
    QStringList entries(const QString& section) const;

    // Invalid keys or section names throw std::invalid_argument: they are programming errors.
    void writeString(const QString& section, const QString& key, const QString& value);
    void writeInteger(const QString& section, const QString& key, int value);
    void writeBool(const QString& section, const QString& key, bool value);
    void writeDate(const QString& section, const QString& key, const QDate& value);
    // Removes every section of that name with all its lines.
    void eraseSection(const QString& section);

private:
    struct Range {
        qsizetype header = -1; // index of the "[section]" line
        qsizetype end = 0;     // one past the last line of the section
    };
    struct Entry {
        qsizetype line = -1;
        QString key;
        QString value;
    };

    std::optional<qlonglong> integerValue(const QString& section, const QString& key) const;
    std::optional<Range> findSection(const QString& section) const;
    Range rangeAt(qsizetype header) const;
    QList<Entry> entriesIn(const Range& range) const;

    QStringList m_lines;
};

} // namespace kontaro

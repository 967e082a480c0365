#include "data/ini_document.h"

#include "base/date.h"
#include "base/text_file.h"

#include <algorithm>
#include <limits>
#include <stdexcept>

namespace kontaro {

namespace {

enum class LineKind { Other, Section, Entry };

struct ParsedLine {
    LineKind kind = LineKind::Other;
    QString name; // section name or key
    QString value;
};

ParsedLine parseLine(const QString& line) {
    const QString text = line.trimmed();
    if (text.isEmpty() || text.startsWith(QLatin1Char(';')))
        return {};
    if (text.startsWith(QLatin1Char('['))) {
        const qsizetype close = text.indexOf(QLatin1Char(']'));
        if (close < 0)
            return {};
        return {LineKind::Section, text.mid(1, close - 1).trimmed(), {}};
    }
    const qsizetype equals = text.indexOf(QLatin1Char('='));
    if (equals < 0)
        return {LineKind::Entry, text, {}};
    const QString key = text.left(equals).trimmed();
    if (key.isEmpty())
        return {};
    return {LineKind::Entry, key, text.mid(equals + 1).trimmed()};
}

bool sameName(const QString& a, const QString& b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

bool hasLineBreak(const QString& text) {
    return text.contains(QLatin1Char('\n')) || text.contains(QLatin1Char('\r'));
}

void requireValid(const QString& section, const QString& key) {
    if (!IniDocument::isValidSection(section))
        throw std::invalid_argument("invalid INI section name: " + section.toStdString());
    if (!IniDocument::isValidKey(key))
        throw std::invalid_argument("invalid INI key: " + key.toStdString());
}

} // namespace

IniDocument::IniDocument(QStringList lines)
    : m_lines(std::move(lines)) {}

IniDocument IniDocument::fromBytes(const QByteArray& bytes) {
    return IniDocument(text::splitLines(text::decodeText(bytes)));
}

QByteArray IniDocument::toBytes() const {
    QByteArray bytes;
    for (const QString& line : m_lines) {
        bytes += text::encodeWindows1252(line);
        bytes += "\r\n";
    }
    return bytes;
}

bool IniDocument::isValidKey(const QString& key) {
    const QString text = key.trimmed();
    return !text.isEmpty() && !text.contains(QLatin1Char('=')) && !hasLineBreak(text) &&
           !text.startsWith(QLatin1Char('[')) && !text.startsWith(QLatin1Char(';'));
}

bool IniDocument::isValidSection(const QString& section) {
    const QString text = section.trimmed();
    return !text.isEmpty() && !text.contains(QLatin1Char(']')) && !hasLineBreak(text);
}

IniDocument::Range IniDocument::rangeAt(qsizetype header) const {
    Range range{header, header + 1};
    while (range.end < m_lines.size() && parseLine(m_lines[range.end]).kind != LineKind::Section)
        ++range.end;
    return range;
}

std::optional<IniDocument::Range> IniDocument::findSection(const QString& section) const {
    const QString wanted = section.trimmed();
    for (qsizetype i = 0; i < m_lines.size(); ++i) {
        const ParsedLine parsed = parseLine(m_lines[i]);
        if (parsed.kind == LineKind::Section && sameName(parsed.name, wanted))
            return rangeAt(i);
    }
    return std::nullopt;
}

QList<IniDocument::Entry> IniDocument::entriesIn(const Range& range) const {
    QList<Entry> entries;
    for (qsizetype i = range.header + 1; i < range.end; ++i) {
        ParsedLine parsed = parseLine(m_lines[i]);
        if (parsed.kind != LineKind::Entry)
            continue;
        const bool seen = std::any_of(entries.cbegin(), entries.cend(),
                                      [&](const Entry& e) { return sameName(e.key, parsed.name); });
        if (!seen)
            entries.append({i, std::move(parsed.name), std::move(parsed.value)});
    }
    return entries;
}

bool IniDocument::hasSection(const QString& section) const {
    return findSection(section).has_value();
}

std::optional<QString> IniDocument::value(const QString& section, const QString& key) const {
    const std::optional<Range> range = findSection(section);
    if (!range)
        return std::nullopt;
    const QString wanted = key.trimmed();
    for (const Entry& entry : entriesIn(*range)) {
        if (sameName(entry.key, wanted))
            return entry.value;
    }
    return std::nullopt;
}

QString IniDocument::readString(const QString& section, const QString& key,
                                const QString& defaultValue) const {
    return value(section, key).value_or(defaultValue);
}

int IniDocument::readInteger(const QString& section, const QString& key, int defaultValue) const {
    const std::optional<qlonglong> number = integerValue(section, key);
    if (!number || *number < std::numeric_limits<int>::min() || *number > std::numeric_limits<int>::max())
        return defaultValue;
    return static_cast<int>(*number);
}

bool IniDocument::readBool(const QString& section, const QString& key, bool defaultValue) const {
    const std::optional<qlonglong> number = integerValue(section, key);
    return number ? *number != 0 : defaultValue;
}

std::optional<qlonglong> IniDocument::integerValue(const QString& section, const QString& key) const {
    const std::optional<QString> text = value(section, key);
    bool ok = false;
    const qlonglong number = text ? text->toLongLong(&ok, 10) : 0;
    return ok ? std::optional<qlonglong>(number) : std::nullopt;
}

QDate IniDocument::readDate(const QString& section, const QString& key, const QDate& defaultValue) const {
    const std::optional<QString> text = value(section, key);
    if (!text)
        return defaultValue;
    return parseShortDate(*text).value_or(defaultValue);
}

QStringList IniDocument::keys(const QString& section) const {
    QStringList keys;
    if (const std::optional<Range> range = findSection(section)) {
        for (const Entry& entry : entriesIn(*range))
            keys.append(entry.key);
    }
    return keys;
}

QStringList IniDocument::entries(const QString& section) const {
    QStringList lines;
    if (const std::optional<Range> range = findSection(section)) {
        for (const Entry& entry : entriesIn(*range))
            lines.append(entry.key + QLatin1Char('=') + entry.value);
    }
    return lines;
}

void IniDocument::writeString(const QString& section, const QString& key, const QString& value) {
    requireValid(section, key);
    QString flat = value;
    flat.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    flat.replace(QLatin1Char('\r'), QLatin1Char(' '));
    flat.replace(QLatin1Char('\n'), QLatin1Char(' '));

    const std::optional<Range> range = findSection(section);
    if (!range) {
        // A blank line between sections, as in files kept by hand.
        if (!m_lines.isEmpty() && !m_lines.back().trimmed().isEmpty())
            m_lines.append(QString());
        m_lines.append(QLatin1Char('[') + section.trimmed() + QLatin1Char(']'));
        m_lines.append(key.trimmed() + QLatin1Char('=') + flat);
        return;
    }
    const QList<Entry> entries = entriesIn(*range);
    const QString wanted = key.trimmed();
    for (const Entry& entry : entries) {
        if (sameName(entry.key, wanted)) {
            // The key keeps the letter case it has in the file.
            m_lines[entry.line] = entry.key + QLatin1Char('=') + flat;
            return;
        }
    }
    // After the last entry rather than at the end of the range: trailing blank lines and comments
    // usually separate this section from the next one or introduce it.
    qsizetype last = range->header;
    for (const Entry& entry : entries)
        last = std::max(last, entry.line);
    m_lines.insert(last + 1, wanted + QLatin1Char('=') + flat);
}

void IniDocument::writeInteger(const QString& section, const QString& key, int value) {
    writeString(section, key, QString::number(value));
}

void IniDocument::writeBool(const QString& section, const QString& key, bool value) {
    writeString(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

void IniDocument::writeDate(const QString& section, const QString& key, const QDate& value) {
    writeString(section, key, formatDate(value));
}

void IniDocument::eraseSection(const QString& section) {
    while (const std::optional<Range> range = findSection(section))
        m_lines.remove(range->header, range->end - range->header);
}

} // namespace kontaro

#include "base/words.h"

#include "base/errors.h"

namespace kontaro::words {

namespace {

QString takeUnquoted(QString& text) {
    qsizetype end = 0;
    while (end < text.size() && !text[end].isSpace())
        ++end;
    const QString word = text.left(end);
    text = text.mid(end).trimmed();
    return word;
}

} // namespace

QString takeWord(QString& text) {
    text = text.trimmed();
    if (text.startsWith(QLatin1Char('"'))) {
        const qsizetype close = text.indexOf(QLatin1Char('"'), 1);
        if (close > 0) {
            const QString word = text.mid(1, close - 1);
            text = text.mid(close + 1).trimmed();
            return word;
        }
    }
    return takeUnquoted(text);
}

QString textArgument(const QString& text) {
    const QString trimmed = text.trimmed();
    if (trimmed.size() >= 2 && trimmed.startsWith(QLatin1Char('"')) && trimmed.endsWith(QLatin1Char('"')))
        return trimmed.mid(1, trimmed.size() - 2);
    return trimmed;
}

QList<std::pair<QString, QString>> fieldAssignments(QString text) {
    QList<std::pair<QString, QString>> result;
    text = text.trimmed();
    while (!text.isEmpty()) {
        const qsizetype equals = text.indexOf(QLatin1Char('='));
        if (equals <= 0)
            throw UserError(QStringLiteral("\"Feld=Wert\" erwartet bei: %1").arg(text));
        const QString field = text.left(equals);
        text = text.mid(equals + 1);
        const QString value = text.startsWith(QLatin1Char('"')) ? takeWord(text) : takeUnquoted(text);
        text = text.trimmed();
        result.append({field, value});
    }
    return result;
}

} // namespace kontaro::words

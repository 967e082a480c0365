#include "base/date.h"

#include "base/clock.h"

#include <QFileInfo>
#include <QRegularExpression>

namespace kontaro {

QDate zeroDate() {
    return QDate(1899, 12, 30);
}

QString formatDate(const QDate& date) {
    QString text;
    appendDate(text, date);
    return text;
}

void appendDate(QString& out, const QDate& date) {
    if (!date.isValid())
        return;
    int year = 0;
    int month = 0;
    int day = 0;
    // One calendar conversion and no text of its own: reports and exports print a date on every line.
    date.getDate(&year, &month, &day);
    if (year < 0 || year > 9999) {
        out += QStringLiteral("%1.%2.%3")
                   .arg(day, 2, 10, QLatin1Char('0'))
                   .arg(month, 2, 10, QLatin1Char('0'))
                   .arg(year, 4, 10, QLatin1Char('0'));
        return;
    }
    const auto digit = [](int value) { return QChar(u'0' + value % 10); };
    const QChar text[] = {digit(day / 10),  digit(day),       QLatin1Char('.'),   digit(month / 10),
                          digit(month),     QLatin1Char('.'), digit(year / 1000), digit(year / 100),
                          digit(year / 10), digit(year)};
    out.append(text, 10);
}

std::optional<QDate> parseShortDate(const QString& text) {
    static const QRegularExpression pattern(QStringLiteral("^\\s*(\\d{1,2})\\.(\\d{1,2})\\.(\\d{4})\\s*$"));
    const QRegularExpressionMatch match = pattern.match(text);
    if (!match.hasMatch())
        return std::nullopt;
    const QDate date(match.captured(3).toInt(), match.captured(2).toInt(), match.captured(1).toInt());
    if (!date.isValid())
        return std::nullopt;
    return date;
}

std::optional<QDate> parseUserDate(const QString& text) {
    static const QRegularExpression pattern(
        QStringLiteral("^\\s*([0-9]{1,2})\\.([0-9]{1,2})(?:\\.([0-9]{1,2}|[0-9]{4})?)?\\s*$"));
    const QRegularExpressionMatch match = pattern.match(text);
    if (!match.hasMatch())
        return std::nullopt;
    int year = Clock::currentYear();
    const QString yearText = match.captured(3);
    if (!yearText.isEmpty()) {
        year = yearText.toInt();
        if (yearText.size() <= 2)
            year += year < 50 ? 2000 : 1900;
    }
    const QDate date(year, match.captured(2).toInt(), match.captured(1).toInt());
    if (!date.isValid())
        return std::nullopt;
    return date;
}

int yearOfDataDirectory(const QString& directory) {
    static const QRegularExpression YearDirectory(QStringLiteral("^KT(\\d{4})$"),
                                                  QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = YearDirectory.match(QFileInfo(directory).fileName());
    return match.hasMatch() ? match.captured(1).toInt() : Clock::currentYear();
}

} // namespace kontaro

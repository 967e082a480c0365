#include "base/date.h"

#include "base/clock.h"

#include <QRegularExpression>

namespace kontaro {

QDate zeroDate() {
    return QDate(1899, 12, 30);
}

QString formatDate(const QDate& date) {
    if (!date.isValid())
        return {};
    return QStringLiteral("%1.%2.%3")
        .arg(date.day(), 2, 10, QLatin1Char('0'))
        .arg(date.month(), 2, 10, QLatin1Char('0'))
        .arg(date.year(), 4, 10, QLatin1Char('0'));
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

} // namespace kontaro

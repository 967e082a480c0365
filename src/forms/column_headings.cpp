#include "forms/column_headings.h"

#include <array>
#include <utility>

namespace kontaro::forms {

QString columnHeading(const QString& field) {
    static const std::array<std::pair<QString, QString>, 21> Headings = {{
        {QStringLiteral("SollBetrag"), QStringLiteral("Soll")},
        {QStringLiteral("HabenBetrag"), QStringLiteral("Haben")},
        // dBASE field names end after ten characters
        {QStringLiteral("HabenBetra"), QStringLiteral("Haben")},
        {QStringLiteral("GKnt"), QStringLiteral("Gegenkonto")},
        {QStringLiteral("Buchtext"), QStringLiteral("Buchungstext")},
        {QStringLiteral("SollKnt"), QStringLiteral("Soll-Konto")},
        {QStringLiteral("HabenKnt"), QStringLiteral("Haben-Konto")},
        {QStringLiteral("UstKnt"), QStringLiteral("USt-Konto")},
        {QStringLiteral("UstP"), QStringLiteral("USt %")},
        {QStringLiteral("UstSoll"), QStringLiteral("USt Soll")},
        {QStringLiteral("UstHaben"), QStringLiteral("USt Haben")},
        {QStringLiteral("SollSaldo2"), QStringLiteral("Saldo Soll")},
        {QStringLiteral("HabenSaldo2"), QStringLiteral("Saldo Haben")},
        {QStringLiteral("UstSaldo2"), QStringLiteral("Saldo USt")},
        {QStringLiteral("Knr"), QStringLiteral("Konto")},
        {QStringLiteral("Bnr"), QStringLiteral("Nr.")},
        {QStringLiteral("Anr"), QStringLiteral("Auszug")},
        {QStringLiteral("LastAnr"), QStringLiteral("Auszug")},
        {QStringLiteral("Kz"), QStringLiteral("Kz.")},
        {QStringLiteral("Ok"), QStringLiteral("Status")},
        {QStringLiteral("Datum"), QStringLiteral("Datum")},
    }};
    for (const auto& [name, heading] : Headings)
        if (field.compare(name, Qt::CaseInsensitive) == 0)
            return heading;
    // Capitals of the archive tables read as words ("BELEG" -> "Beleg").
    if (field.size() > 1 && field == field.toUpper())
        return field.left(1) + field.mid(1).toLower();
    return field;
}

} // namespace kontaro::forms

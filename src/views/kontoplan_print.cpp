// The chart-of-accounts printout and its list kontoplan.csv.
#include "base/field_text.h"
#include "base/format.h"
#include "base/format_settings.h"
#include "base/program_info.h"
#include "data/cursor.h"
#include "output/line_list.h"
#include "output/page_buffer.h"
#include "views/t_kontoplan.h"

#include <QDir>

namespace kontaro::views {

namespace {

const QString Heading =
    QStringLiteral("Ty Gru       Budget    UST % Kontonummer        Saldo Kontobezeichnung");
const Format LineFormat(QStringLiteral("%1.1s  %3.3s%13.2n%6.6s %2.0d %-11.11s%13.2n %-51.51s"));

std::optional<Money> moneyField(const data::Cursor& t, const QString& field) {
    return t.isNull(field) ? std::nullopt : std::optional<Money>(t.asMoney(field));
}

// Every field of the record as its edit text, joined by ";" without quoting.
QString listLine(const data::Cursor& t) {
    QStringList fields;
    for (const char* name : {"Knr", "Typ", "Name", "UstKnt", "UstP"})
        fields << t.asText(QLatin1String(name));
    fields << moneyEditText(moneyField(t, QStringLiteral("Saldo")))
           << moneyEditText(moneyField(t, QStringLiteral("Budget")));
    for (const char* name : {"Gruppe", "LastAnr", "Seite"})
        fields << t.asText(QLatin1String(name));
    return fields.join(QLatin1Char(';'));
}

QString printLine(const data::Cursor& t) {
    return LineFormat({t.asText(QStringLiteral("Typ")), t.asText(QStringLiteral("Gruppe")),
                       t.asMoney(QStringLiteral("Budget")), t.asText(QStringLiteral("UstKnt")),
                       t.asInteger(QStringLiteral("UstP")), t.asText(QStringLiteral("Knr")),
                       t.asMoney(QStringLiteral("Saldo")), t.asText(QStringLiteral("Name"))});
}

} // namespace

void T_Kontoplan::printChart(int mode) {
    control(QStringLiteral("B_druKontoplan")).tag = mode;
    const auto orientation = forms::PrintJob::Orientation::Portrait;
    output::PageBuffer& re = *m_re;
    re.setRect(output::portraitRect(ui().printerPage(orientation)));
    re.beginTitledReport(m_windows.liveSettings().mandant(), QStringLiteral("   -   KONTOPLAN"));
    re.add(Heading);

    // The walk moves the chart's own cursor, so the other windows follow it to the last record.
    output::LineList& gru = *m_gru;
    gru.clear();
    int printed = 0;
    data::Cursor& t = *m_table;
    t.first();
    const int count = t.recordCount();
    for (int i = 0; i < count; ++i) {
        gru.add(listLine(t));
        if (mode == 0 || !t.asText(QStringLiteral("Gruppe")).isEmpty()) {
            ++printed;
            re.add(printLine(t));
        }
        t.next();
    }

    re.add(Heading);
    re.add(QString());
    re.add(QStringLiteral("%1 von %2 Konten gedruckt am %3 um %4 (%5)")
               .arg(printed)
               .arg(count)
               .arg(currentDateText(), currentTimeText(), homePageAddress()));
    control(QStringLiteral("B_druKontoplan")).tag = 0;
    ui().print(re.job(QStringLiteral("Kontaro-Kontoplan"), orientation));
    gru.save(m_windows.dataDirectory() + QStringLiteral("/kontoplan.csv"));
}

} // namespace kontaro::views

#include "views/ledger_export.h"

#include "base/field_text.h"
#include "base/format.h"
#include "base/format_settings.h"
#include "data/cursor.h"
#include "data/field_names.h"
#include "forms/ui.h"
#include "forms/windows.h"
#include "output/line_list.h"
#include "views/t_konto.h"
#include "views/t_kontoplan.h"

#include <utility>

namespace kontaro::views {

namespace {

using namespace data::fields;

const QChar Tab = QLatin1Char('\t');
const Format AmountFormat(QStringLiteral("%15.2f"));

// Views, not copies: the fields are read straight from the row.
QString tabbed(std::initializer_list<QStringView> fields) {
    qsizetype size = qsizetype(fields.size());
    for (QStringView field : fields)
        size += field.size();
    QString line;
    line.reserve(size);
    for (const QStringView& field : fields) {
        if (&field != fields.begin())
            line += Tab;
        line += field;
    }
    return line;
}

// The account fields of both parts, read by index: the walks visit every account twice.
class AccountFields {
public:
    explicit AccountFields(const data::Cursor& konten)
        : m_konten(konten)
        , m_knr(konten.fieldIndex(Knr))
        , m_ustP(konten.fieldIndex(UstP))
        , m_saldo(konten.fieldIndex(Saldo))
        , m_typ(konten.fieldIndex(Typ))
        , m_name(konten.fieldIndex(QStringLiteral("Name"))) {}

    QString knr() const { return m_konten.asText(m_knr); }
    // The balance as the given text: fixed-width in the chart part, display form in the ledger part.
    QString line(const QString& saldo) const {
        return tabbed(
            {knr(), m_konten.asText(m_ustP), saldo, m_konten.asText(m_typ), m_konten.asText(m_name)});
    }
    QString chartLine() const { return line(AmountFormat({m_konten.asMoney(m_saldo)})); }
    QString accountLine() const {
        const std::optional<Money> saldo = data::isNullValue(m_konten.value(m_saldo))
                                               ? std::nullopt
                                               : std::optional<Money>(m_konten.asMoney(m_saldo));
        return line(moneyDisplayText(saldo));
    }

private:
    const data::Cursor& m_konten;
    const int m_knr;
    const int m_ustP;
    const int m_saldo;
    const int m_typ;
    const int m_name;
};

void addLedgerLines(output::LineList& ag, data::Cursor& zeilen, const QString& knr) {
    const int gknt = zeilen.fieldIndex(QStringLiteral("GKnt"));
    const int soll = zeilen.fieldIndex(SollBetrag);
    const int haben = zeilen.fieldIndex(HabenBetrag);
    const int datum = zeilen.fieldIndex(QStringLiteral("Datum"));
    const int buchtext = zeilen.fieldIndex(QStringLiteral("Buchtext"));
    const int anr = zeilen.fieldIndex(Anr);
    const int beleg = zeilen.fieldIndex(QStringLiteral("Beleg"));
    const int bnr = zeilen.fieldIndex(Bnr);
    // Each line is written once into its own text: the fields are appended, not copied first.
    QString line;
    for (zeilen.first(); !zeilen.eof(); zeilen.next()) {
        line.reserve(knr.size() + 96);
        line += knr;
        line += Tab;
        zeilen.appendText(line, gknt);
        line += Tab;
        AmountFormat.appendTo(line, {zeilen.asMoney(soll) - zeilen.asMoney(haben)});
        line += Tab;
        zeilen.appendText(line, datum);
        line += Tab;
        zeilen.appendText(line, buchtext);
        line += Tab;
        zeilen.appendText(line, anr);
        line += Tab;
        zeilen.appendText(line, beleg);
        line += Tab;
        zeilen.appendText(line, bnr);
        ag.add(std::exchange(line, QString()));
    }
}

} // namespace

void exportLedger(forms::Windows& windows, output::LineList& ag) {
    {
        // The file always carries decimal commas; the user's separator comes back in every case.
        const FormatSettingsGuard commaWhileExporting(QLatin1Char(','));
        T_Konto& konto = windows.konto();
        data::Cursor& konten = konto.konten();
        data::Cursor& zeilen = konto.zeilen();
        const AccountFields account(konten);

        ag.clear();
        ag.add(QStringLiteral("\t\t\t\tKONTOPLAN (Nr, UstP, Saldo, Typ, Text)"));
        for (konten.first(); !konten.eof(); konten.next())
            ag.add(account.chartLine());
        ag.add(QString());
        ag.add(QStringLiteral("\t\t\t###########\tK O N T E N : ###############"));
        ag.add(QStringLiteral("\t\t\t\tKONTO, Ust, Saldo, Typ, Name"));
        ag.add(QStringLiteral("\t\t\t\tKnr,GegenKnr,Betrag,Datum,Text,Anr,Beleg,#"));
        for (konten.first(); !konten.eof(); konten.next()) {
            ag.add(account.accountLine());
            // The ledger lines follow the account, most recent first.
            addLedgerLines(ag, zeilen, account.knr());
            ag.add(QStringLiteral(" -----------------"));
        }
        ag.save(windows.dataDirectory() + QStringLiteral("/konten.csv"));
    }
    windows.ui().message(QStringLiteral(
        "Datei \"Konten.csv\" (Tab getrennt) wurde angelegt. Beachten Sie, dass diese Datei NICHT "
        "Passwortgeschützt ist und nur sichtbar ist, solange Kontaro gestartet bleibt!"));
}

void overwriteBudgets(forms::Windows& windows) {
    if (windows.ui().question(
            QStringLiteral("Soll Budget wirklich GELÖSCHT und mit Saldo überschrieben werden ? "),
            forms::Buttons::YesNo) != forms::Answer::Yes)
        return;
    // The chart's after-save rule moves its cursor to the account of the search word; the walk
    // returns to the row it saved before it steps on, so every account is visited exactly once.
    data::Cursor& chart = windows.kontoplan().table();
    for (chart.first(); !chart.eof(); chart.next()) {
        const data::Bookmark place = chart.bookmark();
        chart.edit();
        if (chart.isNull(Saldo))
            chart.setNull(Budget);
        else
            chart.setMoney(Budget, chart.asMoney(Saldo));
        chart.post();
        chart.gotoBookmark(place);
    }
}

} // namespace kontaro::views

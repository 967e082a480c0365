#include "views/ledger_export.h"

#include "base/errors.h"
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

bool startsFormula(QChar first) {
    return first == QLatin1Char('=') || first == QLatin1Char('+') || first == QLatin1Char('-') ||
           first == QLatin1Char('@');
}

// A spreadsheet reads a field that starts with a quote as quoted text running on over tabs and
// lines, and one that starts with =, +, - or @ as a formula. The text field that ends `line` from
// `start` on is made plain: quoted (inner quotes doubled) when it starts with a quote or holds a
// tab or line break, marked as text with an apostrophe when it starts like a formula. Most texts
// need neither and stay where they were appended.
void guardTextField(QString& line, qsizetype start) {
    const QStringView text = QStringView(line).sliced(start);
    if (text.isEmpty())
        return;
    const bool formula = startsFormula(text.front());
    const bool quoted = text.front() == QLatin1Char('"') || text.contains(Tab) ||
                        text.contains(QLatin1Char('\r')) || text.contains(QLatin1Char('\n'));
    if (!formula && !quoted)
        return;
    QString field = text.toString();
    line.truncate(start);
    if (formula)
        field.prepend(QLatin1Char('\''));
    if (quoted) {
        field.replace(QLatin1Char('"'), QStringLiteral("\"\""));
        field = QLatin1Char('"') + field + QLatin1Char('"');
    }
    line += field;
}

QString guardedText(const QString& text) {
    QString field = text;
    guardTextField(field, 0);
    return field;
}

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

    // As written into the file: a text field made plain for spreadsheets.
    QString knr() const { return guardedText(m_konten.asText(m_knr)); }
    // The balance as the given text: fixed-width in the chart part, display form in the ledger part.
    QString line(const QString& saldo) const {
        return tabbed({knr(), m_konten.asText(m_ustP), saldo, guardedText(m_konten.asText(m_typ)),
                       guardedText(m_konten.asText(m_name))});
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
    const auto appendTextField = [&line, &zeilen](int field) {
        const qsizetype start = line.size();
        zeilen.appendText(line, field);
        guardTextField(line, start);
    };
    for (zeilen.first(); !zeilen.eof(); zeilen.next()) {
        line.reserve(knr.size() + 96);
        line += knr;
        line += Tab;
        appendTextField(gknt);
        line += Tab;
        AmountFormat.appendTo(line, {zeilen.asMoney(soll) - zeilen.asMoney(haben)});
        line += Tab;
        zeilen.appendText(line, datum);
        line += Tab;
        appendTextField(buchtext);
        line += Tab;
        zeilen.appendText(line, anr);
        line += Tab;
        appendTextField(beleg);
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
        const data::Bookmark shown = konten.isEmpty() ? data::Bookmark() : konten.bookmark();

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
        // The window goes on showing the account its account field names.
        if (shown.isValid())
            konten.gotoBookmark(shown);
        ag.save(windows.dataDirectory() + QStringLiteral("/konten.csv"));
    }
    windows.ui().message(QStringLiteral(
        "Datei \"konten.csv\" (Tab getrennt) wurde angelegt. Beachten Sie, dass diese Datei NICHT "
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
    int overwritten = 0;
    // The result stays visible, also when a refused save ends the walk early.
    const auto showResult = [&windows, &overwritten] {
        windows.ui().status(overwritten == 1
                                ? QStringLiteral("Budget von 1 Konto überschrieben")
                                : QStringLiteral("Budget von %1 Konten überschrieben").arg(overwritten));
    };
    try {
        for (chart.first(); !chart.eof(); chart.next()) {
            const data::Bookmark place = chart.bookmark();
            chart.edit();
            if (chart.isNull(Saldo))
                chart.setNull(Budget);
            else
                chart.setMoney(Budget, chart.asMoney(Saldo));
            chart.post();
            ++overwritten;
            chart.gotoBookmark(place);
        }
    } catch (const Abort&) {
        showResult();
        throw;
    }
    showResult();
}

} // namespace kontaro::views

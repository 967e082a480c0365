#include "views/consistency_check.h"

#include "base/format.h"
#include "base/format_settings.h"
#include "data/cursor.h"
#include "data/field_names.h"
#include "data/invariant_checker.h"
#include "forms/ui.h"
#include "forms/windows.h"
#include "output/line_list.h"
#include "posting/t_buchen.h"
#include "views/t_kontoplan.h"

#include <QDir>

namespace kontaro::views {

namespace {

using namespace data::fields;

const QString ResultFile = QStringLiteral("prüfung.txt");

// Income and expense balances by VAT rate.
struct RateTotals {
    Money u10;
    Money u20;
    Money v10;
    Money v20;
};

void addByRate(Money& ten, Money& twenty, std::int64_t ustP, Money saldo) {
    if (ustP == 10)
        ten += saldo;
    else if (ustP == 20)
        twenty += saldo;
}

// The character at `index`, or a null character where the text is shorter: a missing character
// differs from every real one.
QChar charAt(const QString& text, qsizetype index) {
    return index < text.size() ? text.at(index) : QChar();
}

Money tenPercent(Money amount) {
    return amount.mulDiv(1, 10, Rounding::HalfEven);
}
Money twentyPercent(Money amount) {
    return amount.mulDiv(2, 10, Rounding::HalfEven);
}

QString general(Money amount) {
    return generalNumber(amount.toLongDouble());
}

class Check {
public:
    Check(forms::Windows& windows, output::LineList& ag)
        : m_windows(windows)
        , m_ag(ag)
        , m_chart(windows.kontoplan().table())
        , m_knr(m_chart.fieldIndex(Knr))
        , m_name(m_chart.fieldIndex(QStringLiteral("Name")))
        , m_typ(m_chart.fieldIndex(Typ))
        , m_ustKnt(m_chart.fieldIndex(UstKnt))
        , m_ustP(m_chart.fieldIndex(UstP))
        , m_saldo(m_chart.fieldIndex(Saldo))
        , m_gruppe(m_chart.fieldIndex(QStringLiteral("Gruppe"))) {}

    bool run() {
        const QString directory = QDir::toNativeSeparators(m_windows.dataDirectory());
        m_ag.clear();
        m_ag.add(QStringLiteral("Prüfung für \"%1\" am %2").arg(directory, currentDateText()));
        m_ag.add(QString());
        m_ag.add(QStringLiteral("Journalprüfung:"));
        const bool sumsEqual = m_windows.buchen().checkSums();
        if (sumsEqual)
            m_ag.add(QStringLiteral("  Saldengleichheit im JOURNAL"));

        m_ag.add(QString());
        m_ag.add(QStringLiteral("Konten für Innergemeinschaftliche Erwerbe:"));
        for (m_chart.first(); !m_chart.eof(); m_chart.next())
            checkAcquisitionAndVatAccount();

        m_ag.add(QString());
        m_ag.add(QStringLiteral("Eventuelle Fehler bei der Konto-Einrichtung:"));
        m_ag.add(QStringLiteral("UST: zeigt evt. fehlenden UST % Wert"));
        m_ag.add(QStringLiteral(
            "E,A,AE: zeigt evt. Fehler bei Gruppenzuordnung bei XY Schema (X=E, A oder B, Y=1 oder 2)"));
        m_ag.add(QString());
        for (m_chart.first(); !m_chart.eof(); m_chart.next())
            checkScheme();

        addSums();
        // The lines above can call damaged books clean (a ledger line on another account, a
        // balance off its ledger): the rules between journal, ledger and chart are checked too.
        const bool rulesKept = addRuleFindings();
        const bool clean = !m_vatAccountError && m_total.isZero() && rulesKept;
        if (!clean)
            m_windows.ui().message(QStringLiteral("!! FEHLER !! Ergebnis siehe: ") + directory +
                                   QDir::separator() + ResultFile);
        m_ag.save(m_windows.dataDirectory() + QLatin1Char('/') + ResultFile);
        const bool faultless = sumsEqual && clean;
        m_windows.ui().status(faultless ? QStringLiteral("Prüfung ohne Fehler – siehe ") + ResultFile
                                        : QStringLiteral("Prüfung mit Fehlern – siehe ") + ResultFile);
        return faultless;
    }

private:
    QString numberAndName() const {
        return m_chart.asText(m_knr) + QStringLiteral("  ") + m_chart.asText(m_name);
    }

    void checkAcquisitionAndVatAccount() {
        const QString knr = m_chart.asText(m_knr);
        // An account can be listed under both rates.
        if (knr.contains(QLatin1String("*E10")))
            m_ag.add(numberAndName());
        if (knr.contains(QLatin1String("*E20")))
            m_ag.add(numberAndName());
        const QString ustKnt = m_chart.asText(m_ustKnt);
        if (!ustKnt.isEmpty() && !m_windows.liveSettings().isUstKonto(ustKnt)) {
            m_ag.add(QStringLiteral("UST-FEHLER bei: ") + numberAndName());
            m_vatAccountError = true;
        }
    }

    void checkScheme() {
        const Money saldo = m_chart.asMoney(m_saldo);
        m_total += saldo;
        const std::int64_t ustP = m_chart.asInteger(m_ustP);
        const QString ustPText = m_chart.asText(m_ustP);
        const QString gruppe = m_chart.asText(m_gruppe);
        const QChar kind = charAt(gruppe, 0);
        // The second character of a group code is the first digit of the VAT rate, unless the
        // first one names no kind the scheme knows.
        if (ustP != 0 && charAt(ustPText, 0) != charAt(gruppe, 1) && kind != QLatin1Char('A') &&
            kind != QLatin1Char('B') && kind != QLatin1Char('E'))
            m_ag.add(QStringLiteral("AE: ") + numberAndName());

        const QString typ = m_chart.asText(m_typ).toUpper();
        const bool missingRate = !m_chart.asText(m_ustKnt).isEmpty() && ustPText.isEmpty();
        if (typ == QLatin1String("E")) {
            if (missingRate)
                m_ag.add(QStringLiteral("UST? ") + numberAndName());
            if (kind != QLatin1Char('E'))
                m_ag.add(QStringLiteral("E : ") + numberAndName());
            addByRate(m_rates.u10, m_rates.u20, ustP, saldo);
        } else if (typ == QLatin1String("A")) {
            if (missingRate)
                m_ag.add(QStringLiteral("UST? ") + m_chart.asText(m_knr));
            if (kind != QLatin1Char('A') && kind != QLatin1Char('B'))
                m_ag.add(QStringLiteral("A : ") + numberAndName());
            addByRate(m_rates.v10, m_rates.v20, ustP, saldo);
        }
    }

    void addSums() {
        const RateTotals& r = m_rates;
        m_ag.add(QString(64, QLatin1Char('-')));
        m_ag.add(QStringLiteral("Summen (E/A Saldo):"));
        m_ag.add(format(QStringLiteral("  u10=%n (%n) u20=%n (%n)  v10=%n (%n)  v20=%n (%n)"),
                        {r.u10, tenPercent(r.u10), r.u20, twentyPercent(r.u20), r.v10, tenPercent(r.v10),
                         r.v20, twentyPercent(r.v20)}));
        m_ag.add(QStringLiteral("Summe Vorsteuer (10+20): ") + general(r.v10 + r.v20) +
                 QStringLiteral("   (") + general(tenPercent(r.v10) + twentyPercent(r.v20)) +
                 QLatin1Char(')'));
        m_ag.add(QStringLiteral("Summe Saldo (muss 0 sein!): ") + general(m_total));
    }

    // The findings of the rule check under a heading of their own; false when there are any.
    bool addRuleFindings() {
        const QList<InvariantFinding> findings = checkInvariants(m_windows.session());
        if (findings.isEmpty())
            return true;
        m_ag.add(QString());
        m_ag.add(QStringLiteral("Abgleich Journal, Hauptbuch und Kontoplan:"));
        for (const InvariantFinding& finding : findings)
            m_ag.add(finding.toString());
        return false;
    }

    forms::Windows& m_windows;
    output::LineList& m_ag;
    data::Cursor& m_chart;
    const int m_knr;
    const int m_name;
    const int m_typ;
    const int m_ustKnt;
    const int m_ustP;
    const int m_saldo;
    const int m_gruppe;
    RateTotals m_rates;
    Money m_total;
    bool m_vatAccountError = false;
};

} // namespace

bool checkBooks(forms::Windows& windows, output::LineList& ag) {
    return Check(windows, ag).run();
}

} // namespace kontaro::views

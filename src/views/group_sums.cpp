// The group-sums printout of the chart-of-accounts window: budgets and balances summed by group
// code, with subtotals per kind and VAT rate (first two characters) and per kind (first character).
#include "base/format.h"
#include "base/format_settings.h"
#include "base/program_info.h"
#include "data/cursor.h"
#include "data/field_names.h"
#include "output/line_list.h"
#include "output/page_buffer.h"
#include "views/t_kontoplan.h"

#include <QDir>
#include <vector>

namespace kontaro::views {

namespace {

using namespace data::fields;

const QString HeadingPattern = QStringLiteral("%14.14s %14.14s   %14.14s %3.3s %14.14s       %14.14s");

QString heading(const QString& saldoColumn) {
    return format(HeadingPattern, {"Budget", "Budget-Saldo", saldoColumn, "Gru", "Summe-##", "Summe-#"});
}

struct GroupTotal {
    Money budget;
    Money saldo;
};

// Prints the groups in list order with the running subtotals.
class GroupLines {
public:
    GroupLines(output::PageBuffer& re, const QString& firstGroup)
        : m_re(re)
        , m_kind(firstGroup.left(1))
        , m_prefix(firstGroup.left(2)) {}

    void add(const QString& group, const GroupTotal& total) {
        const QString prefix = group.left(2);
        const QString kind = group.left(1);
        if (prefix != m_prefix) {
            m_re.add(format(QStringLiteral("          %52.2n %-2.2s"), {m_prefixSaldo, m_prefix}));
            m_prefixSaldo = Money();
        }
        if (kind != m_kind) {
            m_re.add(format(QStringLiteral("%14.2n %14.2n %-1.1s               %38.2n %-1.1s"),
                            {m_kindBudget, m_kindBudget - m_kindSaldo, m_kind, m_kindSaldo, m_kind}));
            m_re.add(kind + QLatin1Char(':'));
            m_kindSaldo = Money();
            m_kindBudget = Money();
        }
        m_re.add(format(QStringLiteral("%14.2n %14.2n   %14.2n %-14.14s"),
                        {total.budget, total.budget - total.saldo, total.saldo, group}));
        m_kind = kind;
        m_prefix = prefix;
        m_kindSaldo += total.saldo;
        m_prefixSaldo += total.saldo;
        m_grandTotal += total.saldo;
        m_kindBudget += total.budget;
    }

    // The last prefix and kind, closed in one line.
    void close() {
        m_re.add(format(QStringLiteral("%62.2n %-2.2s     %14.2n %-1.1s"),
                        {m_prefixSaldo, m_prefix, m_kindSaldo, m_kind}));
    }

    Money grandTotal() const { return m_grandTotal; }

private:
    output::PageBuffer& m_re;
    QString m_kind;
    QString m_prefix;
    Money m_prefixSaldo;
    Money m_kindSaldo;
    Money m_kindBudget;
    Money m_grandTotal;
};

} // namespace

void T_Kontoplan::printGroupSums() {
    const auto orientation = forms::PrintJob::Orientation::Portrait;
    output::PageBuffer& re = *m_re;
    re.setRect(output::portraitRect(ui().printerPage(orientation)));
    re.beginTitledReport(m_windows.liveSettings().mandant(), QStringLiteral(" - GUPPENSUMMEN"));
    re.add(QString());

    // Both walks move the chart's own cursor, so the other windows follow it.
    data::Cursor& t = *m_table;
    const int gruppe = t.fieldIndex(QStringLiteral("Gruppe"));
    const int budget = t.fieldIndex(Budget);
    const int saldo = t.fieldIndex(Saldo);
    // The group list: each code once, trimmed, in case-insensitive order, in the form met first.
    output::LineList& gru = *m_gru;
    gru.clear();
    for (t.first(); !t.eof(); t.next()) {
        const QString group = t.asText(gruppe).trimmed();
        if (!group.isEmpty() && gru.indexOf(group) < 0)
            gru.add(group);
    }
    // Accounts without a group code belong to no group and to no total.
    std::vector<GroupTotal> totals(std::size_t(gru.count()));
    for (t.first(); !t.eof(); t.next()) {
        const int index = gru.indexOf(t.asText(gruppe).trimmed());
        if (index < 0)
            continue;
        totals[std::size_t(index)].budget += t.asMoney(budget);
        totals[std::size_t(index)].saldo += t.asMoney(saldo);
    }
    t.first();

    re.add(heading(QStringLiteral("Saldo")));
    Money grandTotal;
    if (gru.count() == 0) {
        re.add(QStringLiteral("Keine Gruppen (Feld Gruppe ist bei keinem Konto belegt)."));
    } else {
        GroupLines lines(re, gru.at(0));
        for (int i = 0; i < gru.count(); ++i)
            lines.add(gru.at(i), totals[std::size_t(i)]);
        lines.close();
        re.add(heading(QStringLiteral("______________")));
        grandTotal = lines.grandTotal();
    }
    re.add(format(QStringLiteral("                  Summe Saldo : %14.2n  "), {grandTotal}));
    re.add(QString());
    re.add(QStringLiteral(" Gruppensummen gedruckt am %1 um %2 (%3)")
               .arg(currentDateText(), currentTimeText(), homePageAddress()));
    re.add(QStringLiteral(" Pfad: ") + QDir::toNativeSeparators(m_windows.dataDirectory()));
    ui().print(re.job(QStringLiteral("Kontaro-Gruppensummen"), orientation));
}

} // namespace kontaro::views

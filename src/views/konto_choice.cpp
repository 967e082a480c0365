// The ledger-account window's displays: the header strip, the ledger grid, the account list, and
// the drag source that shows the dragged line in the journal.
#include "data/cursor.h"
#include "forms/field_binding.h"
#include "views/konto_grid.h"
#include "views/t_journal.h"
#include "views/t_konto.h"

namespace kontaro::views {

namespace {

// A header display of the shown account: read-only, the field's text in its style.
class AccountDisplay : public forms::FieldBinding {
public:
    AccountDisplay(const data::Cursor& account, QString field, CellStyle style)
        : m_account(account)
        , m_field(std::move(field))
        , m_style(style) {}

    QString text() const override { return cellText(m_account, m_field, m_style); }
    void setText(const QString&) override {}
    bool isReadOnly() const override { return true; }

private:
    const data::Cursor& m_account;
    QString m_field;
    CellStyle m_style;
};

CellStyle ledgerCellStyle(const QString& field) {
    return field == QLatin1String("SollBetrag") || field == QLatin1String("HabenBetrag") ||
                   field == QLatin1String("Saldo")
               ? CellStyle::Money
               : CellStyle::Plain;
}

} // namespace

void T_Konto::setUpDisplays() {
    data::Session& session = m_windows.session();
    for (const char* field : {"Typ", "UstKnt", "UstP", "Budget", "Saldo", "Gruppe", "Name"}) {
        const QString name = QLatin1String(field);
        const CellStyle style = name == QLatin1String("Budget") || name == QLatin1String("Saldo")
                                    ? CellStyle::Money
                                    : CellStyle::Plain;
        control(name).bind(std::make_shared<AccountDisplay>(*m_konten, name, style));
    }

    // The grid reads through its own cursor, linked to the same account and in the same order.
    forms::Control& grid = control(QStringLiteral("Hauptbuchzeilen"));
    auto reader = std::make_unique<data::Cursor>(session, QStringLiteral("konten.DB"));
    reader->setReadOnly(true);
    reader->setIndexName(QStringLiteral("absteigend"));
    reader->setMaster(*m_konten, QStringLiteral("Knr"));
    std::vector<TableGridSource::Column> columns;
    for (const QString& field : grid.items)
        columns.push_back({field, ledgerCellStyle(field)});
    grid.grid = std::make_shared<TableGridSource>(std::move(reader), std::move(columns), m_zeilen.get());
    // A press on a row starts its drag; the journal shows the same posting meanwhile.
    grid.onClick = [this] { showLineInJournal(); };

    // The chart of accounts as a list of its own, so opening it moves no window.
    forms::Control& list = control(QStringLiteral("Kontoauswahl"));
    auto chart = std::make_unique<data::Cursor>(session, QStringLiteral("kntplan.DB"));
    chart->setReadOnly(true);
    list.items = {QStringLiteral("Knr"), QStringLiteral("Typ"), QStringLiteral("UstP"),
                  QStringLiteral("Saldo"), QStringLiteral("Name")};
    std::vector<TableGridSource::Column> chartColumns;
    for (const QString& field : list.items)
        chartColumns.push_back(
            {field, field == QLatin1String("Saldo") ? CellStyle::Money : CellStyle::Plain});
    list.grid = std::make_shared<TableGridSource>(std::move(chart), std::move(chartColumns));
    list.onChange = [this, &list] {
        if (!list.text().isEmpty())
            setKontoWahl(list.text());
    };
}

void T_Konto::showLineInJournal() {
    if (m_zeilen->isEmpty())
        return;
    m_windows.journal().gotoBnr(m_zeilen->asText(QStringLiteral("Bnr")));
}

} // namespace kontaro::views

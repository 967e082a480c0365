#include "years/t_alt.h"

#include "base/clock.h"
#include "base/date.h"
#include "base/errors.h"
#include "base/format.h"
#include "data/cursor.h"
#include "data/field_names.h"
#include "data/session.h"
#include "forms/control_def.h"
#include "posting/line_binding.h"
#include "views/konto_grid.h"
#include "years/archive_tables.h"

#include <cmath>

namespace kontaro::years {

namespace {

using forms::ControlDef;
using enum forms::ControlKind;
using enum forms::Color;

constexpr ControlDef Controls[] = {
    {.name = u"Label10", .kind = Label, .caption = u"Hochrechnung bis Jahresende"},
    {.name = u"hoch1"},

    // Horizontal bars of the eight balances: no axes, legend, title or marks, flat. The series
    // holds the values, current year first.
    {.name = u"Chart1", .kind = Chart},
    {.name = u"Series1", .kind = List, .parent = u"Chart1", .color = Red},

    // journal9, filtered to the account's lines while "Filter" is ticked.
    {.name = u"DBGrid1",
     .kind = Grid,
     .readOnly = true,
     .items = u"DATUM;SOLLBETRAG;HABENBETRA;ANR;BELEG;BUCHTEXT;SOLLKNT;HABENKNT;USTP;USTSOLL;USTHABEN;USTKNT;"
              u"JAHR"},
    {.name = u"kontofilter", .kind = CheckBox, .caption = u"Filter", .checked = true},

    {.name = u"LabelBlau", .kind = Label, .caption = u"Suche in alten Journalen:", .fontColor = Blue},
    {.name = u"SucheText", .hint = u"Suchbegriff (Betrag oder Text)", .upperCase = true},
    {.name = u"sucheNext", .kind = Button, .hint = u"Suche nächsten zurückliegenen Suchbegriff"},

    // Lookup over the chart of accounts (Knr, Typ, Ustp, Saldo, Name; 26 rows), for reading only.
    {.name = u"Label9", .kind = Label, .caption = u"Kontowahl:"},
    {.name = u"Kontoauswahl",
     .kind = DropDown,
     .hint = u"Eingabeliste für manuelle Kontoauswahl.",
     .listRows = 26,
     .listWidth = 600},

    // Shown when the archive tables cannot be opened; the chart window then leaves kntNr alone.
    {.name = u"ALT_INFO",
     .kind = Label,
     .caption = u"knt9plan.db(f) u. journal9.db(f) fehlt !",
     .visible = false},
};

// The grid's amounts in the display format "#,##0.00".
bool isAmountColumn(const QString& field) {
    for (const char* amount : {"SOLLBETRAG", "HABENBETRA", "USTSOLL", "USTHABEN"})
        if (field == QLatin1String(amount))
            return true;
    return false;
}

} // namespace

T_alt::T_alt(forms::Windows& windows)
    : Form(QStringLiteral("_alt"), windows.ui())
    , m_windows(windows) {
    caption = QStringLiteral("Vorjahre");
    windowState = forms::WindowState::Normal;

    forms::Control& kntNr = addControl(QStringLiteral("kntNr"), Edit);
    kntNr.upperCase = true;
    kntNr.followsTyping = true; // every typed character selects the account anew
    // Label8/edit8: the current year and the account's balance in kntplan.DB; Label7/edit7 down to
    // Label1/edit1: the seven years before, latest first, with SALDO_X of knt9plan. The labels get
    // their years when an account is chosen.
    for (int k = 8; k >= 1; --k) {
        addControl(QStringLiteral("Label%1").arg(k), Label);
        addControl(QStringLiteral("edit%1").arg(k), Edit).readOnly = true;
    }
    for (const ControlDef& def : Controls)
        forms::applyDef(addControl(def.name.toString(), def.kind, def.parent.toString()), def);
    control(QStringLiteral("hoch1")).readOnly = true;
    m_missingNotice = control(QStringLiteral("ALT_INFO")).caption;

    control(QStringLiteral("kntNr")).onChange = [this] { selectAccount(); };
    control(QStringLiteral("kontofilter")).onClick = [this] { applyFilter(); };
    control(QStringLiteral("SucheText")).onEnter = [this] {
        if (m_journal)
            m_journal->last();
    };
    control(QStringLiteral("sucheNext")).onClick = [this] { searchPrevious(); };

    forms::Control& kontoauswahl = control(QStringLiteral("Kontoauswahl"));
    kontoauswahl.items = QStringLiteral("Knr;Typ;UstP;Saldo;Name").split(QLatin1Char(';'));
    kontoauswahl.grid = std::make_shared<posting::AccountListSource>(windows.session());

    m_chart = std::make_unique<data::Cursor>(windows.session(), QStringLiteral("kntplan.DB"));
    m_chart->open();
    openArchive();
}

T_alt::~T_alt() {
    closeArchive();
}

void T_alt::closeArchive() {
    control(QStringLiteral("DBGrid1")).grid.reset();
    m_gridReader = nullptr;
    m_journal.reset();
    m_years.reset();
}

void T_alt::openArchive() {
    closeArchive();
    data::Session& session = m_windows.session();
    // The SQLite variant when it is there, else the dBASE one.
    const bool sqlite = session.tableExists(QStringLiteral("knt9plan.db")) ||
                        !archiveTableInTheWay(session, QStringLiteral("knt9plan.db")).isEmpty();
    const QString suffix = sqlite ? QStringLiteral(".db") : QStringLiteral(".DBF");
    QString problem;
    try {
        auto journal = std::make_unique<data::Cursor>(session, QStringLiteral("journal9") + suffix);
        journal->setReadOnly(true);
        journal->open();
        auto years = std::make_unique<data::Cursor>(session, QStringLiteral("knt9plan") + suffix);
        years->setReadOnly(true);
        years->open();
        auto reader = std::make_unique<data::Cursor>(session, QStringLiteral("journal9") + suffix);
        reader->setReadOnly(true);
        reader->open();
        m_gridReader = reader.get();
        std::vector<views::TableGridSource::Column> columns;
        for (const QString& field : control(QStringLiteral("DBGrid1")).items)
            columns.push_back(
                {field, isAmountColumn(field) ? views::CellStyle::Money : views::CellStyle::Plain});
        control(QStringLiteral("DBGrid1")).grid =
            std::make_shared<views::TableGridSource>(std::move(reader), std::move(columns), journal.get());
        m_journal = std::move(journal);
        m_years = std::move(years);
    } catch (const UserError& e) {
        closeArchive();
        problem = e.message();
    }
    // Tables that are missing are called so; otherwise the notice says what is wrong with them (a
    // folder in their place, a table of a newer program version, damage).
    const QString journal9 = QStringLiteral("journal9") + suffix;
    const QString knt9plan = QStringLiteral("knt9plan") + suffix;
    QString notice = archiveTableInTheWay(session, journal9);
    if (notice.isEmpty())
        notice = archiveTableInTheWay(session, knt9plan);
    if (notice.isEmpty())
        notice = session.tableExists(journal9) && session.tableExists(knt9plan) && !problem.isEmpty()
                     ? problem
                     : m_missingNotice;
    control(QStringLiteral("ALT_INFO")).caption = notice;
    control(QStringLiteral("ALT_INFO")).visible = !hasArchive();
    // Reopened after a rebuild: labels, figures and lines follow the new archive.
    if (hasArchive() && !m_filterKnr.isNull())
        selectAccount();
}

// The journal filter "sollknt='T' or habenknt='T'", applied while "Filter" is ticked; it compares
// whole account numbers.
void T_alt::applyFilter() {
    if (!m_journal)
        return;
    const bool on = control(QStringLiteral("kontofilter")).checked;
    for (data::Cursor* cursor : {m_journal.get(), m_gridReader}) {
        const QString knr = m_filterKnr;
        cursor->setFilter([knr](const data::RecordView& row) {
            return row.asText(QStringLiteral("SOLLKNT")) == knr ||
                   row.asText(QStringLiteral("HABENKNT")) == knr;
        });
        cursor->setFiltered(on);
    }
    m_journal->first();
}

void T_alt::addBar(double value) {
    control(QStringLiteral("Series1")).items << generalNumber(value);
}

void T_alt::selectAccount() {
    if (!m_journal)
        return; // without the archive there is nothing to compare with
    const QString knr = control(QStringLiteral("kntNr")).text();
    m_filterKnr = knr;
    applyFilter();
    control(QStringLiteral("Series1")).items.clear();

    // The current year follows the archive: one after the year of its last (filtered) line; an
    // empty journal counts as 1899, the year of the zero date.
    m_journal->last();
    const QDate lastDate = m_journal->isEmpty() ? QDate() : m_journal->asDate(QStringLiteral("DATUM"));
    const int year = (lastDate.isValid() ? lastDate.year() : zeroDate().year()) + 1;
    control(QStringLiteral("Label8")).caption = QString::number(year);

    Money balance;
    const data::LocateOptions startOfKey{.caseInsensitive = true, .partial = true};
    if (m_chart->locate(data::fields::Knr, {knr}, startOfKey)) {
        balance = m_chart->asMoney(data::fields::Saldo);
        control(QStringLiteral("edit8")).setText(format(QStringLiteral("%.2n"), {balance}));
    } else {
        control(QStringLiteral("edit8")).setText(QStringLiteral("."));
    }
    addBar(static_cast<double>(balance.toLongDouble()));
    const int month = Clock::today().month();
    control(QStringLiteral("hoch1"))
        .setText(format(QStringLiteral("%10.2n"), {balance.mulDiv(12, month, Rounding::HalfEven)}));

    for (int k = 1; k <= 7; ++k) {
        const QString pastYear = QString::number(year - k);
        control(QStringLiteral("Label%1").arg(8 - k)).caption = pastYear;
        forms::Control& field = control(QStringLiteral("edit%1").arg(8 - k));
        if (m_years->locate(QStringLiteral("KNR;JAHR"), {knr, pastYear}, startOfKey)) {
            const double saldoX = m_years->asDouble(QStringLiteral("SALDO_X"));
            field.setText(format(QStringLiteral("%.2n"), {saldoX}));
            addBar(saldoX);
        } else {
            field.setText(QStringLiteral("."));
            addBar(0);
        }
    }
    m_journal->last();
}

} // namespace kontaro::years

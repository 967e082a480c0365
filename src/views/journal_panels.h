#pragma once

#include "views/konto_grid.h"

#include <QStringList>
#include <QStringView>
#include <memory>
#include <span>

namespace kontaro::data {
class Cursor;
class Session;
} // namespace kontaro::data

namespace kontaro::views {

// The layout of a journal panel, the one place the window and its painter read it.
//
// Where a field of a journal line sits in its panel: the row (0 to 2), the heading slot it starts in
// and how many slots it spans, its alignment, how it shows and what follows its text.
struct JournalPanelField {
    QStringView field;
    int row;
    int slot;
    int span;
    bool rightAligned;
    CellStyle style;
    QStringView suffix;
};

// A heading slot above the panels: the label over it and its share of the list's width.
struct JournalPanelSlot {
    QStringView heading;
    double width;
};

// Row 1: debit account, amount, balance after, statement, voucher, date; row 2: credit account,
// amount, balance after, text; row 3: VAT account, debit and credit VAT, balance after, rate,
// number and mark. Amounts show with thousands separators; the two VAT amounts without the zero
// before the decimal separator, so a line without VAT stays quiet.
std::span<const JournalPanelField> journalPanelFields();
std::span<const JournalPanelSlot> journalPanelSlots();
// The fields of journalPanelFields() in order: the columns of the window's list.
QStringList journalPanelColumns();

// The panel list of the journal window: one grid row per posting line with the fields of
// journalPanelFields() as columns in `columns` order; `lines` is the window's cursor, whose line is
// highlighted in yellow.
std::shared_ptr<TableGridSource> makeJournalPanels(data::Session& session, const QStringList& columns,
                                                   data::Cursor& lines);

} // namespace kontaro::views

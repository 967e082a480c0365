#pragma once

#include "views/konto_grid.h"

#include <QStringList>
#include <array>
#include <memory>

namespace kontaro::data {
class Cursor;
class Session;
} // namespace kontaro::data

namespace kontaro::views {

// The fields of a journal panel, row by row, left to right: debit side with statement number,
// voucher and date; credit side with the text; VAT side with rate, posting number and mark.
const std::array<QStringList, 3>& journalPanelRows();

// Amounts show with thousands separators; the two VAT amounts without the zero before the decimal
// separator, so a line without VAT stays quiet.
CellStyle journalCellStyle(const QString& field);

// The panel list of the journal window: one grid row per posting line with the fields of
// journalPanelRows() as columns in `columns` order; `lines` is the window's cursor, whose line is
// highlighted in yellow.
std::shared_ptr<TableGridSource> makeJournalPanels(data::Session& session, const QStringList& columns,
                                                   data::Cursor& lines);

} // namespace kontaro::views

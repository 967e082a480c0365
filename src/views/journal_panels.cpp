#include "views/journal_panels.h"

#include "data/cursor.h"

#include <algorithm>

namespace kontaro::views {

namespace {

using S = CellStyle;

constexpr JournalPanelField Fields[] = {
    {u"SollKnt", 0, 0, 1, false, S::Plain, {}},
    {u"SollBetrag", 0, 1, 1, true, S::Money, {}},
    {u"SollSaldo2", 0, 2, 1, true, S::Money, {}},
    {u"Anr", 0, 4, 1, true, S::Plain, {}},
    {u"Beleg", 0, 5, 1, false, S::Plain, {}},
    {u"Datum", 0, 6, 1, false, S::Plain, {}},
    {u"HabenKnt", 1, 0, 1, false, S::Plain, {}},
    {u"HabenBetrag", 1, 1, 1, true, S::Money, {}},
    {u"HabenSaldo2", 1, 2, 1, true, S::Money, {}},
    {u"Buchtext", 1, 3, 4, false, S::Plain, {}},
    {u"UstKnt", 2, 0, 1, false, S::Plain, {}},
    {u"UstSoll", 2, 1, 1, true, S::MoneyNoZero, {}},
    {u"UstHaben", 2, 2, 1, true, S::MoneyNoZero, {}},
    {u"UstSaldo2", 2, 3, 1, false, S::Money, {}},
    {u"UstP", 2, 4, 1, true, S::Plain, u"%"},
    {u"Bnr", 2, 7, 1, false, S::Plain, {}},
    {u"Ok", 2, 7, 1, true, S::Plain, {}},
};

constexpr JournalPanelSlot Slots[] = {
    {u"L_Soll", 0.11}, {u"L_Haben", 0.13}, {u"L_Saldo", 0.13}, {u"L_Buchtext", 0.22},
    {u"L_Anr", 0.07},  {u"L_Beleg", 0.11}, {u"L_Datum", 0.14}, {u"L_BnrOk", 0.09},
};

CellStyle styleOf(const QString& field) {
    const auto* found = std::find_if(std::begin(Fields), std::end(Fields),
                                     [&field](const JournalPanelField& f) { return f.field == field; });
    return found == std::end(Fields) ? S::Plain : found->style;
}

} // namespace

std::span<const JournalPanelField> journalPanelFields() {
    return Fields;
}

std::span<const JournalPanelSlot> journalPanelSlots() {
    return Slots;
}

QStringList journalPanelColumns() {
    QStringList columns;
    for (const JournalPanelField& field : Fields)
        columns << field.field.toString();
    return columns;
}

std::shared_ptr<TableGridSource> makeJournalPanels(data::Session& session, const QStringList& columns,
                                                   data::Cursor& lines) {
    auto reader = std::make_unique<data::Cursor>(session, QStringLiteral("journal.DB"));
    reader->setReadOnly(true);
    std::vector<TableGridSource::Column> list;
    for (const QString& field : columns)
        list.push_back({field, styleOf(field)});
    auto panels = std::make_shared<TableGridSource>(std::move(reader), std::move(list), &lines);
    panels->setCurrentRowColor(forms::Color::Yellow);
    return panels;
}

} // namespace kontaro::views

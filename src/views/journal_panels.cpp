#include "views/journal_panels.h"

#include "data/cursor.h"

namespace kontaro::views {

const std::array<QStringList, 3>& journalPanelRows() {
    static const std::array<QStringList, 3> rows = {
        QStringList{QStringLiteral("SollKnt"), QStringLiteral("SollBetrag"), QStringLiteral("SollSaldo2"),
                    QStringLiteral("Anr"), QStringLiteral("Beleg"), QStringLiteral("Datum")},
        QStringList{QStringLiteral("HabenKnt"), QStringLiteral("HabenBetrag"), QStringLiteral("HabenSaldo2"),
                    QStringLiteral("Buchtext")},
        QStringList{QStringLiteral("UstKnt"), QStringLiteral("UstSoll"), QStringLiteral("UstHaben"),
                    QStringLiteral("UstSaldo2"), QStringLiteral("UstP"), QStringLiteral("Bnr"),
                    QStringLiteral("Ok")},
    };
    return rows;
}

CellStyle journalCellStyle(const QString& field) {
    static const QStringList money = {QStringLiteral("SollBetrag"), QStringLiteral("SollSaldo2"),
                                      QStringLiteral("HabenBetrag"), QStringLiteral("HabenSaldo2"),
                                      QStringLiteral("UstSaldo2")};
    if (field == QLatin1String("UstSoll") || field == QLatin1String("UstHaben"))
        return CellStyle::MoneyNoZero;
    return money.contains(field) ? CellStyle::Money : CellStyle::Plain;
}

std::shared_ptr<TableGridSource> makeJournalPanels(data::Session& session, const QStringList& columns,
                                                   data::Cursor& lines) {
    auto reader = std::make_unique<data::Cursor>(session, QStringLiteral("journal.DB"));
    reader->setReadOnly(true);
    std::vector<TableGridSource::Column> list;
    for (const QString& field : columns)
        list.push_back({field, journalCellStyle(field)});
    auto panels = std::make_shared<TableGridSource>(std::move(reader), std::move(list), &lines);
    panels->setCurrentRowColor(forms::Color::Yellow);
    return panels;
}

} // namespace kontaro::views

#include "data/order_index.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace kontaro::data::testing {
namespace {

// Ledger lines arrive in posting order (by Bnr); the order by Knr;Bnr is then built by splitting
// on Knr alone. It must equal the sort by the index's own comparison, also for lines that share
// a Bnr, lines without a Knr and a key whose second field is descending.
TEST(OrderIndexPresorted, SplitByTheFirstFieldEqualsTheFullSort) {
    const QString accounts[] = {QStringLiteral("5010"), QString(), QStringLiteral("2700"),
                                QStringLiteral("5010"), QStringLiteral("3500")};
    TableLayout layout;
    layout.fields = {FieldDef{QStringLiteral("Knr"), FieldType::Text, 10},
                     FieldDef{QStringLiteral("Bnr"), FieldType::Integer, 0}};
    ColumnStore columns(layout);
    std::vector<Row> rows(60);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        rows[i].id = std::int64_t(i + 1);
        rows[i].pos = std::int64_t(i + 1);
        const QString& knr = accounts[(i * 7) % 5];
        rows[i].slot = columns.add({knr.isEmpty() ? FieldValue() : FieldValue(knr), std::int64_t(1 + i / 3)});
    }
    std::vector<Row*> input;
    for (Row& r : rows)
        input.push_back(&r);
    for (const bool descending : {false, true}) {
        OrderIndex index(OrderKey{{0, 1}, {false, descending}}, &columns);
        index.build(input);
        std::vector<Row*> expected = input;
        std::stable_sort(expected.begin(), expected.end(),
                         [&](const Row* a, const Row* b) { return index.less(a, b); });
        ASSERT_EQ(index.size(), expected.size());
        for (std::size_t i = 0; i < expected.size(); ++i)
            EXPECT_EQ(index.at(i), expected[i]) << "rank " << i << (descending ? " descending" : "");
    }
}

} // namespace
} // namespace kontaro::data::testing

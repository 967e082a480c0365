#include "data/order_index.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <limits>
#include <random>

namespace kontaro::data::testing {
namespace {

// Values of one column; rows get them in a shuffled order with natural positions.
struct OrderCase {
    const char* name;
    std::vector<FieldValue> first;
    std::vector<FieldValue> second; // empty: one key field
    std::vector<bool> descending;
};

class OrderBuildTest : public ::testing::TestWithParam<OrderCase> {};

// The column type that holds a case's values: text if any is one, else float if any is one.
FieldDef columnFor(const char* name, const std::vector<FieldValue>& values) {
    const auto any = [&](auto pick) { return std::any_of(values.begin(), values.end(), pick); };
    if (any([](const FieldValue& v) { return std::holds_alternative<QString>(v); }))
        return FieldDef{QString::fromLatin1(name), FieldType::Text, 10};
    if (any([](const FieldValue& v) { return std::holds_alternative<double>(v); }))
        return FieldDef{QString::fromLatin1(name), FieldType::Float, 0};
    return FieldDef{QString::fromLatin1(name), FieldType::Integer, 0};
}

// The index must come out exactly as a sort by its own comparison would order it.
TEST_P(OrderBuildTest, MatchesTheRowComparison) {
    const OrderCase& c = GetParam();
    TableLayout layout;
    layout.fields = {columnFor("a", c.first)};
    if (!c.second.empty())
        layout.fields.append(columnFor("b", c.second));
    ColumnStore columns(layout);
    std::vector<Row> rows(c.first.size() * std::max<std::size_t>(1, c.second.size()));
    std::mt19937 random(5);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        rows[i].id = std::int64_t(i + 1);
        rows[i].pos = std::int64_t(random() % 7); // many equal positions: ids must break the ties
        std::vector<FieldValue> values = {c.first[i % c.first.size()]};
        if (!c.second.empty())
            values.push_back(c.second[(i / c.first.size()) % c.second.size()]);
        rows[i].slot = columns.add(values);
    }
    std::vector<Row*> input;
    for (Row& r : rows)
        input.push_back(&r);
    std::shuffle(input.begin(), input.end(), random);

    OrderKey key;
    key.fields = c.second.empty() ? std::vector<int>{0} : std::vector<int>{0, 1};
    key.descending = c.descending;
    OrderIndex index(key, &columns);
    index.build(input);
    std::vector<Row*> expected = input;
    std::sort(expected.begin(), expected.end(), [&](const Row* a, const Row* b) { return index.less(a, b); });

    ASSERT_EQ(index.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i)
        EXPECT_EQ(index.at(i), expected[i]) << "rank " << i;
}

const FieldValue null;
const FieldValue lowest = std::numeric_limits<std::int64_t>::min();
const FieldValue highest = std::numeric_limits<std::int64_t>::max();

INSTANTIATE_TEST_SUITE_P(
    Keys, OrderBuildTest,
    ::testing::Values(OrderCase{"IntegersWithNulls",
                                {std::int64_t(3), null, std::int64_t(-2), highest, std::int64_t(0)},
                                {},
                                {false}},
                      OrderCase{"LowestIntegerBesideNull", {lowest, null, std::int64_t(1)}, {}, {false}},
                      OrderCase{
                          "DescendingPutsNullLast", {std::int64_t(3), null, std::int64_t(-2)}, {}, {true}},
                      OrderCase{"TextsByCodeUnit",
                                {QStringLiteral("5010"), QStringLiteral("a"), null, QStringLiteral("B"),
                                 QStringLiteral("50100"), QStringLiteral("Ä")},
                                {},
                                {false}},
                      OrderCase{"IntegerAndEqualFloatTie", {std::int64_t(2), 2.0, 1.5, null}, {}, {false}},
                      OrderCase{"TextThenDescendingInteger",
                                {QStringLiteral("2702"), QStringLiteral("2500"), null},
                                {std::int64_t(7), null, std::int64_t(-1), std::int64_t(7)},
                                {false, true}},
                      OrderCase{"DescendingTextThenInteger",
                                {QStringLiteral("x"), QStringLiteral("y"), QStringLiteral("x")},
                                {std::int64_t(1), std::int64_t(2)},
                                {true, false}}),
    [](const ::testing::TestParamInfo<OrderCase>& info) { return std::string(info.param.name); });

} // namespace
} // namespace kontaro::data::testing

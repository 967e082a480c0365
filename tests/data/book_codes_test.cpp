#include "data/book_codes.h"

#include <gtest/gtest.h>

namespace kontaro::data {
namespace {

TEST(PostingMarkTest, ParsesOnlyTheExactMarks) {
    struct Case {
        const char* text;
        std::optional<PostingMark> mark;
        bool posted;
    };
    const Case cases[] = {
        {"", PostingMark::None, false},
        {"~", PostingMark::Prepared, false},
        {"=", PostingMark::Posted, true},
        {"#", PostingMark::Protected, true},
        {"*", PostingMark::Opening, false},
        // Not marks: never posted, whatever they resemble.
        {" ", std::nullopt, false},
        {"= ", std::nullopt, false},
        {"##", std::nullopt, false},
        {"x", std::nullopt, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(parsePostingMark(QString::fromUtf8(c.text)), c.mark);
        EXPECT_EQ(isPostedMark(QString::fromUtf8(c.text)), c.posted);
    }
}

TEST(PostingMarkTest, TextSpellsWhatParseReads) {
    for (const PostingMark mark : {PostingMark::None, PostingMark::Prepared, PostingMark::Posted,
                                   PostingMark::Protected, PostingMark::Opening}) {
        EXPECT_EQ(parsePostingMark(postingMarkText(mark)), mark);
        EXPECT_TRUE(hasMark(postingMarkText(mark), mark));
    }
    EXPECT_FALSE(hasMark(QStringLiteral("="), PostingMark::Protected));
    EXPECT_FALSE(hasMark(QStringLiteral("x"), PostingMark::None));
}

TEST(AccountKindTest, ReadsTheKindWhateverTheCase) {
    struct Case {
        const char* typ;
        char letter;
        bool isProtected, incomeOrExpense, income, balanceSheet, carried;
    };
    const Case cases[] = {
        {"B", 'B', false, false, false, true, true},
        {"K", 'K', false, false, false, true, true},
        {"U", 'U', false, false, false, true, true},
        {"A", 'A', false, true, false, false, false},
        {"E", 'E', false, true, true, false, false},
        {"X", 'X', false, false, false, false, false},
        // Protected accounts keep their kind, but no protected account is carried into a new year.
        {"b", 'B', true, false, false, true, false},
        {"k", 'K', true, false, false, true, false},
        {"u", 'U', true, false, false, true, false},
        {"a", 'A', true, true, false, false, false},
        {"e", 'E', true, true, true, false, false},
        {"x", 'X', true, false, false, false, false},
        {":", ':', true, false, false, false, false},
        {"", '\0', true, false, false, false, false},
        // Only the first character counts.
        {"Ea", 'E', false, true, true, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typ);
        const AccountKind kind = AccountKind::parse(QString::fromUtf8(c.typ));
        EXPECT_EQ(kind.letter(), QLatin1Char(c.letter));
        EXPECT_EQ(kind.isProtected(), c.isProtected);
        EXPECT_EQ(kind.isUsable(), !c.isProtected);
        EXPECT_EQ(kind.isIncomeOrExpense(), c.incomeOrExpense);
        EXPECT_EQ(kind.isIncome(), c.income);
        EXPECT_EQ(kind.isExpense(), c.incomeOrExpense && !c.income);
        EXPECT_EQ(kind.isBalanceSheet(), c.balanceSheet);
        EXPECT_EQ(kind.isCarriedIntoNewYear(), c.carried);
    }
}

} // namespace
} // namespace kontaro::data

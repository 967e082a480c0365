#include "data/book_codes.h"

#include <array>

namespace kontaro::data {

namespace {

struct MarkSpelling {
    PostingMark mark;
    QStringView text;
};

constexpr std::array<MarkSpelling, 5> MarkSpellings{{
    {PostingMark::None, u""},
    {PostingMark::Prepared, u"~"},
    {PostingMark::Posted, u"="},
    {PostingMark::Protected, u"#"},
    {PostingMark::Opening, u"*"},
}};

} // namespace

std::optional<PostingMark> parsePostingMark(QStringView ok) {
    for (const MarkSpelling& spelling : MarkSpellings)
        if (ok == spelling.text)
            return spelling.mark;
    return std::nullopt;
}

QString postingMarkText(PostingMark mark) {
    for (const MarkSpelling& spelling : MarkSpellings)
        if (spelling.mark == mark)
            return spelling.text.toString();
    return {};
}

bool isPostedMark(QStringView ok) {
    const std::optional<PostingMark> mark = parsePostingMark(ok);
    return mark && isPosted(*mark);
}

bool hasMark(QStringView ok, PostingMark mark) {
    return parsePostingMark(ok) == mark;
}

AccountKind AccountKind::parse(QStringView typ) {
    AccountKind kind;
    if (typ.isEmpty())
        return kind;
    const QChar first = typ.front();
    kind.m_protected = !(first >= QLatin1Char('A') && first <= QLatin1Char('Z'));
    kind.m_letter = first.toUpper();
    return kind;
}

bool AccountKind::isBalanceSheet() const {
    return m_letter == QLatin1Char('B') || m_letter == QLatin1Char('K') || m_letter == QLatin1Char('U');
}

} // namespace kontaro::data

#pragma once

#include "base/money.h"
#include "data/book_codes.h"

#include <QDate>
#include <QString>
#include <cstdint>

namespace kontaro::data {
class Cursor;
}

namespace kontaro::reports {

// The fields of one posting line that the tax reports read.
struct PostingLine {
    std::int64_t bnr = 0;
    QString ok;
    QDate datum;
    QString sollKnt;
    QString habenKnt;
    QString ustKnt;
    std::int64_t ustP = 0;
    Money sollBetrag;
    Money habenBetrag;
    Money ustSoll;
    Money ustHaben;

    bool isPosted() const { return data::isPostedMark(ok); }
};

// The closing note of a tax report on the posted lines it left out because their date lies outside
// the fiscal year.
QString outsideFiscalYearNote(int count, int year);

// Reads posting lines from a journal cursor by field indexes resolved once, for passes over
// every line. The mark and the date come alone, so a pass reads the rest only where it counts.
class PostingLineReader {
public:
    explicit PostingLineReader(const data::Cursor& journal);

    QString ok(const data::Cursor& journal) const;
    QDate datum(const data::Cursor& journal) const;
    PostingLine read(const data::Cursor& journal) const;

private:
    int m_bnr, m_ok, m_datum, m_sollKnt, m_habenKnt, m_ustKnt, m_ustP, m_sollBetrag, m_habenBetrag, m_ustSoll,
        m_ustHaben;
};

// Intra-community acquisitions, recognised by their account numbers: "*E10", "*E20" and "*EX" (a
// rate set in the settings) anywhere in the number; "*E" marks every acquisition account. A line
// adds its debit amount where its debit account matches and subtracts its credit amount where its
// credit account matches. Exact amounts.
struct Acquisitions {
    Money rate10;
    Money rate20;
    Money rateX;

    void add(const PostingLine& line);
    Acquisitions& operator+=(const Acquisitions& other);
    Money sum() const { return rate10 + rate20 + rateX; }

    // The amount a line adds to the bucket of accounts whose number contains `pattern`.
    static Money amountFor(const QString& pattern, const PostingLine& line);
    // Whether an account is an acquisition account.
    static bool isAcquisitionAccount(const QString& knr);
};

} // namespace kontaro::reports

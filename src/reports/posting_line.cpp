#include "reports/posting_line.h"

#include "data/cursor.h"
#include "data/field_names.h"

#include <variant>

namespace kontaro::reports {

namespace f = data::fields;

namespace {

const QString Rate10 = QStringLiteral("*E10");
const QString Rate20 = QStringLiteral("*E20");
const QString RateX = QStringLiteral("*EX");
const QString AnyAcquisition = QStringLiteral("*E");

} // namespace

QString outsideFiscalYearNote(int count, int year) {
    const QString lines =
        count == 1 ? QStringLiteral("1 gebuchte Zeile liegt außerhalb des Geschäftsjahres %1 und ist")
                   : QStringLiteral("%1 gebuchte Zeilen liegen außerhalb des Geschäftsjahres %2 und sind")
                         .arg(count)
                         .arg(QStringLiteral("%1"));
    return lines.arg(year) + QStringLiteral(" nicht berücksichtigt.");
}

PostingLineReader::PostingLineReader(const data::Cursor& j)
    : m_bnr(j.fieldIndex(f::Bnr))
    , m_ok(j.fieldIndex(f::Ok))
    , m_datum(j.fieldIndex(f::Datum))
    , m_sollKnt(j.fieldIndex(f::SollKnt))
    , m_habenKnt(j.fieldIndex(f::HabenKnt))
    , m_ustKnt(j.fieldIndex(f::UstKnt))
    , m_ustP(j.fieldIndex(f::UstP))
    , m_sollBetrag(j.fieldIndex(f::SollBetrag))
    , m_habenBetrag(j.fieldIndex(f::HabenBetrag))
    , m_ustSoll(j.fieldIndex(f::UstSoll))
    , m_ustHaben(j.fieldIndex(f::UstHaben)) {}

QString PostingLineReader::ok(const data::Cursor& j) const {
    return j.asText(m_ok);
}

QDate PostingLineReader::datum(const data::Cursor& j) const {
    // Dates are kept as Julian day numbers.
    if (const auto* day = std::get_if<std::int64_t>(&j.value(m_datum)))
        return QDate::fromJulianDay(*day);
    return {};
}

PostingLine PostingLineReader::read(const data::Cursor& j) const {
    PostingLine line;
    line.bnr = j.asInteger(m_bnr);
    line.ok = ok(j);
    line.datum = datum(j);
    line.sollKnt = j.asText(m_sollKnt);
    line.habenKnt = j.asText(m_habenKnt);
    line.ustKnt = j.asText(m_ustKnt);
    line.ustP = j.asInteger(m_ustP);
    line.sollBetrag = j.asMoney(m_sollBetrag);
    line.habenBetrag = j.asMoney(m_habenBetrag);
    line.ustSoll = j.asMoney(m_ustSoll);
    line.ustHaben = j.asMoney(m_ustHaben);
    return line;
}

Money Acquisitions::amountFor(const QString& pattern, const PostingLine& line) {
    Money amount;
    if (line.sollKnt.contains(pattern))
        amount += line.sollBetrag;
    if (line.habenKnt.contains(pattern))
        amount -= line.habenBetrag;
    return amount;
}

bool Acquisitions::isAcquisitionAccount(const QString& knr) {
    return knr.contains(AnyAcquisition);
}

void Acquisitions::add(const PostingLine& line) {
    rate10 += amountFor(Rate10, line);
    rate20 += amountFor(Rate20, line);
    rateX += amountFor(RateX, line);
}

Acquisitions& Acquisitions::operator+=(const Acquisitions& other) {
    rate10 += other.rate10;
    rate20 += other.rate20;
    rateX += other.rateX;
    return *this;
}

} // namespace kontaro::reports

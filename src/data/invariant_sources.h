#pragma once

#include "base/field_text.h"
#include "data/books_snapshot.h"
#include "data/order_index.h"
#include "data/table.h"

#include <QDate>
#include <optional>

// The two kinds of books the invariant checker reads: plain snapshot rows (tests) and the live
// tables of a session. Both name their fields by handles (jBnr, lKnr, aSaldo, ...) and read one
// field of one row at a time, so the live check needs no copy of the books.
namespace kontaro::invariants {

class SnapshotBooks {
public:
    explicit SnapshotBooks(const BooksSnapshot& books)
        : m_books(books) {}

    qsizetype journalSize() const { return m_books.journal.size(); }
    qsizetype ledgerSize() const { return m_books.ledger.size(); }
    qsizetype accountCount() const { return m_books.accounts.size(); }

    template <typename R> const QString& text(QString R::*field, qsizetype i) const {
        return row<R>(i).*field;
    }
    // Whether text `a` of row i, cut to `width` characters, equals text `b` of row l.
    template <typename RA, typename RB>
    bool sameCutText(QString RA::*a, qsizetype i, QString RB::*b, qsizetype l, qsizetype width) const {
        return cutText(text(a, i), width) == text(b, l);
    }
    template <typename R> std::optional<Money> money(std::optional<Money> R::*field, qsizetype i) const {
        return row<R>(i).*field;
    }
    template <typename R, typename T>
    std::optional<qint64> integer(std::optional<T> R::*field, qsizetype i) const {
        const std::optional<T>& value = row<R>(i).*field;
        return value ? std::optional<qint64>(*value) : std::nullopt;
    }
    template <typename R> QDate date(QDate R::*field, qsizetype i) const { return row<R>(i).*field; }
    // A number per text value, below textKeyCount(): equal numbers are equal texts (here every
    // row has its own number).
    template <typename R> std::uint32_t textKey(QString R::*, qsizetype i) const { return std::uint32_t(i); }
    template <typename R> std::size_t textKeyCount(QString R::*) const {
        return std::size_t(journalSize() + ledgerSize() + accountCount());
    }

    static constexpr auto jBnr = &JournalRow::Bnr;
    static constexpr auto jSollKnt = &JournalRow::SollKnt;
    static constexpr auto jHabenKnt = &JournalRow::HabenKnt;
    static constexpr auto jUstKnt = &JournalRow::UstKnt;
    static constexpr auto jSollBetrag = &JournalRow::SollBetrag;
    static constexpr auto jHabenBetrag = &JournalRow::HabenBetrag;
    static constexpr auto jUstSoll = &JournalRow::UstSoll;
    static constexpr auto jUstHaben = &JournalRow::UstHaben;
    static constexpr auto jBuchtext = &JournalRow::Buchtext;
    static constexpr auto jAnr = &JournalRow::Anr;
    static constexpr auto jBeleg = &JournalRow::Beleg;
    static constexpr auto jDatum = &JournalRow::Datum;
    static constexpr auto jSollSaldo2 = &JournalRow::SollSaldo2;
    static constexpr auto jHabenSaldo2 = &JournalRow::HabenSaldo2;
    static constexpr auto jUstSaldo2 = &JournalRow::UstSaldo2;
    static constexpr auto jOk = &JournalRow::Ok;
    static constexpr auto lKnr = &LedgerRow::Knr;
    static constexpr auto lBnr = &LedgerRow::Bnr;
    static constexpr auto lSollBetrag = &LedgerRow::SollBetrag;
    static constexpr auto lHabenBetrag = &LedgerRow::HabenBetrag;
    static constexpr auto lGKnt = &LedgerRow::GKnt;
    static constexpr auto lBuchtext = &LedgerRow::Buchtext;
    static constexpr auto lAnr = &LedgerRow::Anr;
    static constexpr auto lBeleg = &LedgerRow::Beleg;
    static constexpr auto lDatum = &LedgerRow::Datum;
    static constexpr auto lSaldo = &LedgerRow::Saldo;
    static constexpr auto aKnr = &AccountRow::Knr;
    static constexpr auto aTyp = &AccountRow::Typ;
    static constexpr auto aSaldo = &AccountRow::Saldo;
    static constexpr auto aLastAnr = &AccountRow::LastAnr;

private:
    template <typename R> const R& row(qsizetype i) const {
        if constexpr (std::is_same_v<R, JournalRow>)
            return m_books.journal[i];
        else if constexpr (std::is_same_v<R, LedgerRow>)
            return m_books.ledger[i];
        else
            return m_books.accounts[i];
    }

    const BooksSnapshot& m_books;
};

// A field of one of the three tables: its index in the table's layout.
template <int Table> struct FieldOf { int index = -1; };

class LiveBooks {
public:
    using JournalField = FieldOf<0>;
    using LedgerField = FieldOf<1>;
    using AccountField = FieldOf<2>;

    // Journal and ledger in their natural order (the ledger's is the order its lines were
    // written in, which the checker reads front to back), the chart in the order it opens in.
    LiveBooks(data::Table& journal, data::Table& ledger, data::Table& accounts);

    qsizetype journalSize() const { return qsizetype(m_rows[0]->size()); }
    qsizetype ledgerSize() const { return qsizetype(m_rows[1]->size()); }
    qsizetype accountCount() const { return qsizetype(m_rows[2]->size()); }

    template <int T> const QString& text(FieldOf<T> field, qsizetype i) const {
        return m_columns[T]->text(slot<T>(i), field.index);
    }
    // The same as for snapshot rows. Loaded texts compare by their bytes first, so that a
    // healthy ledger is checked without converting each of its texts: equal bytes of at most
    // `width` bytes are equal texts of at most `width` characters.
    template <int A, int B>
    bool sameCutText(FieldOf<A> a, qsizetype i, FieldOf<B> b, qsizetype l, qsizetype width) const {
        const std::optional<std::string_view> x = m_columns[A]->storedBytes(slot<A>(i), a.index);
        const std::optional<std::string_view> y = m_columns[B]->storedBytes(slot<B>(l), b.index);
        if (x && y && *x == *y && qsizetype(x->size()) <= width)
            return true;
        return cutText(text(a, i), width) == text(b, l);
    }
    template <int T> std::optional<Money> money(FieldOf<T> field, qsizetype i) const {
        const std::optional<qint64> cents = integer(field, i);
        return cents ? std::optional<Money>(Money::fromCents(*cents)) : std::nullopt;
    }
    template <int T> std::optional<qint64> integer(FieldOf<T> field, qsizetype i) const {
        const std::uint32_t s = slot<T>(i);
        if (m_columns[T]->isNull(s, field.index))
            return std::nullopt;
        return m_columns[T]->integer(s, field.index);
    }
    template <int T> QDate date(FieldOf<T> field, qsizetype i) const {
        const std::optional<qint64> day = integer(field, i);
        return day ? QDate::fromJulianDay(*day) : QDate();
    }

    template <int T> std::uint32_t textKey(FieldOf<T> field, qsizetype i) const {
        return m_columns[T]->textId(slot<T>(i), field.index);
    }
    template <int T> std::size_t textKeyCount(FieldOf<T> field) const {
        return m_columns[T]->textCount(field.index);
    }

    JournalField jBnr, jSollKnt, jHabenKnt, jUstKnt, jSollBetrag, jHabenBetrag, jUstSoll, jUstHaben,
        jBuchtext, jAnr, jBeleg, jDatum, jSollSaldo2, jHabenSaldo2, jUstSaldo2, jOk;
    LedgerField lKnr, lBnr, lSollBetrag, lHabenBetrag, lGKnt, lBuchtext, lAnr, lBeleg, lDatum, lSaldo;
    AccountField aKnr, aTyp, aSaldo, aLastAnr;

private:
    // Where row i's values are. A table read from its file and not changed since keeps its rows
    // in slot order: then the row's place is its slot, without a look at the row.
    template <int T> std::uint32_t slot(qsizetype i) const {
        return m_inSlotOrder[T] ? std::uint32_t(i) : m_rows[T]->at(std::size_t(i))->slot;
    }

    const data::ColumnStore* m_columns[3];
    data::OrderIndex* m_rows[3];
    bool m_inSlotOrder[3];
};

} // namespace kontaro::invariants

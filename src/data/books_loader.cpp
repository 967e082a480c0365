#include "data/books_loader.h"

#include "data/cursor.h"

namespace kontaro::data {

namespace {

std::optional<Money> money(const Cursor& c, const char* field) {
    const QString name = QLatin1String(field);
    return c.isNull(name) ? std::nullopt : std::optional<Money>(c.asMoney(name));
}

template <typename Integer> std::optional<Integer> integer(const Cursor& c, const char* field) {
    const QString name = QLatin1String(field);
    return c.isNull(name) ? std::nullopt : std::optional<Integer>(static_cast<Integer>(c.asInteger(name)));
}

QString text(const Cursor& c, const char* field) {
    return c.asText(QLatin1String(field));
}

QDate date(const Cursor& c, const char* field) {
    return c.asDate(QLatin1String(field));
}

enum class Order { Natural, Default };

template <typename Fill> void forEachRow(Session& session, const char* file, Order order, Fill fill) {
    Cursor cursor(session, QLatin1String(file));
    if (order == Order::Natural)
        cursor.setNaturalOrder();
    cursor.open();
    for (cursor.first(); !cursor.eof(); cursor.next())
        fill(cursor);
}

} // namespace

BooksSnapshot loadBooks(Session& session) {
    BooksSnapshot books;
    qint64 position = 0;
    forEachRow(session, "journal.DB", Order::Natural, [&](const Cursor& c) {
        books.journal.append({++position, integer<qint64>(c, "Bnr"), text(c, "SollKnt"), text(c, "HabenKnt"),
                              text(c, "UstKnt"), integer<int>(c, "UstP"), money(c, "SollBetrag"),
                              money(c, "HabenBetrag"), money(c, "UstSoll"), money(c, "UstHaben"),
                              text(c, "Buchtext"), integer<int>(c, "Anr"), text(c, "Beleg"), date(c, "Datum"),
                              money(c, "SollSaldo2"), money(c, "HabenSaldo2"), money(c, "UstSaldo2"),
                              text(c, "Ok")});
    });
    forEachRow(session, "konten.DB", Order::Natural, [&](const Cursor& c) {
        books.ledger.append({text(c, "Knr"), integer<qint64>(c, "Bnr"), money(c, "SollBetrag"),
                             money(c, "HabenBetrag"), text(c, "GKnt"), text(c, "Buchtext"),
                             integer<int>(c, "Anr"), text(c, "Beleg"), date(c, "Datum"), money(c, "Saldo"),
                             text(c, "Kz")});
    });
    forEachRow(session, "kntplan.DB", Order::Default, [&](const Cursor& c) {
        books.accounts.append({text(c, "Knr"), text(c, "Typ"), text(c, "Name"), text(c, "UstKnt"),
                               integer<int>(c, "UstP"), money(c, "Saldo"), money(c, "Budget"),
                               text(c, "Gruppe"), integer<int>(c, "LastAnr"), integer<int>(c, "Seite")});
    });
    return books;
}

} // namespace kontaro::data

#include "data/books_structure.h"

#include "data/book_codes.h"
#include "data/books_snapshot.h"
#include "data/cursor.h"

#include <QHash>

namespace kontaro::data {

namespace {

QStringList duplicateAccounts(Session& session) {
    Cursor chart(session, QStringLiteral("kntplan.DB"));
    chart.open();
    const int knr = chart.fieldIndex(QStringLiteral("Knr"));
    QHash<QString, int> counts;
    QStringList order;
    for (chart.first(); !chart.eof(); chart.next()) {
        const QString number = chart.asText(knr);
        if (counts[number]++ == 0)
            order << number;
    }
    QStringList found;
    for (const QString& number : std::as_const(order))
        if (counts.value(number) > 1)
            found << QStringLiteral("Die Kontonummer \"%1\" steht %2-mal im Kontoplan.")
                         .arg(number)
                         .arg(counts.value(number));
    return found;
}

// Line numbers for a message: the first ten, then how many more.
QString namedLines(const QStringList& lines) {
    constexpr qsizetype Shown = 10;
    QString named = lines.mid(0, Shown).join(QStringLiteral(", "));
    if (lines.size() > Shown)
        named += QStringLiteral(" und %1 weitere").arg(lines.size() - Shown);
    return named;
}

QStringList postedAfterUnposted(Session& session) {
    Cursor journal(session, QStringLiteral("journal.DB"));
    journal.open();
    journal.setNaturalOrder();
    const int ok = journal.fieldIndex(QStringLiteral("Ok"));
    int firstUnposted = 0;
    QStringList lines;
    int line = 0;
    for (journal.first(); !journal.eof(); journal.next()) {
        ++line;
        const bool posted = isPostedMark(journal.asText(ok));
        if (!posted && firstUnposted == 0)
            firstUnposted = line;
        else if (posted && firstUnposted != 0)
            lines << QString::number(line);
    }
    if (lines.isEmpty())
        return {};
    const QString named = namedLines(lines);
    const QString later = lines.size() == 1 ? QStringLiteral("die spätere Zeile %1 ist gebucht")
                                            : QStringLiteral("die späteren Zeilen %1 sind gebucht");
    return {QStringLiteral("Im Journal ist Zeile %1 nicht gebucht, aber %2.")
                .arg(firstUnposted)
                .arg(later.arg(named))};
}

// A line marked as posted that never got its posting number was not posted by the program (the mark
// was set by hand): undo and the checks would look for ledger lines it does not have.
QStringList postedWithoutNumber(Session& session) {
    Cursor journal(session, QStringLiteral("journal.DB"));
    journal.open();
    journal.setNaturalOrder();
    const int ok = journal.fieldIndex(QStringLiteral("Ok"));
    const int bnr = journal.fieldIndex(QStringLiteral("Bnr"));
    QStringList lines;
    int line = 0;
    for (journal.first(); !journal.eof(); journal.next()) {
        ++line;
        if (isPostedMark(journal.asText(ok)) && isNullValue(journal.value(bnr)))
            lines << QString::number(line);
    }
    if (lines.isEmpty())
        return {};
    const QString named = namedLines(lines);
    return {
        lines.size() == 1
            ? QStringLiteral("Im Journal ist Zeile %1 als gebucht markiert, hat aber keine Buchungsnummer.")
                  .arg(named)
            : QStringLiteral("Im Journal sind die Zeilen %1 als gebucht markiert, haben aber keine "
                             "Buchungsnummer.")
                  .arg(named)};
}

} // namespace

QStringList structureDamage(Session& session) {
    return duplicateAccounts(session) + postedAfterUnposted(session) + postedWithoutNumber(session);
}

QString damageRefusal(const QString& command, const QStringList& damage) {
    return QStringLiteral("%1 ist nicht möglich, solange die Bücher beschädigt sind:\n").arg(command) +
           damage.join(QLatin1Char('\n')) +
           QStringLiteral("\nZeilen zurücknehmen oder löschen bzw. doppelte Konten im Kontoplan ändern oder "
                          "löschen; danach ist %1 wieder möglich.")
               .arg(command);
}

} // namespace kontaro::data

#include "demo_books.h"

#include "app/t_kontaro.h"
#include "base/clock.h"
#include "base/errors.h"
#include "base/money.h"
#include "data/transaction.h"
#include "forms/scripted_ui.h"
#include "posting/t_buchen.h"

#include <QDate>
#include <vector>

namespace {

using namespace kontaro;

struct DemoLine {
    QDate datum;
    QString soll;
    QString haben;
    Money betrag; // typed on the bank or cash side (gross), else on the debit side
    QString text;
    QString beleg;
    int anr = 0;
};

bool isMoneyAccount(const QString& knr) {
    return knr == QLatin1String("2700") || knr == QLatin1String("2800") || knr == QLatin1String("2810");
}

Money euros(std::int64_t cents) {
    return Money::fromCents(cents);
}

// A quarter of a small shop: opening balance, weekly takings at 20 % and 10 %, goods, rent,
// telephone, office material, bank charges, cash withdrawals and a transfer to the savings account.
std::vector<DemoLine> demoLines(int year) {
    std::vector<DemoLine> lines;
    int beleg = 1;
    const auto add = [&](QDate datum, const char* soll, const char* haben, std::int64_t cents,
                         const char* text, int anr) {
        lines.push_back({datum, QString::fromLatin1(soll), QString::fromLatin1(haben), euros(cents),
                         QString::fromUtf8(text), QString::number(beleg++), anr});
    };
    add(QDate(year, 1, 2), "2800", "EBK", 1500000, "Eröffnungsbilanz Bank", 1);
    add(QDate(year, 1, 2), "2700", "EBK", 50000, "Eröffnungsbilanz Kassa", 0);
    for (int week = 0; week < 13; ++week) {
        const QDate monday = QDate(year, 1, 5).addDays(7 * week);
        const int anr = monday.month() + 1;
        const std::int64_t vary = (week * 3779) % 9000;
        add(monday, "2800", "4000", 180000 + vary * 10, "Erlöse Werkstatt", anr);
        add(monday.addDays(1), "2700", "4010", 24000 + vary, "Erlöse Bücherverkauf", 0);
        add(monday.addDays(2), "2800", "4000", 95000 + vary * 3, "Erlöse Montage", anr);
        add(monday.addDays(2), "5000", "2800", 60000 + vary * 5, "Wareneinkauf", anr);
        add(monday.addDays(3), "7600", "2700", 2490 + vary / 10, "Büromaterial", 0);
        add(monday.addDays(4), "2700", "4010", 18500 + vary, "Erlöse Bücherverkauf", 0);
        add(monday.addDays(4), "7610", "2700", 3900 + vary / 20, "Fachliteratur", 0);
        if (monday.day() <= 7) {
            add(monday.addDays(1), "7400", "2800", 96000, "Miete Geschäftsraum", anr);
            add(monday.addDays(1), "7380", "2800", 8990, "Telefon und Internet", anr);
            add(monday.addDays(3), "2700", "2800", 30000, "Behebung für die Kassa", anr);
            add(monday.addDays(4), "7790", "2800", 1850, "Kontoführung", anr);
        }
    }
    add(lines.back().datum, "2810", "2800", 500000, "Übertrag auf das Sparkonto", 4);
    return lines;
}

void postLine(posting::T_Buchen& buchen, const DemoLine& line) {
    const bool onDebit = isMoneyAccount(line.soll) || !isMoneyAccount(line.haben);
    buchen.type(QStringLiteral("SollKnt"), line.soll);
    buchen.type(QStringLiteral("HabenKnt"), line.haben);
    buchen.type(QStringLiteral("Datum"), line.datum.toString(QStringLiteral("dd.MM.yyyy")));
    buchen.type(onDebit ? QStringLiteral("SollBetrag") : QStringLiteral("HabenBetrag"),
                line.betrag.toPlainString());
    buchen.type(QStringLiteral("Buchtext"), line.text);
    buchen.type(QStringLiteral("Beleg"), line.beleg);
    buchen.type(QStringLiteral("Anr"), line.anr ? QString::number(line.anr) : QString());
    buchen.focus(QStringLiteral("JournalPlus"));
    if (buchen.isMeldungRed())
        throw UserError(QStringLiteral("Demobuchung \"%1\" abgewiesen: %2")
                            .arg(line.text, buchen.control(QStringLiteral("meldung")).text()));
    buchen.click(QStringLiteral("JournalPlus"));
}

} // namespace

int postDemoBooks(const QString& directory, int year) {
    FixedClock clock(QDate(year, 1, 2));
    forms::ScriptedUi ui;
    app::T_Kontaro program(ui, directory);
    if (!program.start())
        throw UserError(ui.shownTexts(QStringLiteral("message")).join(QLatin1Char('\n')));
    posting::T_Buchen& buchen = program.buchen();
    const std::vector<DemoLine> lines = demoLines(year);
    // One commit for the whole quarter; each line by itself would wait for the disk several times.
    data::Transaction transaction(program.session());
    for (const DemoLine& line : lines)
        postLine(buchen, line);
    transaction.commit();
    const QStringList errors = ui.shownTexts(QStringLiteral("error"));
    if (!errors.isEmpty())
        throw UserError(errors.join(QLatin1Char('\n')));
    buchen.saveCounters();
    return int(lines.size());
}

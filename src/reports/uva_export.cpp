#include "reports/uva_export.h"

#include "base/clock.h"
#include "base/format.h"
#include "base/text_file.h"
#include "data/cursor.h"
#include "data/field_names.h"
#include "data/settings.h"
#include "forms/ui.h"
#include "forms/windows.h"

#include <QBuffer>
#include <QRegularExpression>
#include <QXmlStreamWriter>

namespace kontaro::reports {

namespace f = data::fields;

namespace {

constexpr int AcquisitionRateX = 13; // "*EX" accounts are reported as acquisitions at 13 %
constexpr std::int64_t MaxPackageNumber = 999999999;
const QString MonthlyPrompt = QStringLiteral("Monat (1-12) oder Quartal (Q1-Q4)");

bool isIncomeOrExpense(QChar type) {
    return type == QLatin1Char('A') || type == QLatin1Char('E');
}

// Integer division rounding half away from zero.
std::int64_t divideRounded(std::int64_t numerator, std::int64_t denominator) {
    const std::int64_t half = denominator / 2;
    return numerator >= 0 ? (numerator + half) / denominator : (numerator - half) / denominator;
}

} // namespace

UvaExport::UvaExport(forms::Windows& windows)
    : m_windows(windows) {}

Money UvaExport::Figures::kz065() const {
    return percentToCent(acquisitions.rate20, 20) + percentToCent(acquisitions.rate10, 10) +
           percentToCent(acquisitions.rateX, AcquisitionRateX);
}

Money UvaExport::Figures::outputTax() const {
    return percentToCent(kz022, 20) + percentToCent(kz029, 10) + percentToCent(kz006, 13);
}

Money UvaExport::percentToCent(Money amount, int percent) {
    // units × percent / 100 gives 1/10000; another / 100 gives cents. The product is checked.
    const std::int64_t scaled = (amount * percent).units();
    return Money::fromCents(divideRounded(scaled, 100 * Money::UnitsPerCent));
}

QString UvaExport::amountText(Money amount) {
    const std::int64_t cents = amount.roundedToCents(Rounding::HalfEven).cents();
    const std::int64_t magnitude = cents < 0 ? -cents : cents;
    return QStringLiteral("%1%2.%3")
        .arg(cents < 0 ? QStringLiteral("-") : QString())
        .arg(magnitude / 100)
        .arg(magnitude % 100, 2, 10, QLatin1Char('0'));
}

std::optional<UvaExport::Period> UvaExport::parsePeriod(const QString& text) {
    static const QRegularExpression pattern(QStringLiteral("^(?:([0-9]{1,2})|[Qq]([1-4]))$"));
    const QRegularExpressionMatch match = pattern.match(text.trimmed());
    if (!match.hasMatch())
        return std::nullopt;
    if (!match.captured(2).isEmpty()) {
        const int quarter = match.captured(2).toInt();
        return Period{quarter * 3 - 2, quarter * 3, QStringLiteral("Q%1").arg(quarter)};
    }
    const int month = match.captured(1).toInt();
    if (month < 1 || month > 12)
        return std::nullopt;
    return Period{month, month, QStringLiteral("%1").arg(month, 2, 10, QLatin1Char('0'))};
}

QString UvaExport::proposedPeriod(const QDate& today, int fiscalYear, bool monthly) {
    int lastMonth = 0; // the last complete month of the fiscal year
    if (today.year() > fiscalYear)
        lastMonth = 12;
    else if (today.year() == fiscalYear)
        lastMonth = today.month() - 1;
    if (monthly)
        return QString::number(std::max(lastMonth, 1));
    return QStringLiteral("Q%1").arg(std::max(lastMonth / 3, 1));
}

void UvaExport::run() {
    forms::Ui& ui = m_windows.ui();
    const QString fastnr = m_windows.liveSettings().fastnr();
    if (fastnr.isEmpty()) {
        ui.message(QStringLiteral("UVA-Export nicht möglich: die Steuernummer fehlt. Bitte im Fenster "
                                  "\"Einstellungen\" im Feld \"Steuernummer (FASTNR)\" die 9 Ziffern "
                                  "(Finanzamtsnummer und Steuernummer) eintragen."));
        return;
    }
    static const QRegularExpression nineDigits(QStringLiteral("^[0-9]{9}$"));
    if (!nineDigits.match(fastnr).hasMatch()) {
        ui.message(
            QStringLiteral("UVA-Export nicht möglich: die Steuernummer \"%1\" hat nicht genau 9 Ziffern "
                           "(Finanzamtsnummer und Steuernummer).")
                .arg(fastnr));
        return;
    }

    data::Cursor journal(m_windows.session(), QStringLiteral("journal.DB"));
    journal.setReadOnly(true);
    journal.open();
    journal.first();
    const QDate firstDate = journal.eof() ? QDate() : PostingLineReader(journal).datum(journal);
    const int year = firstDate.isValid() ? firstDate.year() : Clock::currentYear();

    const std::optional<QString> answer =
        ui.input(QStringLiteral("Zeitraum"), MonthlyPrompt,
                 proposedPeriod(Clock::today(), year, m_windows.liveSettings().monatsberechnung()));
    if (!answer)
        return;
    const std::optional<Period> period = parsePeriod(*answer);
    if (!period) {
        ui.message(QStringLiteral("Zeitraum \"%1\" ungültig: Monat 1 bis 12 oder Quartal Q1 bis Q4 eingeben.")
                       .arg(answer->trimmed()));
        return;
    }

    const Figures figures = sumPeriod(*period, year);
    const int rateX = Settings(m_windows.dataDirectory()).igProzent();
    if (!figures.acquisitions.rateX.isZero() && rateX != AcquisitionRateX) {
        ui.message(
            QStringLiteral("UVA-Export nicht möglich: Erwerbe auf \"*EX\"-Konten werden mit 13 Prozent "
                           "gemeldet, der Satz X (IGprozent) ist aber %1 Prozent.")
                .arg(rateX));
        return;
    }

    const QString fileName = QStringLiteral("U30-%1-%2.xml").arg(year).arg(period->code);
    text::writeFile(m_windows.dataDirectory() + QLatin1Char('/') + fileName,
                    xml(figures, *period, year, fastnr));

    QStringList lines;
    lines << QStringLiteral("Datei %1 erstellt (vor dem Hochladen bitte prüfen).").arg(fileName);
    const Money payable = figures.payable();
    lines << (payable.isNegative() ? QStringLiteral("Gutschrift: %1") : QStringLiteral("Zahllast: %1"))
                 .arg(format(QStringLiteral("%n"), {payable}));
    if (!figures.notReported.isZero())
        lines << QStringLiteral("nicht gemeldet: %1 (steuerfreie oder andere Umsätze)")
                     .arg(format(QStringLiteral("%n"), {figures.notReported}));
    ui.message(lines.join(QLatin1Char('\n')));
}

QHash<QString, QChar> UvaExport::accountTypes() const {
    data::Cursor chart(m_windows.session(), QStringLiteral("kntplan.DB"));
    chart.setReadOnly(true);
    chart.open();
    const int knr = chart.fieldIndex(f::Knr);
    const int typ = chart.fieldIndex(f::Typ);
    QHash<QString, QChar> types;
    for (chart.first(); !chart.eof(); chart.next()) {
        const QString type = chart.asText(typ);
        // A protected account (lower-case letter) keeps its kind.
        types.insert(chart.asText(knr), type.isEmpty() ? QChar() : type.front().toUpper());
    }
    return types;
}

UvaExport::Figures UvaExport::sumPeriod(const Period& period, int year) const {
    const QHash<QString, QChar> types = accountTypes();
    data::Cursor journal(m_windows.session(), QStringLiteral("journal.DB"));
    journal.setReadOnly(true);
    journal.open();
    const PostingLineReader reader(journal);
    Figures figures;
    for (journal.first(); !journal.eof(); journal.next()) {
        if (!PostingLine::isPostedMark(reader.ok(journal)))
            continue;
        const QDate datum = reader.datum(journal);
        if (datum.year() != year || datum.month() < period.firstMonth || datum.month() > period.lastMonth)
            continue;
        const PostingLine line = reader.read(journal);
        figures.acquisitions.add(line);
        // The income or expense account of the line, as posting chooses it.
        const QChar sollType = types.value(line.sollKnt);
        const QChar habenType = types.value(line.habenKnt);
        QString account;
        QChar type;
        if (isIncomeOrExpense(sollType)) {
            account = line.sollKnt;
            type = sollType;
        } else if (isIncomeOrExpense(habenType)) {
            account = line.habenKnt;
            type = habenType;
        }
        if (type == QLatin1Char('E')) {
            Money net;
            if (line.habenKnt == account)
                net += line.habenBetrag;
            if (line.sollKnt == account)
                net -= line.sollBetrag;
            switch (line.ustP) {
            case 20:
                figures.kz022 += net;
                break;
            case 10:
                figures.kz029 += net;
                break;
            case 13:
                figures.kz006 += net;
                break;
            default:
                figures.notReported += net;
                break;
            }
        } else if (type == QLatin1Char('A') && !Acquisitions::isAcquisitionAccount(line.sollKnt) &&
                   !Acquisitions::isAcquisitionAccount(line.habenKnt)) {
            figures.kz060 += line.ustSoll - line.ustHaben;
        }
    }
    return figures;
}

QByteArray UvaExport::xml(const Figures& figures, const Period& period, int year,
                          const QString& fastnr) const {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QXmlStreamWriter w(&buffer);
    w.setAutoFormatting(true);
    w.setAutoFormattingIndent(2);
    const auto typed = [&w](const QString& name, const QString& type, const QString& value) {
        w.writeStartElement(name);
        w.writeAttribute(QStringLiteral("type"), type);
        w.writeCharacters(value);
        w.writeEndElement();
    };
    const auto kz = [&](const char* name, Money amount) {
        typed(QString::fromLatin1(name), QStringLiteral("kz"), amountText(amount));
    };
    const auto yearMonth = [year](int month) {
        return QStringLiteral("%1-%2").arg(year).arg(month, 2, 10, QLatin1Char('0'));
    };
    const QDateTime now = Clock::now();

    w.writeStartDocument();
    w.writeStartElement(QStringLiteral("ERKLAERUNGS_UEBERMITTLUNG"));
    w.writeStartElement(QStringLiteral("INFO_DATEN"));
    w.writeTextElement(QStringLiteral("ART_IDENTIFIKATIONSBEGRIFF"), QStringLiteral("FASTNR"));
    w.writeTextElement(QStringLiteral("IDENTIFIKATIONSBEGRIFF"), fastnr);
    // Unique per second of creation, within the range the portal takes.
    w.writeTextElement(QStringLiteral("PAKET_NR"),
                       QString::number(now.toSecsSinceEpoch() % MaxPackageNumber + 1));
    typed(QStringLiteral("DATUM_ERSTELLUNG"), QStringLiteral("datum"), now.date().toString(Qt::ISODate));
    typed(QStringLiteral("UHRZEIT_ERSTELLUNG"), QStringLiteral("uhrzeit"),
          now.time().toString(QStringLiteral("hh:mm:ss")));
    w.writeTextElement(QStringLiteral("ANZAHL_ERKLAERUNGEN"), QStringLiteral("1"));
    w.writeEndElement();

    w.writeStartElement(QStringLiteral("ERKLAERUNG"));
    w.writeAttribute(QStringLiteral("art"), QStringLiteral("U30"));
    w.writeTextElement(QStringLiteral("SATZNR"), QStringLiteral("1"));
    w.writeStartElement(QStringLiteral("ALLGEMEINE_DATEN"));
    w.writeTextElement(QStringLiteral("ANBRINGEN"), QStringLiteral("U30"));
    typed(QStringLiteral("ZRVON"), QStringLiteral("jahrmonat"), yearMonth(period.firstMonth));
    typed(QStringLiteral("ZRBIS"), QStringLiteral("jahrmonat"), yearMonth(period.lastMonth));
    w.writeTextElement(QStringLiteral("FASTNR"), fastnr);
    w.writeEndElement();

    // A block of the return: its total, then the fields it sums in a nested element.
    const auto block = [&](const char* name, const char* totalName, Money total, const char* partsName,
                           std::initializer_list<std::pair<const char*, Money>> parts) {
        w.writeStartElement(QString::fromLatin1(name));
        kz(totalName, total);
        w.writeStartElement(QString::fromLatin1(partsName));
        for (const auto& [partName, amount] : parts)
            kz(partName, amount);
        w.writeEndElement();
        w.writeEndElement();
    };
    block("LIEFERUNGEN_LEISTUNGEN_EIGENVERBRAUCH", "KZ000", figures.kz000(), "VERSTEUERT",
          {{"KZ022", figures.kz022}, {"KZ029", figures.kz029}, {"KZ006", figures.kz006}});
    const Acquisitions& a = figures.acquisitions;
    block("INNERGEMEINSCHAFTLICHE_ERWERBE", "KZ070", a.sum(), "VERSTEUERT_IGE",
          {{"KZ072", a.rate20}, {"KZ073", a.rate10}, {"KZ008", a.rateX}});

    w.writeStartElement(QStringLiteral("VORSTEUER"));
    kz("KZ060", figures.kz060);
    kz("KZ065", figures.kz065());
    w.writeEndElement();

    w.writeEndElement(); // ERKLAERUNG
    w.writeEndDocument();
    return bytes;
}

} // namespace kontaro::reports

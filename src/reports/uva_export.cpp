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

constexpr std::int64_t MaxPackageNumber = 999999999;
const QString MonthlyPrompt = QStringLiteral("Monat (1-12) oder Quartal (Q1-Q4)");

QString amount(Money value) {
    return format(QStringLiteral("%n"), {value});
}

} // namespace

UvaExport::UvaExport(forms::Windows& windows)
    : m_windows(windows) {}

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

QString UvaExport::portalFastnr(const QString& typed) {
    static const QRegularExpression separators(QStringLiteral("[ /-]"));
    static const QRegularExpression digitsOnly(QStringLiteral("^[0-9]*$"));
    QString digits = typed.trimmed();
    digits.remove(separators);
    if (!digitsOnly.match(digits).hasMatch())
        throw U30Refusal(
            QStringLiteral("UVA-Export nicht möglich: die Steuernummer \"%1\" darf nur Ziffern enthalten "
                           "(Leerzeichen, \"/\" und \"-\" werden übergangen).")
                .arg(typed));
    if (digits.size() != 9)
        throw U30Refusal(
            QStringLiteral("UVA-Export nicht möglich: die Steuernummer \"%1\" hat nicht genau 9 Ziffern "
                           "(Finanzamtsnummer und Steuernummer).")
                .arg(typed));
    return digits;
}

void UvaExport::run() {
    forms::Ui& ui = m_windows.ui();
    const QString typedFastnr = m_windows.liveSettings().fastnr();
    if (typedFastnr.isEmpty()) {
        ui.message(QStringLiteral("UVA-Export nicht möglich: die Steuernummer fehlt. Bitte im Fenster "
                                  "\"Einstellungen\" im Feld \"Steuernummer (FASTNR)\" die 9 Ziffern "
                                  "(Finanzamtsnummer und Steuernummer) eintragen."));
        return;
    }
    try {
        const QString fastnr = portalFastnr(typedFastnr);

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
            ui.message(
                QStringLiteral("Zeitraum \"%1\" ungültig: Monat 1 bis 12 oder Quartal Q1 bis Q4 eingeben.")
                    .arg(answer->trimmed()));
            return;
        }

        // Every figure is computed and checked before the file is written (in one step).
        const Sums sums = sumPeriod(*period, year);
        const U30Figures& figures = sums.figures;
        const QString fileName = QStringLiteral("U30-%1-%2.xml").arg(year).arg(period->code);
        text::writeFile(m_windows.dataDirectory() + QLatin1Char('/') + fileName,
                        xml(figures, *period, year, fastnr));

        QStringList lines;
        lines << QStringLiteral("Datei %1 erstellt (vor dem Hochladen bitte prüfen).").arg(fileName);
        lines << (figures.payable.isNegative() ? QStringLiteral("Gutschrift: %1")
                                               : QStringLiteral("Zahllast: %1"))
                     .arg(amount(figures.payable));
        if (figures.vatBalance != figures.payable)
            lines << QStringLiteral("Saldo der UST-Konten im Zeitraum: %1 (Differenz %2)")
                         .arg(amount(figures.vatBalance), amount(figures.payable - figures.vatBalance));
        if (!figures.notReported.isZero())
            lines << QStringLiteral("nicht gemeldet: %1 (steuerfreie oder andere Umsätze)")
                         .arg(amount(figures.notReported));
        if (sums.outsideYear > 0)
            lines << outsideFiscalYearNote(sums.outsideYear, year);
        ui.message(lines.join(QLatin1Char('\n')));
    } catch (const U30Refusal& refusal) {
        ui.message(refusal.message());
    }
}

QHash<QString, U30Account> UvaExport::chartAccounts() const {
    data::Cursor chart(m_windows.session(), QStringLiteral("kntplan.DB"));
    chart.setReadOnly(true);
    chart.open();
    const int knr = chart.fieldIndex(f::Knr);
    const int typ = chart.fieldIndex(f::Typ);
    const int ustP = chart.fieldIndex(f::UstP);
    QHash<QString, U30Account> accounts;
    for (chart.first(); !chart.eof(); chart.next()) {
        const bool hasRate = !chart.asText(ustP).isEmpty();
        accounts.insert(chart.asText(knr),
                        U30Account{chart.asText(typ), int(chart.asInteger(ustP)), hasRate});
    }
    return accounts;
}

UvaExport::Sums UvaExport::sumPeriod(const Period& period, int year) const {
    const int rateX = Settings(m_windows.dataDirectory()).igProzent();
    U30Return ret(chartAccounts(), {}, rateX);
    data::Cursor journal(m_windows.session(), QStringLiteral("journal.DB"));
    journal.setReadOnly(true);
    journal.open();
    const PostingLineReader reader(journal);
    Sums sums;
    for (journal.first(); !journal.eof(); journal.next()) {
        if (!data::isPostedMark(reader.ok(journal)))
            continue;
        const QDate datum = reader.datum(journal);
        if (datum.year() != year) {
            ++sums.outsideYear;
            continue;
        }
        if (datum.month() < period.firstMonth || datum.month() > period.lastMonth)
            continue;
        ret.add(reader.read(journal));
    }
    sums.figures = ret.finish();
    return sums;
}

QByteArray UvaExport::xml(const U30Figures& figures, const Period& period, int year, const QString& fastnr) {
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

    // The fields come in the schema's order; a group is opened with its first written field and
    // closed when the next field lies outside it, so an empty group is never written.
    QString group;
    QString subgroup;
    const auto closeSubgroup = [&] {
        if (!subgroup.isEmpty())
            w.writeEndElement();
        subgroup.clear();
    };
    for (const U30Field& field : figures.fields) {
        const Kennzahl& k = *field.kennzahl;
        const QString fieldGroup = QString::fromLatin1(k.group);
        const QString fieldSubgroup = QString::fromLatin1(k.subgroup);
        if (fieldGroup != group) {
            closeSubgroup();
            if (!group.isEmpty())
                w.writeEndElement();
            group = fieldGroup;
            w.writeStartElement(group);
        }
        if (fieldSubgroup != subgroup) {
            closeSubgroup();
            subgroup = fieldSubgroup;
            if (!subgroup.isEmpty())
                w.writeStartElement(subgroup);
        }
        typed(k.name(), QStringLiteral("kz"), amountText(field.value));
    }
    closeSubgroup();
    if (!group.isEmpty())
        w.writeEndElement();

    w.writeEndElement(); // ERKLAERUNG
    w.writeEndDocument();
    return bytes;
}

} // namespace kontaro::reports

#include "reports/kennzahlen.h"

#include "data/book_codes.h"

#include <QRegularExpression>
#include <array>

namespace kontaro::reports {

namespace {

using K = KennzahlKind;

constexpr const char* Supplies = "LIEFERUNGEN_LEISTUNGEN_EIGENVERBRAUCH";
constexpr const char* Acquisitions = "INNERGEMEINSCHAFTLICHE_ERWERBE";
constexpr const char* InputTaxes = "VORSTEUER";

// The schema's sequence (generation 01_2022): KZ000, KZ001, KZ021, STEUERFREI, VERSTEUERT (with the
// tax-only liability fields after the bases); KZ070, KZ071, VERSTEUERT_IGE; the input taxes.
// The fields the export never fills are left out.
constexpr Kennzahl Catalogue[] = {
    {0, K::SuppliesTotal, 0, 0, Supplies, "",
     "Gesamtbetrag der Bemessungsgrundlagen für Lieferungen und sonstige Leistungen"},
    {21, K::ReverseChargeSupplied, 0, 0, Supplies, "",
     "Umsätze, für die die Steuerschuld auf den Leistungsempfänger übergeht (§ 19 Abs. 1 zweiter Satz, "
     "1c, 1e, Art. 25 Abs. 5)"},
    {11, K::TaxFree, 0, 0, Supplies, "STEUERFREI", "Ausfuhrlieferungen (§ 6 Abs. 1 Z 1 iVm § 7)"},
    {12, K::TaxFree, 0, 0, Supplies, "STEUERFREI", "Lohnveredlungen (§ 6 Abs. 1 Z 1 iVm § 8)"},
    {15, K::TaxFree, 0, 0, Supplies, "STEUERFREI",
     "§ 6 Abs. 1 Z 2 bis 6 und § 23 Abs. 5 (Seeschifffahrt, Luftfahrt, grenzüberschreitende Beförderung)"},
    {17, K::TaxFree, 0, 0, Supplies, "STEUERFREI", "Innergemeinschaftliche Lieferungen (Art. 6 Abs. 1)"},
    {18, K::TaxFree, 0, 0, Supplies, "STEUERFREI",
     "Innergemeinschaftliche Lieferungen neuer Fahrzeuge an Abnehmer ohne UID-Nummer"},
    {19, K::TaxFree, 0, 0, Supplies, "STEUERFREI", "§ 6 Abs. 1 Z 9 lit. a (Grundstücksumsätze)"},
    {16, K::TaxFree, 0, 0, Supplies, "STEUERFREI", "§ 6 Abs. 1 Z 27 (Kleinunternehmer)"},
    {20, K::TaxFree, 0, 0, Supplies, "STEUERFREI", "Übrige steuerfreie Umsätze ohne Vorsteuerabzug"},
    {22, K::Taxed, 20, 0, Supplies, "VERSTEUERT", "Umsätze zum Normalsteuersatz 20 %"},
    {29, K::Taxed, 10, 0, Supplies, "VERSTEUERT", "Umsätze zum ermäßigten Steuersatz 10 %"},
    {6, K::Taxed, 13, 0, Supplies, "VERSTEUERT", "Umsätze zum ermäßigten Steuersatz 13 %"},
    {37, K::Taxed, 19, 0, Supplies, "VERSTEUERT", "Umsätze zum Steuersatz 19 % (Jungholz und Mittelberg)"},
    {57, K::ReverseChargeReceived, 0, 66, Supplies, "VERSTEUERT",
     "Steuerschuld § 19 Abs. 1 zweiter Satz, 1c, 1e, Art. 25 Abs. 5 (Leistungen aus dem Ausland u. a.)"},
    {48, K::ReverseChargeReceived, 0, 82, Supplies, "VERSTEUERT",
     "Steuerschuld § 19 Abs. 1a (Bauleistungen)"},
    {44, K::ReverseChargeReceived, 0, 87, Supplies, "VERSTEUERT",
     "Steuerschuld § 19 Abs. 1b (Sicherungseigentum, Vorbehaltseigentum, Zwangsversteigerung)"},
    {32, K::ReverseChargeReceived, 0, 89, Supplies, "VERSTEUERT",
     "Steuerschuld § 19 Abs. 1d (Schrott und Abfallstoffe)"},
    {70, K::AcquisitionsTotal, 0, 0, Acquisitions, "",
     "Gesamtbetrag der Bemessungsgrundlagen für innergemeinschaftliche Erwerbe"},
    {71, K::TaxFreeAcquisition, 0, 0, Acquisitions, "",
     "Steuerfreie innergemeinschaftliche Erwerbe (Art. 6 Abs. 2)"},
    {72, K::Acquisition, 20, 0, Acquisitions, "VERSTEUERT_IGE", "Innergemeinschaftliche Erwerbe zu 20 %"},
    {73, K::Acquisition, 10, 0, Acquisitions, "VERSTEUERT_IGE", "Innergemeinschaftliche Erwerbe zu 10 %"},
    {8, K::Acquisition, 13, 0, Acquisitions, "VERSTEUERT_IGE", "Innergemeinschaftliche Erwerbe zu 13 %"},
    {88, K::Acquisition, 19, 0, Acquisitions, "VERSTEUERT_IGE",
     "Innergemeinschaftliche Erwerbe zu 19 % (Jungholz und Mittelberg)"},
    {60, K::InputTax, 0, 0, InputTaxes, "", "Gesamtbetrag der Vorsteuern (ohne die folgenden)"},
    {65, K::InputTax, 0, 0, InputTaxes, "", "Vorsteuern aus innergemeinschaftlichen Erwerben"},
    {66, K::InputTax, 0, 0, InputTaxes, "", "Vorsteuern zur Steuerschuld der KZ057"},
    {82, K::InputTax, 0, 0, InputTaxes, "", "Vorsteuern zur Steuerschuld der KZ048 (Bauleistungen)"},
    {87, K::InputTax, 0, 0, InputTaxes, "", "Vorsteuern zur Steuerschuld der KZ044"},
    {89, K::InputTax, 0, 0, InputTaxes, "", "Vorsteuern zur Steuerschuld der KZ032"},
};

// The fields of the mapping editor, in the order the form lists them.
constexpr std::array<int, 22> MappableOrder{11, 12, 15, 17, 18, 19, 16, 20, 21, 22, 29,
                                            6,  37, 57, 48, 44, 32, 72, 73, 8,  88, 71};

} // namespace

QString Kennzahl::name() const {
    return QStringLiteral("KZ") + code();
}

QString Kennzahl::code() const {
    return QStringLiteral("%1").arg(number, 3, 10, QLatin1Char('0'));
}

bool Kennzahl::isSupply() const {
    return kind == K::SuppliesTotal || kind == K::TaxFree || kind == K::ReverseChargeSupplied ||
           kind == K::Taxed;
}

bool Kennzahl::isMappable() const {
    return std::find(MappableOrder.begin(), MappableOrder.end(), number) != MappableOrder.end();
}

bool Kennzahl::fitsType(const QString& typ) const {
    const data::AccountKind kind = data::AccountKind::parse(typ);
    return isSupply() ? kind.isIncome() : kind.isExpense();
}

std::span<const Kennzahl> kennzahlen() {
    return Catalogue;
}

const Kennzahl* findKennzahl(int number) {
    for (const Kennzahl& k : Catalogue)
        if (k.number == number)
            return &k;
    return nullptr;
}

QList<const Kennzahl*> mappableKennzahlen() {
    QList<const Kennzahl*> list;
    for (int number : MappableOrder)
        list.append(findKennzahl(number));
    return list;
}

std::optional<int> parseKennzahlNumber(const QString& text) {
    static const QRegularExpression pattern(QStringLiteral("^(?:KZ)?\\s*([0-9]{1,3})(?:\\s.*)?$"),
                                            QRegularExpression::CaseInsensitiveOption |
                                                QRegularExpression::DotMatchesEverythingOption);
    const QRegularExpressionMatch match = pattern.match(text.trimmed());
    if (!match.hasMatch())
        return std::nullopt;
    return match.captured(1).toInt();
}

QString kennzahlListEntry(const Kennzahl& kennzahl) {
    return kennzahl.code() + QStringLiteral("  ") + kennzahl.meaningText();
}

} // namespace kontaro::reports

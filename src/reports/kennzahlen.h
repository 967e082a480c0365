#pragma once

#include <QChar>
#include <QString>
#include <QStringList>
#include <optional>
#include <span>

namespace kontaro::reports {

// What a field of the VAT pre-return form (U30) holds, and so how the export fills it.
enum class KennzahlKind {
    SuppliesTotal,         // 000: every base of supplies and services
    TaxFree,               // 011 … 020: tax-free turnover, a base
    ReverseChargeSupplied, // 021: turnover whose tax the recipient owes, a base
    Taxed,                 // 022, 029, 006, 037: taxed turnover, a base at `percent`
    ReverseChargeReceived, // 057, 048, 044, 032: the tax owed for a received service
    AcquisitionsTotal,     // 070: every base of intra-community acquisitions
    TaxFreeAcquisition,    // 071
    Acquisition,           // 072, 073, 008, 088: acquisitions, a base at `percent`
    InputTax,              // 060, 065, 066, 082, 087, 089: input tax
};

// One field of the form, as the upload file places it: `group` is the element right below
// ERKLAERUNG, `subgroup` (may be empty) the element inside it that holds the field.
struct Kennzahl {
    int number;
    KennzahlKind kind;
    int percent;  // rate of a taxed turnover or acquisition field; 0 otherwise
    int inputTax; // a received reverse charge's input-tax field; 0 otherwise
    const char* group;
    const char* subgroup;
    const char* meaning;

    QString name() const; // "KZ022"
    QString code() const; // "022"
    QString meaningText() const { return QString::fromUtf8(meaning); }
    // Turnover fields count credits of their accounts, the others debits.
    bool isSupply() const;
    // Whether an account may be mapped to the field in [Kennzahlen].
    bool isMappable() const;
    // Whether an account of the chart's type letter (any case) belongs in the field: income
    // accounts for turnover, expense accounts for received services and acquisitions.
    bool fitsType(const QString& typ) const;
};

// Every field the export fills, in the order of the upload schema.
std::span<const Kennzahl> kennzahlen();
const Kennzahl* findKennzahl(int number);
// The fields an account can be mapped to, in the order of the form.
QList<const Kennzahl*> mappableKennzahlen();
// "011", "11", "KZ011" or a list entry "011  Ausfuhrlieferungen …": the number, whether or not
// a field of that number exists.
std::optional<int> parseKennzahlNumber(const QString& text);
// "011  Ausfuhrlieferungen …": how the settings window lists a field.
QString kennzahlListEntry(const Kennzahl& kennzahl);

} // namespace kontaro::reports

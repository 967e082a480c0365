#include "data/settings.h"

#include "base/date.h"

#include <QDir>

namespace kontaro {

namespace {

// The catalogue. Section spellings differ on purpose where the program has always written them so;
// the file matches them without regard to case.
struct TextKey {
    const char* section;
    const char* key;
    const char* defaultValue;
    int maxLength; // -1: no limit
};
struct BoolKey {
    const char* section;
    const char* key;
    bool defaultValue;
};
struct IntKey {
    const char* section;
    const char* key;
    int defaultValue;
};
struct DateKey {
    const char* section;
    const char* key;
    QDate (*defaultValue)();
};

constexpr BoolKey kAutoinsert{"Einstellungen", "Autoinsert", true};
constexpr BoolKey kMonatsberechnung{"Einstellungen", "Monatsberechnung", false};
constexpr TextKey kProgrammpfad{"Einstellungen", "Programmpfad", "c:\\programme\\dorvan\\Kontaro-p\\", 100};
constexpr IntKey kIgProzent{"Einstellungen", "IGprozent", 0};
constexpr BoolKey kStrengesDatum{"DATUM", "StrengesDatum", true};
constexpr DateKey kGeschuetzt{"Datum", "Geschuetzt", [] { return QDate(1899, 12, 31); }};
constexpr DateKey kBuchung1{"Datum", "Buchung1", &zeroDate};
constexpr TextKey kMandantName{"Mandant", "Name", "", -1};
constexpr const char* kUnknownMandant = "Mandant ?";
constexpr TextKey kFastnr{"Mandant", "FASTNR", "", -1};
constexpr const char* kUstKonten = "UstKonten";
constexpr TextKey kZahllast{"UstAbrechnungskonten", "Zahllast", "", 10};
constexpr TextKey kUeberschuss{"UstAbrechnungskonten", "Ueberschuss", "", 10};
constexpr TextKey kFiamVerrechnung{"UstAbrechnungskonten", "FiamVerrechnung", "", 10};
constexpr TextKey kEuroKurs{"DATEN", "EuroKurs", "13,7603", -1};
constexpr TextKey kBelegTX{"DATEN", "BelegTX", "A1", 20};
constexpr TextKey kBelegALT{"DATEN", "BelegALT", "", 20};
constexpr IntKey kBelegNR{"DATEN", "BelegNR", 0};
// Read as "AnrNr" and written as "AnrNR": one key, since keys match without regard to case.
constexpr IntKey kAnrNr{"DATEN", "AnrNr", 0};
constexpr const char* kAnrNrWritten = "AnrNR";
constexpr TextKey kTextdateikennung{"DATEN", "Textdateikennung", "sxw", 3};
constexpr const char* kFirmenkennungen = "Firmenkennungen";
constexpr const char* kUnknownBusinessTitle = "EAR!";

// Window layout keys: prefix + component name.
constexpr const char* kTopPrefix = "1";
constexpr const char* kLeftPrefix = "L";
constexpr const char* kHeightPrefix = "H";
constexpr const char* kWidthPrefix = "B";
constexpr const char* kVisiblePrefix = "VISIBLE";
constexpr int kCascadeTopStep = 40;
constexpr int kCascadeLeftStep = 20;
constexpr int kDefaultHeight = 330;
constexpr int kDefaultWidth = 700;

QString latin1(const char* text) {
    return QString::fromLatin1(text);
}

QString cut(const QString& text, int maxLength) {
    return maxLength < 0 ? text : text.left(maxLength);
}

QString read(const IniFile& file, const TextKey& k) {
    return cut(file.readString(latin1(k.section), latin1(k.key), latin1(k.defaultValue)), k.maxLength);
}
void write(IniFile& file, const TextKey& k, const QString& value) {
    file.writeString(latin1(k.section), latin1(k.key), cut(value, k.maxLength));
}
bool read(const IniFile& file, const BoolKey& k) {
    return file.readBool(latin1(k.section), latin1(k.key), k.defaultValue);
}
void write(IniFile& file, const BoolKey& k, bool value) {
    file.writeBool(latin1(k.section), latin1(k.key), value);
}
int read(const IniFile& file, const IntKey& k) {
    return file.readInteger(latin1(k.section), latin1(k.key), k.defaultValue);
}
void write(IniFile& file, const IntKey& k, int value) {
    file.writeInteger(latin1(k.section), latin1(k.key), value);
}
QDate read(const IniFile& file, const DateKey& k) {
    return file.readDate(latin1(k.section), latin1(k.key), k.defaultValue());
}
void write(IniFile& file, const DateKey& k, const QDate& value) {
    file.writeDate(latin1(k.section), latin1(k.key), value);
}

QString layoutSection(WindowLayout layout) {
    return layout == WindowLayout::First ? QStringLiteral("Fenster") : QStringLiteral("Fenster2");
}

QString layoutKey(const char* prefix, const QString& windowName) {
    return latin1(prefix) + windowName;
}

WindowGeometry readGeometry(const IniDocument& document, const QString& section, const QString& name,
                            int childIndex, bool withVisibility) {
    WindowGeometry geometry;
    geometry.top = document.readInteger(section, layoutKey(kTopPrefix, name), childIndex * kCascadeTopStep);
    geometry.left =
        document.readInteger(section, layoutKey(kLeftPrefix, name), childIndex * kCascadeLeftStep);
    geometry.height = document.readInteger(section, layoutKey(kHeightPrefix, name), kDefaultHeight);
    geometry.width = document.readInteger(section, layoutKey(kWidthPrefix, name), kDefaultWidth);
    if (withVisibility)
        geometry.visible = document.readBool(section, layoutKey(kVisiblePrefix, name), true);
    return geometry;
}

void writePlacement(IniDocument& document, const QString& section, const QString& name,
                    const WindowGeometry& geometry) {
    document.writeInteger(section, layoutKey(kTopPrefix, name), geometry.top);
    document.writeInteger(section, layoutKey(kLeftPrefix, name), geometry.left);
    document.writeInteger(section, layoutKey(kHeightPrefix, name), geometry.height);
    document.writeInteger(section, layoutKey(kWidthPrefix, name), geometry.width);
}

void writeVisibility(IniDocument& document, const QString& section, const QString& name,
                     const WindowGeometry& geometry) {
    document.writeBool(section, layoutKey(kVisiblePrefix, name), geometry.visible.value_or(true));
}

} // namespace

QStringList Settings::windowNames() {
    return {QStringLiteral("_alt"),       QStringLiteral("_Journal"), QStringLiteral("_Konto"),
            QStringLiteral("_Kontoplan"), QStringLiteral("_init"),    QStringLiteral("_Buchen"),
            QStringLiteral("_Info")};
}

Settings::Settings(const QString& dataDirectory)
    : m_file(QDir(dataDirectory).filePath(fileName())) {}

Settings::Settings(IniFile file)
    : m_file(std::move(file)) {}

bool Settings::autoinsert() const {
    return read(m_file, kAutoinsert);
}
void Settings::setAutoinsert(bool on) {
    write(m_file, kAutoinsert, on);
}
bool Settings::monatsberechnung() const {
    return read(m_file, kMonatsberechnung);
}
void Settings::setMonatsberechnung(bool on) {
    write(m_file, kMonatsberechnung, on);
}
QString Settings::programmpfad() const {
    return read(m_file, kProgrammpfad);
}
void Settings::setProgrammpfad(const QString& path) {
    write(m_file, kProgrammpfad, path);
}
int Settings::igProzent() const {
    return read(m_file, kIgProzent);
}
void Settings::setIgProzent(int percent) {
    write(m_file, kIgProzent, percent);
}

bool Settings::strengesDatum() const {
    return read(m_file, kStrengesDatum);
}
void Settings::setStrengesDatum(bool on) {
    write(m_file, kStrengesDatum, on);
}
QDate Settings::geschuetzt() const {
    return read(m_file, kGeschuetzt);
}
void Settings::setGeschuetzt(const QDate& date) {
    write(m_file, kGeschuetzt, date);
}
QDate Settings::buchung1() const {
    return read(m_file, kBuchung1);
}
void Settings::setBuchung1(const QDate& date) {
    write(m_file, kBuchung1, date);
}

QString Settings::mandantName() const {
    return read(m_file, kMandantName);
}
void Settings::setMandantName(const QString& name) {
    write(m_file, kMandantName, name);
}
QString Settings::reportMandant() const {
    const QString name = mandantName();
    return name.trimmed().isEmpty() ? latin1(kUnknownMandant) : name;
}
QString Settings::fastnr() const {
    return read(m_file, kFastnr);
}
void Settings::setFastnr(const QString& number) {
    write(m_file, kFastnr, number);
}

QStringList Settings::ustKonten() const {
    return m_file.keys(latin1(kUstKonten));
}

int Settings::setUstKonten(const QStringList& accounts) {
    const QString section = latin1(kUstKonten);
    QStringList seen;
    QStringList stored;
    int dropped = 0;
    for (const QString& entry : accounts) {
        const QString account = entry.trimmed();
        if (account.isEmpty() || seen.contains(account, Qt::CaseInsensitive))
            continue;
        seen.append(account);
        if (!IniDocument::isValidKey(account) || stored.size() >= maxUstKonten)
            ++dropped;
        else
            stored.append(account);
    }
    // Erase and rewrite in one go: a failed write leaves the old list, never half a list.
    m_file.update([&](IniDocument& document) {
        document.eraseSection(section);
        for (const QString& account : stored)
            document.writeString(section, account, QString());
    });
    return dropped;
}

QString Settings::zahllast() const {
    return read(m_file, kZahllast);
}
void Settings::setZahllast(const QString& account) {
    write(m_file, kZahllast, account);
}
QString Settings::ueberschuss() const {
    return read(m_file, kUeberschuss);
}
void Settings::setUeberschuss(const QString& account) {
    write(m_file, kUeberschuss, account);
}
QString Settings::fiamVerrechnung() const {
    return read(m_file, kFiamVerrechnung);
}
void Settings::setFiamVerrechnung(const QString& account) {
    write(m_file, kFiamVerrechnung, account);
}

QString Settings::euroKurs() const {
    return read(m_file, kEuroKurs);
}
void Settings::setEuroKurs(const QString& rate) {
    write(m_file, kEuroKurs, rate);
}
QString Settings::belegTX() const {
    return read(m_file, kBelegTX);
}
void Settings::setBelegTX(const QString& voucher) {
    write(m_file, kBelegTX, voucher);
}
QString Settings::belegALT() const {
    return read(m_file, kBelegALT);
}
void Settings::setBelegALT(const QString& voucher) {
    write(m_file, kBelegALT, voucher);
}
int Settings::belegNR() const {
    return read(m_file, kBelegNR);
}
void Settings::setBelegNR(int number) {
    write(m_file, kBelegNR, number);
}
int Settings::anrNr() const {
    return read(m_file, kAnrNr);
}
void Settings::setAnrNr(int number) {
    write(m_file, IntKey{kAnrNr.section, kAnrNrWritten, 0}, number);
}
QString Settings::textdateikennung() const {
    return read(m_file, kTextdateikennung);
}
void Settings::setTextdateikennung(const QString& code) {
    write(m_file, kTextdateikennung, code);
}

QList<BusinessCode> Settings::firmenkennungen() const {
    const QString section = latin1(kFirmenkennungen);
    const IniDocument document = m_file.load();
    QList<BusinessCode> codes;
    for (const QString& entry : document.entries(section)) {
        const QChar code = entry.front(); // an entry starts with its non-empty key
        codes.append({code, document.readString(section, QString(code), latin1(kUnknownBusinessTitle))});
    }
    return codes;
}

WindowGeometry Settings::windowGeometry(WindowLayout layout, const QString& windowName,
                                        int childIndex) const {
    return readGeometry(m_file.load(), layoutSection(layout), windowName, childIndex, true);
}

void Settings::setWindowGeometry(WindowLayout layout, const QString& windowName,
                                 const WindowGeometry& geometry) {
    const QString section = layoutSection(layout);
    m_file.update([&](IniDocument& document) {
        writePlacement(document, section, windowName, geometry);
        if (geometry.visible)
            writeVisibility(document, section, windowName, geometry);
    });
}

QList<WindowGeometry> Settings::windowLayout(WindowLayout layout, const QStringList& childNames) const {
    const QString section = layoutSection(layout);
    const IniDocument document = m_file.load();
    QList<WindowGeometry> geometries;
    for (int i = 0; i < childNames.size(); ++i)
        geometries.append(readGeometry(document, section, childNames[i], i, i < layoutVisibilityCount));
    return geometries;
}

void Settings::setWindowLayout(WindowLayout layout, const QStringList& childNames,
                               const QList<WindowGeometry>& geometries) {
    Q_ASSERT(childNames.size() == geometries.size());
    const QString section = layoutSection(layout);
    const int count = static_cast<int>(std::min(childNames.size(), geometries.size()));
    m_file.update([&](IniDocument& document) {
        for (int i = count - 1; i >= 0; --i)
            writePlacement(document, section, childNames[i], geometries[i]);
        for (int i = 0; i < std::min(count, layoutVisibilityCount); ++i)
            writeVisibility(document, section, childNames[i], geometries[i]);
    });
}

} // namespace kontaro

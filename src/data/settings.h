#pragma once

#include "data/ini_file.h"

#include <QChar>
#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

namespace kontaro {

// One business of the client ([Firmenkennungen]): accounts whose group code has `code` as third
// character belong to it; `title` heads its income-expense statement.
struct BusinessCode {
    QChar code;
    QString title;

    friend bool operator==(const BusinessCode&, const BusinessCode&) = default;
};

enum class WindowLayout { First, Second };

// Position and size of one child window relative to the main window's client area, in pixels.
// `visible` is false for a minimised window; a layout keeps it for the first six children only.
struct WindowGeometry {
    int top = 0;
    int left = 0;
    int height = 0;
    int width = 0;
    std::optional<bool> visible;

    friend bool operator==(const WindowGeometry&, const WindowGeometry&) = default;
};

// The settings of one set of books, file "Kontaro.Ini" in the data directory. Every section, key,
// type, default and length limit lives here, so callers never spell them. Each getter reads the file
// and each setter writes it at the moment of the call (IniFile).
class Settings {
public:
    static QString fileName() { return QStringLiteral("Kontaro.Ini"); }
    // How many entries the VAT account list stores.
    static constexpr int maxUstKonten = 128;
    // Child windows whose visibility a window layout keeps: the first six of the child list.
    static constexpr int layoutVisibilityCount = 6;
    // Component names of the child windows, which name their layout keys.
    static QStringList windowNames();

    explicit Settings(const QString& dataDirectory);
    explicit Settings(IniFile file);

    IniFile& file() { return m_file; }
    const IniFile& file() const { return m_file; }

    // [Einstellungen]
    bool autoinsert() const;
    void setAutoinsert(bool on);
    bool monatsberechnung() const;
    void setMonatsberechnung(bool on);
    QString programmpfad() const; // at most 100 characters
    void setProgrammpfad(const QString& path);
    int igProzent() const;
    void setIgProzent(int percent);

    // [DATUM] and [Datum]
    bool strengesDatum() const;
    void setStrengesDatum(bool on);
    QDate geschuetzt() const;
    void setGeschuetzt(const QDate& date);
    QDate buchung1() const;
    void setBuchung1(const QDate& date);

    // [Mandant]
    QString mandantName() const;
    void setMandantName(const QString& name);
    // The client name heading the tax reports: "Mandant ?" when the file has none.
    QString reportMandant() const;
    // Tax office and tax number of the client (nine digits), for the VAT pre-return upload; kept as
    // typed, never cut.
    QString fastnr() const;
    void setFastnr(const QString& number);

    // [UstKonten]: the VAT accounts in file order.
    QStringList ustKonten() const;
    // Replaces the list in one write: each entry in list order, trimmed, as a key with an empty value;
    // entries equal apart from case are stored once (the first spelling wins) and blank entries are
    // skipped. Returns how many entries were dropped: those that cannot be a key (holding "=" or
    // starting with "[" or ";") and every distinct entry after the first 128.
    int setUstKonten(const QStringList& accounts);

    // [UstAbrechnungskonten], account numbers of at most 10 characters
    QString zahllast() const;
    void setZahllast(const QString& account);
    QString ueberschuss() const;
    void setUeberschuss(const QString& account);
    QString fiamVerrechnung() const;
    void setFiamVerrechnung(const QString& account);

    // [DATEN]
    QString euroKurs() const;
    void setEuroKurs(const QString& rate);
    QString belegTX() const; // at most 20 characters
    void setBelegTX(const QString& voucher);
    QString belegALT() const; // at most 20 characters
    void setBelegALT(const QString& voucher);
    int belegNR() const;
    void setBelegNR(int number);
    int anrNr() const;
    void setAnrNr(int number);
    QString textdateikennung() const; // 3 characters
    void setTextdateikennung(const QString& code);

    // [Firmenkennungen] in file order: one per entry, code = first character of its key, title = the
    // value of that one-character key ("EAR!" when there is none). Empty when the section is missing.
    QList<BusinessCode> firmenkennungen() const;

    // [Fenster] / [Fenster2]: one window's geometry. Missing keys give the cascade of a fresh start:
    // top childIndex × 40, left childIndex × 20, height 330, width 700, visible.
    WindowGeometry windowGeometry(WindowLayout layout, const QString& windowName, int childIndex) const;
    void setWindowGeometry(WindowLayout layout, const QString& windowName, const WindowGeometry& geometry);
    // A whole layout for the child list (component names in child-list order), read or written at
    // once. Visibility is read and written only for the first six children; the others have none.
    // Writing stores positions and sizes from the last child to the first, then the visibilities.
    QList<WindowGeometry> windowLayout(WindowLayout layout, const QStringList& childNames) const;
    void setWindowLayout(WindowLayout layout, const QStringList& childNames,
                         const QList<WindowGeometry>& geometries);

private:
    IniFile m_file;
};

} // namespace kontaro

#pragma once

#include <QString>
#include <QStringList>
#include <functional>

namespace kontaro::data {
class Session;
}
namespace kontaro::posting {
class T_Buchen;
}
namespace kontaro::views {
class T_Journal;
class T_Konto;
class T_Kontoplan;
} // namespace kontaro::views
namespace kontaro::years {
class T_alt;
}

namespace kontaro::forms {

class Ui;

// The values the settings window holds while the program runs; the other windows read them here
// instead of from the settings file.
class LiveSettings {
public:
    virtual ~LiveSettings() = default;
    virtual QString mandant() const = 0;
    // Tax office and tax number for the VAT pre-return upload; empty when not set.
    virtual QString fastnr() const = 0;
    virtual QStringList ustKonten() const = 0;
    // Whether the VAT account list holds the account, ignoring case.
    virtual bool isUstKonto(const QString& knr) const = 0;
    virtual bool autoinsert() const = 0;
    virtual bool strengesDatum() const = 0;
    virtual bool monatsberechnung() const = 0;
    virtual QString euroKurs() const = 0;
    virtual QString programmpfad() const = 0;
};

// How the windows reach each other, the books and the person at the screen. The application
// object implements it; a window asks for another one only when it needs it (windows created
// later than the asking one are not there during its creation).
class Windows {
public:
    virtual ~Windows() = default;
    virtual Ui& ui() const = 0;
    virtual data::Session& session() const = 0;
    // The data directory, absolute, without a trailing separator.
    virtual const QString& dataDirectory() const = 0;
    virtual LiveSettings& liveSettings() const = 0;
    virtual years::T_alt& alt() const = 0;
    virtual views::T_Journal& journal() const = 0;
    virtual views::T_Konto& konto() const = 0;
    virtual views::T_Kontoplan& kontoplan() const = 0;
    virtual posting::T_Buchen& buchen() const = 0;
    // A window by component name ("_Konto"); nullptr when there is none (yet).
    virtual class Form* form(const QString& componentName) const = 0;
    // Runs a write outside the tables (the settings file) once the running action is committed, at
    // once when no action runs; an action that is rolled back drops it, so the file keeps agreeing
    // with the tables.
    virtual void afterCommit(std::function<void()> write) = 0;
};

} // namespace kontaro::forms

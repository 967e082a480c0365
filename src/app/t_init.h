#pragma once

#include "forms/form.h"

#include <QStringList>

namespace kontaro {
class Settings;
}

namespace kontaro::app {

// The settings window ("Einstellungen"). It loads its keys from the settings file whenever it
// becomes active, saves them all whenever it is left, and in between is the live holder of the
// values the other windows ask for (client name, VAT account list, switches, rate, program path).
class T_init : public forms::Form {
public:
    T_init(const QString& dataDirectory, forms::Ui& ui);

    // Live values, read from the controls.
    QString mandant() const;
    QStringList ustKonten() const;
    bool isUstKonto(const QString& knr) const;
    bool autoinsert() const;
    bool strengesDatum() const;
    bool monatsberechnung() const;
    QString euroKurs() const;
    QString programmpfad() const { return m_programmpfad; }

protected:
    void onActivate() override;
    void onDeactivate() override;

private:
    void load(const Settings& settings);
    void save(Settings& settings);
    void lock();
    void unlock();
    void addUstKonto();
    void deleteUstKonto();

    QString m_dataDirectory;
    QString m_programmpfad;
};

} // namespace kontaro::app

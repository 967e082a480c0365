#pragma once

#include "forms/form.h"
#include "forms/windows.h"

#include <QStringList>

namespace kontaro {
class Settings;
}

namespace kontaro::app {

// The settings window ("Einstellungen"). It loads its keys from the settings file whenever it
// becomes active, saves them all whenever it is left, and in between is the live holder of the
// values the other windows ask for (client name, VAT account list, switches, rate, program path).
class T_init : public forms::Form, public forms::LiveSettings {
public:
    explicit T_init(forms::Windows& windows);

    // Live values, read from the controls.
    QString mandant() const override;
    QString fastnr() const override;
    QStringList ustKonten() const override;
    bool isUstKonto(const QString& knr) const override;
    bool autoinsert() const override;
    bool strengesDatum() const override;
    bool monatsberechnung() const override;
    QString euroKurs() const override;
    QString programmpfad() const override { return m_programmpfad; }

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

#include "app/t_info.h"

#include "app/t_kontaro.h"
#include "base/program_info.h"

namespace kontaro::app {

using forms::Control;
using forms::ControlKind;

T_Info::T_Info(T_Kontaro& app)
    : Form(QStringLiteral("_Info"), app.ui())
    , m_app(app) {
    caption = QStringLiteral("Info");
    hint = QStringLiteral("... PROGRAMMINFORMATION ...");
    helpContext = 1;

    auto openHomePage = [this] { this->ui().shellOpen(homePageAddress(), QStringLiteral("open")); };

    Control& panel = addControl(QStringLiteral("Panel1"), ControlKind::Panel);
    panel.onClick = openHomePage;
    addControl(QStringLiteral("LabelProgramm"), ControlKind::Label).caption = QStringLiteral("Programm");
    addControl(QStringLiteral("Programm"), ControlKind::Label, QStringLiteral("Panel1")).caption =
        QStringLiteral("Kontaro");
    addControl(QStringLiteral("LabelVersion"), ControlKind::Label).caption = QStringLiteral("Version");
    addControl(QStringLiteral("Version"), ControlKind::Label, QStringLiteral("Panel1")).caption =
        QStringLiteral("Siehe Kopfzeile");
    addControl(QStringLiteral("Bild"), ControlKind::Image, QStringLiteral("Panel1")).onClick = openHomePage;

    Control& mail = addControl(QStringLiteral("Mail"), ControlKind::Label, QStringLiteral("Panel1"));
    mail.caption = mailAddress();
    mail.onClick = [this] { this->ui().shellOpen(QStringLiteral("mailto:") + mailAddress(), QString()); };

    Control& home = addControl(QStringLiteral("Homepage"), ControlKind::Label, QStringLiteral("Panel1"));
    home.caption = homePageAddress();
    home.onClick = openHomePage;

    Control& ok = addControl(QStringLiteral("OK"), ControlKind::Button);
    ok.caption = QStringLiteral("OK (Fenster 1)");
    ok.onClick = [this] { okFenster1(); };
    // Escape anywhere in the window acts as this button, and so does Enter on it.
    ok.onKey = [this](const QString& keyName) {
        if (keyName == QLatin1String("Escape") || keyName == QLatin1String("Enter"))
            okFenster1();
    };

    Control& layout2 = addControl(QStringLiteral("Fenster2"), ControlKind::Button);
    layout2.caption = QStringLiteral("Fensteranordnung 2");
    layout2.onClick = [this] {
        m_app.loadLayout(2);
        okFenster1();
    };
}

// The window opens in front at start: Enter there presses "OK (Fenster 1)".
void T_Info::onActivate() {
    if (focusedControl().isEmpty())
        moveFocus(QStringLiteral("OK"));
}

void T_Info::okFenster1() {
    m_app.windowState = forms::WindowState::Maximized;
    windowState = forms::WindowState::Minimized;
    m_app.bringToFront(QStringLiteral("_Buchen"));
}

} // namespace kontaro::app

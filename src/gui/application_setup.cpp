#include "gui/application_setup.h"

#include "app/t_kontaro.h"

#include <QApplication>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace kontaro::gui {

void setUpApplication() {
    QApplication::setStyle(QStringLiteral("Fusion"));
    QApplication::setApplicationName(app::T_Kontaro::applicationTitle());
    QApplication::setDesktopFileName(QStringLiteral("kontaro"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/kontaro.svg")));
    // "Abbrechen", not "Cancel": the program speaks German whatever the system's language.
    auto* translator = new QTranslator(qApp);
    if (translator->load(QLocale(QLocale::German, QLocale::Austria), QStringLiteral("qtbase"),
                         QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(translator);
    else
        delete translator;
}

} // namespace kontaro::gui

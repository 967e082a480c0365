// kontaro-screenshots BOOKS [OUT]: starts the program offscreen on the books in BOOKS and renders
// every window into PNG files in OUT (default: BOOKS/screenshots).
#include "app/t_kontaro.h"
#include "forms/scripted_ui.h"
#include "gui/main_window.h"
#include "gui/screenshots.h"

#include <QApplication>
#include <QDir>
#include <cstdio>

namespace {

// Nobody answers offscreen: questions get No (or Cancel), inputs and file dialogs are cancelled.
class OffscreenUi : public kontaro::forms::ScriptedUi {
public:
    kontaro::forms::Answer question(const QString& text, kontaro::forms::Buttons buttons,
                                    int helpContext) override {
        answerQuestion(buttons == kontaro::forms::Buttons::YesNo ||
                               buttons == kontaro::forms::Buttons::YesNoCancel
                           ? kontaro::forms::Answer::No
                           : kontaro::forms::Answer::Cancel);
        return ScriptedUi::question(text, buttons, helpContext);
    }
    std::optional<QString> openFile(const QString& caption, const QString& directory,
                                    const QString& filter) override {
        answerFile(std::nullopt);
        return ScriptedUi::openFile(caption, directory, filter);
    }

protected:
    std::optional<QString> askInput(const QString& caption, const QString& prompt,
                                    const QString& proposal) override {
        answerInput(std::nullopt);
        return ScriptedUi::askInput(caption, prompt, proposal);
    }
};

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    QApplication::setStyle(QStringLiteral("Fusion"));
    const QStringList arguments = QApplication::arguments();
    if (arguments.size() < 2) {
        std::fputs("Aufruf: kontaro-screenshots BUCHHALTUNG [ZIELORDNER]\n", stderr);
        return 2;
    }
    const QString books = QDir(arguments[1]).absolutePath();
    const QString out =
        arguments.size() > 2 ? QDir(arguments[2]).absolutePath() : books + QStringLiteral("/screenshots");

    OffscreenUi ui;
    kontaro::app::T_Kontaro program(ui, books);
    if (!program.start()) {
        for (const auto& shown : ui.shown())
            std::fprintf(stderr, "%s\n", qPrintable(shown.text));
        return 1;
    }
    kontaro::gui::MainWindow window(program);
    for (const QString& file : kontaro::gui::renderScreenshots(window, out))
        std::printf("%s\n", qPrintable(file));
    return 0;
}

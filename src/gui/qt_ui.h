#pragma once

#include "forms/ui.h"

#include <QString>

class QMessageBox;

namespace kontaro::gui {

// Makes a message box at least as wide as its title needs: a short text alone makes the box so
// narrow that the window manager cuts the program's title.
void fitTitle(QMessageBox& box);

class MainWindow;

// The Ui of the desktop program: Qt dialogs with the application title as caption, the main
// window's status line, help browser and child-window arrangements, and real printing.
class QtUi : public forms::Ui {
public:
    explicit QtUi(QString dataDirectory);
    void setMainWindow(MainWindow* window) { m_window = window; }

    void message(const QString& text, int helpContext = 0) override;
    forms::Answer question(const QString& text, forms::Buttons buttons, int helpContext = 0) override;
    std::optional<QString> openFile(const QString& caption, const QString& directory,
                                    const QString& filter) override;
    void beep() override;
    bool shellOpen(const QString& target, const QString& verb) override;
    void status(const QString& text) override;
    void error(const QString& text) override;
    void arrange(forms::Arrangement arrangement) override;
    void print(const forms::PrintJob& job) override;
    forms::PrinterPage printerPage(forms::PrintJob::Orientation orientation) override;

protected:
    std::optional<QString> askInput(const QString& caption, const QString& prompt,
                                    const QString& proposal) override;

private:
    QString m_dataDirectory;
    MainWindow* m_window = nullptr;
};

} // namespace kontaro::gui

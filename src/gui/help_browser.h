#pragma once

#include <QDialog>

class QTextBrowser;

namespace kontaro::gui {

// The program's own help: one German page per help context number, shown in a window of its own
// beside the main window. Links between pages use "hilfe:NUMBER".
class HelpBrowser : public QDialog {
    Q_OBJECT
public:
    explicit HelpBrowser(QWidget* parent = nullptr);

    void showContext(int context);
    int currentContext() const { return m_context; }
    QTextBrowser* browser() const { return m_browser; }

private:
    QTextBrowser* m_browser;
    int m_context = -1;
};

// The page of a help context; the contents page for an unknown number.
QString helpPage(int context);

} // namespace kontaro::gui

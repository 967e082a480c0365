#include "gui/help_browser.h"

#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace kontaro::gui {

HelpBrowser::HelpBrowser(QWidget* parent)
    : QDialog(parent)
    , m_browser(new QTextBrowser) {
    setObjectName(QStringLiteral("Hilfe"));
    setWindowTitle(QStringLiteral("Kontaro – Hilfe"));
    setModal(false);
    m_browser->setObjectName(QStringLiteral("Hilfetext"));
    m_browser->setOpenLinks(false);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_browser);
    resize(560, 520);
    connect(m_browser, &QTextBrowser::anchorClicked, this, [this](const QUrl& url) {
        if (url.scheme() == QLatin1String("hilfe"))
            showContext(url.path().toInt());
    });
}

void HelpBrowser::showContext(int context) {
    m_context = context;
    m_browser->setHtml(helpPage(context));
    show();
    raise();
}

} // namespace kontaro::gui

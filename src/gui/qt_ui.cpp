#include "gui/qt_ui.h"

#include "app/t_kontaro.h"
#include "gui/main_window.h"
#include "gui/qt_printer.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QGridLayout>
#include <QInputDialog>
#include <QMessageBox>
#include <QStatusBar>
#include <QUrl>

namespace kontaro::gui {

using forms::Answer;
using forms::Buttons;

void fitTitle(QMessageBox& box) {
    // Title bars mostly set their text in bold; besides it they hold the window icon and three
    // buttons, and keep some room at both ends.
    QFont titleFont = QApplication::font();
    titleFont.setBold(true);
    const QFontMetrics metrics(titleFont);
    const int width = metrics.horizontalAdvance(box.windowTitle()) + 8 * metrics.height();
    if (auto* grid = qobject_cast<QGridLayout*>(box.layout()))
        grid->addItem(new QSpacerItem(width, 0, QSizePolicy::Minimum, QSizePolicy::Fixed), grid->rowCount(),
                      0, 1, grid->columnCount());
}

namespace {

// "Bilder|*.jpg;*.png|Alle|*.*" as the file dialog wants it: "Bilder (*.jpg *.png);;Alle (*.*)".
QString qtFilter(const QString& filter) {
    if (!filter.contains(QLatin1Char('|')))
        return filter;
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList result;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts[i + 1];
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        result << QStringLiteral("%1 (%2)").arg(parts[i], patterns);
    }
    return result.join(QStringLiteral(";;"));
}

void showMessage(QMessageBox::Icon icon, QWidget* parent, const QString& text) {
    QMessageBox box(icon, app::T_Kontaro::applicationTitle(), text, QMessageBox::Ok, parent);
    fitTitle(box);
    box.exec();
}

} // namespace

QtUi::QtUi(QString dataDirectory)
    : m_dataDirectory(std::move(dataDirectory)) {}

void QtUi::message(const QString& text, int) {
    showMessage(QMessageBox::Information, m_window, text);
}

Answer QtUi::question(const QString& text, Buttons buttons, int) {
    QMessageBox::StandardButtons shown;
    switch (buttons) {
    case Buttons::Ok:
        shown = QMessageBox::Ok;
        break;
    case Buttons::YesNo:
        shown = QMessageBox::Yes | QMessageBox::No;
        break;
    case Buttons::OkCancel:
        shown = QMessageBox::Ok | QMessageBox::Cancel;
        break;
    case Buttons::YesCancel:
        shown = QMessageBox::Yes | QMessageBox::Cancel;
        break;
    case Buttons::YesNoCancel:
        shown = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
        break;
    }
    QMessageBox box(QMessageBox::Question, app::T_Kontaro::applicationTitle(), text, shown, m_window);
    fitTitle(box);
    const std::pair<QMessageBox::StandardButton, QString> german[] = {
        {QMessageBox::Yes, QStringLiteral("&Ja")},
        {QMessageBox::No, QStringLiteral("&Nein")},
        {QMessageBox::Cancel, QStringLiteral("Abbrechen")},
    };
    for (const auto& [button, caption] : german)
        if (QAbstractButton* shownButton = box.button(button))
            shownButton->setText(caption);
    switch (box.exec()) {
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    case QMessageBox::Ok:
        return Answer::Ok;
    default:
        return Answer::Cancel;
    }
}

std::optional<QString> QtUi::askInput(const QString& caption, const QString& prompt,
                                      const QString& proposal) {
    bool ok = false;
    const QString text = QInputDialog::getText(m_window, caption, prompt, QLineEdit::Normal, proposal, &ok);
    if (!ok)
        return std::nullopt;
    return text;
}

std::optional<QString> QtUi::openFile(const QString& caption, const QString& directory,
                                      const QString& filter) {
    const QString file = QFileDialog::getOpenFileName(m_window, caption, directory, qtFilter(filter));
    if (file.isEmpty())
        return std::nullopt;
    return QDir::toNativeSeparators(file);
}

void QtUi::beep() {
    QApplication::beep();
}

bool QtUi::shellOpen(const QString& target, const QString&) {
    // The help is the program's own.
    if (target.startsWith(QLatin1String("help:"))) {
        if (m_window)
            m_window->showHelp(target.mid(5).toInt());
        return m_window != nullptr;
    }
    const bool address = target.contains(QLatin1String("://")) || target.startsWith(QLatin1String("mailto:"));
    if (!address && !QFileInfo::exists(target))
        return false;
    return QDesktopServices::openUrl(address ? QUrl(target) : QUrl::fromLocalFile(target));
}

void QtUi::status(const QString& text) {
    if (m_window)
        m_window->statusBar()->showMessage(text);
}

void QtUi::error(const QString& text) {
    showMessage(QMessageBox::Critical, m_window, text);
}

void QtUi::arrange(forms::Arrangement arrangement) {
    if (m_window)
        m_window->arrange(arrangement);
}

void QtUi::print(const forms::PrintJob& job) {
    const QString pdf = QtPrinter(m_dataDirectory).print(job);
    if (!pdf.isEmpty())
        status(QStringLiteral("Kein Drucker vorhanden: \"%1\" wurde als %2 gespeichert.")
                   .arg(job.title, QDir::toNativeSeparators(pdf)));
}

forms::PrinterPage QtUi::printerPage(forms::PrintJob::Orientation orientation) {
    return QtPrinter(m_dataDirectory).page(orientation);
}

} // namespace kontaro::gui

#include "gui_fixture.h"

#include <QAbstractScrollArea>
#include <QComboBox>
#include <QDir>
#include <QLayout>
#include <QMdiArea>
#include <QTemporaryDir>

namespace kontaro::test {

namespace {

// The widgets a window's layout places: everything in its content except the inner parts of
// composite widgets (a grid's cells, a drop-down's field).
QList<QWidget*> placedWidgets(QWidget* content) {
    QList<QWidget*> placed;
    for (QWidget* w : content->findChildren<QWidget*>()) {
        bool inner = false;
        for (QWidget* p = w->parentWidget(); p && p != content; p = p->parentWidget())
            inner = inner || qobject_cast<QAbstractScrollArea*>(p) || qobject_cast<QComboBox*>(p);
        if (!inner && w->isVisibleTo(content))
            placed << w;
    }
    return placed;
}

} // namespace

// Every window as it opens: its content whole, no control cut or squeezed below its natural size.
class ScreenshotTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void everyWindowOpensWithItsContentWhole() {
        GuiProgram program;
        QTemporaryDir shots;
        for (gui::FormView* view : program.window().views()) {
            forms::Form& form = view->form();
            form.windowState = forms::WindowState::Normal;
            program.window().refreshAll();
            program.window().mdiArea()->setActiveSubWindow(view);
            for (int pass = 0; pass < 3; ++pass) // polish, then the layout requests it causes
                QApplication::processEvents();
            const QString name = form.componentName();
            QVERIFY2(view->grab().save(shots.filePath(name + QStringLiteral(".png"))), qPrintable(name));

            QWidget* content = view->QMdiSubWindow::widget();
            QVERIFY(content->width() >= content->minimumSizeHint().width());
            QVERIFY(content->height() >= content->minimumSizeHint().height());
            for (QWidget* w : placedWidgets(content)) {
                const QString where = name + QLatin1Char('.') + w->objectName() + QLatin1Char(' ') +
                                      QString::fromLatin1(w->metaObject()->className());
                const QRect inContent(w->mapTo(content, QPoint(0, 0)), w->size());
                QVERIFY2(content->rect().contains(inContent),
                         qPrintable(where + QStringLiteral(" lies outside")));
                const QSize least = w->minimumSizeHint();
                if (least.isValid())
                    QVERIFY2(w->width() >= least.width() && w->height() >= least.height(),
                             qPrintable(QStringLiteral("%1 is %2x%3, needs %4x%5")
                                            .arg(where)
                                            .arg(w->width())
                                            .arg(w->height())
                                            .arg(least.width())
                                            .arg(least.height())));
            }
        }
    }
};

const bool registered = registerGuiTestClass<ScreenshotTest>();

} // namespace kontaro::test

#include "screenshot_test.moc"

#include "app/t_kontaro.h"
#include "forms/scripted_ui.h"
#include "gui/qt_printer.h"
#include "gui_fixture.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

namespace kontaro::test {

namespace {

// The scripted answers of the tests, with the page figures of the real printer (a PDF here).
class PdfPageUi : public forms::ScriptedUi {
public:
    explicit PdfPageUi(const QString& directory)
        : m_printer(directory) {
        m_printer.forcePdf = true;
    }
    forms::PrinterPage printerPage(forms::PrintJob::Orientation orientation) override {
        return m_printer.page(orientation);
    }

private:
    gui::QtPrinter m_printer;
};

bool copyBooks(const QString& from, const QString& to) {
    QDir().mkpath(to);
    const QDir source(from);
    for (const QString& name : source.entryList(QDir::Files))
        if (!QFile::copy(source.filePath(name), to + QLatin1Char('/') + name))
            return false;
    return true;
}

// The pages of a PDF as `pdftotext -layout` reads them.
QStringList pdfPages(const QString& pdf) {
    QProcess tool;
    tool.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    if (!tool.waitForFinished(60000) || tool.exitCode() != 0)
        return {};
    QStringList pages = QString::fromUtf8(tool.readAllStandardOutput()).split(QLatin1Char('\f'));
    while (!pages.isEmpty() && pages.back().trimmed().isEmpty())
        pages.removeLast();
    return pages;
}

} // namespace

// Printouts keep every column on every page and fit the page the printer really has.
class PrintoutTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void theAllAccountsPrintoutKeepsItsBalanceColumnOnEveryPage() {
        const QString demo = qEnvironmentVariable("KONTARO_DEMO_BOOKS");
        if (demo.isEmpty())
            QSKIP("KONTARO_DEMO_BOOKS names no demo books (ctest sets it)");
        QTemporaryDir root;
        const QString books = root.filePath(QStringLiteral("KT2026"));
        QVERIFY(copyBooks(demo, books));
        PdfPageUi ui(books);
        {
            app::T_Kontaro program(ui, books);
            QVERIFY(program.start());
            program.command(app::Command::DruckAlleKonten);
        }
        QCOMPARE(ui.printed().size(), std::size_t(1));
        const forms::PrintJob& job = ui.printed().front();
        // The page set-up read the PDF printer's figures: A4 landscape at 600 dpi.
        QCOMPARE(job.left, 300);
        QCOMPARE(job.right, gui::QtPrinter(books).page(job.orientation).width - 100);

        gui::QtPrinter printer(books);
        printer.forcePdf = true;
        const QStringList pages = pdfPages(printer.print(job));
        QVERIFY2(pages.size() >= 2, "the demo ledger fills more than one page");
        // A ledger line: its number, the date, ... and the running balance at its end.
        const QRegularExpression ledgerLine(QStringLiteral("^\\s*\\d+\\s+\\d\\d\\.\\d\\d\\.\\d{4}\\s"));
        const QRegularExpression balanceAtEnd(QStringLiteral("-?[\\d.]+,\\d\\d\\s*$"));
        for (int p = 0; p < pages.size(); ++p) {
            int ledgerLines = 0;
            for (const QString& line : pages[p].split(QLatin1Char('\n'))) {
                if (!ledgerLine.match(line).hasMatch())
                    continue;
                ++ledgerLines;
                QVERIFY2(balanceAtEnd.match(line).hasMatch(),
                         qPrintable(QStringLiteral("page %1: %2").arg(p + 1).arg(line)));
            }
            QVERIFY2(ledgerLines > 0 || p == pages.size() - 1,
                     qPrintable(QStringLiteral("page %1").arg(p + 1)));
            QVERIFY2(pages[p].contains(QStringLiteral("Seite %1 von %2").arg(p + 1).arg(pages.size())),
                     qPrintable(QStringLiteral("page %1 has no page number").arg(p + 1)));
        }
    }

    void aOnePageJobHasNoPageNumber() {
        QTemporaryDir directory;
        gui::QtPrinter printer(directory.path());
        printer.forcePdf = true;
        forms::PrintJob job;
        job.title = QStringLiteral("Kurz");
        job.lines.push_back({QStringLiteral("Eine Zeile"), 0, false, forms::Color::Default, {}});
        const QStringList pages = pdfPages(printer.print(job));
        QCOMPARE(pages.size(), 1);
        QVERIFY(pages.front().contains(QStringLiteral("Eine Zeile")));
        QVERIFY(!pages.front().contains(QStringLiteral("Seite")));
    }
};

const bool registered = registerGuiTestClass<PrintoutTest>();

} // namespace kontaro::test

#include "printout_test.moc"

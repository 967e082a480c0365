#pragma once

#include "forms/print_job.h"

#include <QString>
#include <optional>

namespace kontaro::forms {

enum class Buttons { Ok, YesNo, OkCancel, YesCancel, YesNoCancel };
enum class Answer { Ok, Yes, No, Cancel };
// Window arrangements that only the desktop frame can carry out.
enum class Arrangement { Cascade, Tile, ArrangeIcons };

// Everything the program's logic asks of a person or of the desktop. The desktop program answers
// with dialogs; tests and scenarios answer from a script and keep a record of what was shown.
class Ui {
public:
    virtual ~Ui() = default;

    // A message box with one OK button; its caption is the application title.
    virtual void message(const QString& text, int helpContext = 0) = 0;
    virtual Answer question(const QString& text, Buttons buttons, int helpContext = 0) = 0;
    // An input question; nullopt when cancelled. Control characters (a tab, an escape, a line break)
    // are removed from the answer, so none reaches a table, a file or a report.
    std::optional<QString> input(const QString& caption, const QString& prompt, const QString& proposal);
    // A file-open dialog; nullopt when cancelled.
    virtual std::optional<QString> openFile(const QString& caption, const QString& directory,
                                            const QString& filter) = 0;
    virtual void beep() = 0;
    // Opens a document or address with its associated program; false when that failed.
    virtual bool shellOpen(const QString& target, const QString& verb) = 0;
    virtual void status(const QString& text) = 0;
    // The standard error box for errors of the files, the tables or the printer.
    virtual void error(const QString& text) = 0;
    virtual void arrange(Arrangement arrangement) = 0;
    // Prints on the default printer without a dialog; a printer error throws kontaro::UserError.
    virtual void print(const PrintJob& job) = 0;
    // The default printer's resolution and printable page for an orientation.
    virtual PrinterPage printerPage(PrintJob::Orientation orientation) { return a4At600Dpi(orientation); }

protected:
    // The input question as the person answered it.
    virtual std::optional<QString> askInput(const QString& caption, const QString& prompt,
                                            const QString& proposal) = 0;
};

} // namespace kontaro::forms

#pragma once

#include "forms/ui.h"

#include <QString>
#include <QStringList>
#include <deque>
#include <optional>
#include <stdexcept>
#include <vector>

namespace kontaro::forms {

// Thrown when the program asks something that the script did not answer in advance.
class UnansweredQuestion : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The Ui of tests and scenarios: answers come from a queue filled in advance, and everything the
// program shows is recorded in order.
class ScriptedUi : public Ui {
public:
    struct Shown {
        QString kind; // "message", "question", "input", "filedialog", "error", "beep", "open", "status",
                      // "arrange", "print"
        QString text;
    };

    void answerQuestion(Answer answer) { m_answers.push_back(answer); }
    // nullopt answers an input question or a file dialog with Cancel.
    void answerInput(std::optional<QString> text) { m_inputs.push_back(std::move(text)); }
    void answerFile(std::optional<QString> path) { m_files.push_back(std::move(path)); }
    // Unanswered questions, inputs and file dialogs are cancelled instead of failing the test.
    void setCancelUnanswered(bool cancel) { m_cancelUnanswered = cancel; }
    // Whether the next shell-open succeeds (default: it does).
    void setShellOpenResult(bool ok) { m_shellOpenResult = ok; }
    // Whether printing fails as a printer that is not ready does (default: it prints).
    void setPrinterFails(bool fails) { m_printerFails = fails; }

    const std::deque<Shown>& shown() const { return m_shown; }
    // Texts shown of one kind, in order.
    QStringList shownTexts(const QString& kind) const;
    void clearShown() { m_shown.clear(); }
    QString statusText() const { return m_status; }
    bool hasPendingAnswers() const { return !m_answers.empty() || !m_inputs.empty() || !m_files.empty(); }

    void message(const QString& text, int helpContext = 0) override;
    Answer question(const QString& text, Buttons buttons, int helpContext = 0) override;
    std::optional<QString> openFile(const QString& caption, const QString& directory,
                                    const QString& filter) override;
    void beep() override;
    bool shellOpen(const QString& target, const QString& verb) override;
    void status(const QString& text) override;
    void error(const QString& text) override;
    void arrange(Arrangement arrangement) override;
    void print(const PrintJob& job) override;

    // Every job printed so far, in order.
    const std::vector<PrintJob>& printed() const { return m_printed; }

protected:
    std::optional<QString> askInput(const QString& caption, const QString& prompt,
                                    const QString& proposal) override;

private:
    void record(const QString& kind, const QString& text) { m_shown.push_back({kind, text}); }

    std::deque<Answer> m_answers;
    std::deque<std::optional<QString>> m_inputs;
    std::deque<std::optional<QString>> m_files;
    std::deque<Shown> m_shown;
    std::vector<PrintJob> m_printed;
    QString m_status;
    bool m_shellOpenResult = true;
    bool m_printerFails = false;
    bool m_cancelUnanswered = false;
};

} // namespace kontaro::forms

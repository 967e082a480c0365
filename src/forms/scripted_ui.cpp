#include "forms/scripted_ui.h"

#include "base/errors.h"

namespace kontaro::forms {

QStringList ScriptedUi::shownTexts(const QString& kind) const {
    QStringList texts;
    for (const Shown& s : m_shown)
        if (s.kind == kind)
            texts << s.text;
    return texts;
}

void ScriptedUi::message(const QString& text, int) {
    record(QStringLiteral("message"), text);
}

Answer ScriptedUi::question(const QString& text, Buttons buttons, int) {
    record(QStringLiteral("question"), text);
    if (m_answers.empty() && m_cancelUnanswered)
        return buttons == Buttons::YesNo ? Answer::No : Answer::Cancel;
    if (m_answers.empty())
        throw UnansweredQuestion("unanswered question: " + text.toStdString());
    const Answer answer = m_answers.front();
    m_answers.pop_front();
    return answer;
}

std::optional<QString> ScriptedUi::askInput(const QString& caption, const QString& prompt, const QString&) {
    record(QStringLiteral("input"), caption + QLatin1Char('|') + prompt);
    if (m_inputs.empty() && m_cancelUnanswered)
        return std::nullopt;
    if (m_inputs.empty())
        throw UnansweredQuestion("unanswered input: " + prompt.toStdString());
    auto answer = m_inputs.front();
    m_inputs.pop_front();
    return answer;
}

std::optional<QString> ScriptedUi::openFile(const QString& caption, const QString&, const QString&) {
    record(QStringLiteral("filedialog"), caption);
    if (m_files.empty() && m_cancelUnanswered)
        return std::nullopt;
    if (m_files.empty())
        throw UnansweredQuestion("unanswered file dialog: " + caption.toStdString());
    auto answer = m_files.front();
    m_files.pop_front();
    return answer;
}

void ScriptedUi::beep() {
    record(QStringLiteral("beep"), {});
}

bool ScriptedUi::shellOpen(const QString& target, const QString& verb) {
    record(QStringLiteral("open"), verb.isEmpty() ? target : verb + QLatin1Char(' ') + target);
    return m_shellOpenResult;
}

void ScriptedUi::status(const QString& text) {
    m_status = text;
    record(QStringLiteral("status"), text);
}

void ScriptedUi::error(const QString& text) {
    record(QStringLiteral("error"), text);
}

void ScriptedUi::arrange(Arrangement arrangement) {
    static const char* const names[] = {"cascade", "tile", "icons"};
    record(QStringLiteral("arrange"), QLatin1String(names[static_cast<int>(arrangement)]));
}

void ScriptedUi::print(const PrintJob& job) {
    if (m_printerFails)
        throw UserError(QStringLiteral("Der Drucker ist nicht bereit."));
    record(QStringLiteral("print"), job.title);
    m_printed.push_back(job);
}

} // namespace kontaro::forms

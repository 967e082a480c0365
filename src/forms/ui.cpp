#include "forms/ui.h"

#include "base/field_text.h"

namespace kontaro::forms {

std::optional<QString> Ui::input(const QString& caption, const QString& prompt, const QString& proposal) {
    std::optional<QString> answer = askInput(caption, prompt, proposal);
    if (answer)
        *answer = withoutControlCharacters(*answer);
    return answer;
}

} // namespace kontaro::forms

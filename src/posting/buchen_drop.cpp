// Dropping an amount onto the posting window's amount fields.
#include "base/format.h"
#include "base/format_settings.h"
#include "posting/t_buchen.h"

#include <cmath>

namespace kontaro::posting {

namespace {

// The text a drag source offers: a field's text, or from the ledger grid the debit amount of the
// dragged row when it has one, else its credit amount. Empty when the source is neither.
std::optional<QString> sourceText(const forms::Windows& windows, const QString& source) {
    const qsizetype dot = source.indexOf(QLatin1Char('.'));
    if (dot <= 0)
        return std::nullopt;
    const forms::Form* form = windows.form(source.left(dot));
    const QString name = source.mid(dot + 1);
    if (!form || !form->hasControl(name))
        return std::nullopt;
    const forms::Control& control = form->control(name);
    if (control.kind() == forms::ControlKind::Grid && control.grid) {
        const int row = control.grid->currentRow();
        if (row < 0)
            return std::nullopt;
        const QString debit = control.grid->cell(row, 0);
        return debit.isEmpty() ? control.grid->cell(row, 1) : debit;
    }
    if (control.kind() == forms::ControlKind::Edit)
        return control.text();
    return std::nullopt;
}

} // namespace

void T_Buchen::dropAmount(const QString& target, const QString& source) {
    moveFocus(target);
    QString text =
        sourceText(m_windows, source).value_or(control(QStringLiteral("SollBetrag")).text()).left(60);
    text.remove(FormatSettings::current().thousandSeparator);
    // A number becomes its absolute value; any other text is taken as it is.
    if (const std::optional<long double> number = parseNumber(text))
        text = generalNumber(std::fabs(*number));
    control(target).setText(text);
}

} // namespace kontaro::posting

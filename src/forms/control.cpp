#include "forms/control.h"

#include "base/field_text.h"

namespace kontaro::forms {

Control::Control(QString name, ControlKind kind)
    : m_name(std::move(name))
    , m_kind(kind) {
    takesFocus = kind != ControlKind::Label && kind != ControlKind::Panel && kind != ControlKind::Image &&
                 kind != ControlKind::Chart && kind != ControlKind::MenuItem;
}

QString Control::text() const {
    if (m_refusedText)
        return *m_refusedText;
    return m_binding ? m_binding->text() : m_text;
}

void Control::setText(const QString& text) {
    QString value = upperCase ? text.toUpper() : text;
    if (maxLength > 0 && !(m_binding && m_binding->checksLength()))
        value = cutText(value, maxLength);
    if (m_binding)
        m_binding->setText(value);
    else
        m_text = value;
    m_refusedText.reset();
}

} // namespace kontaro::forms

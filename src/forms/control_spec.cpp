#include "forms/control_spec.h"

namespace kontaro::forms {

void applySpec(Control& control, const ControlSpec& spec) {
    control.caption = spec.caption.toString();
    control.hint = spec.hint.toString();
    control.helpContext = spec.helpContext;
    control.color = spec.color;
    control.fontColor = spec.fontColor;
    control.readOnly = spec.readOnly;
    control.enabled = spec.enabled;
    control.visible = spec.visible;
    control.checked = spec.checked;
    control.upperCase = spec.upperCase;
    control.maxLength = spec.maxLength;
    if (spec.takesFocus)
        control.takesFocus = *spec.takesFocus;
    if (!spec.items.isEmpty()) {
        control.items.clear();
        for (QStringView item : spec.items.split(u';'))
            control.items << item.toString();
    }
    if (!spec.text.isEmpty())
        control.setText(spec.text.toString());
}

} // namespace kontaro::forms

#include "forms/control_def.h"

namespace kontaro::forms {

void applyDef(Control& control, const ControlDef& def) {
    control.caption = def.caption.toString();
    control.hint = def.hint.toString();
    control.helpContext = def.helpContext;
    control.color = def.color;
    control.fontColor = def.fontColor;
    control.readOnly = def.readOnly;
    control.enabled = def.enabled;
    control.visible = def.visible;
    control.checked = def.checked;
    control.upperCase = def.upperCase;
    control.maxLength = def.maxLength;
    control.listRows = def.listRows;
    control.listWidth = def.listWidth;
    control.followsTyping = def.followsTyping;
    if (def.takesFocus)
        control.takesFocus = *def.takesFocus;
    if (!def.items.isEmpty()) {
        control.items.clear();
        for (QStringView item : def.items.split(u';'))
            control.items << item.toString();
    }
    if (!def.text.isEmpty())
        control.setText(def.text.toString());
}

} // namespace kontaro::forms

#pragma once

#include <QString>

namespace kontaro::forms {

// Connects a control to one field of a table row. The control's text is the field's text; typing
// into the control writes the field. setText throws kontaro::UserError when the text cannot be
// taken (an amount or a date that does not read); the field then keeps its old value.
class FieldBinding {
public:
    virtual ~FieldBinding() = default;
    virtual QString text() const = 0;
    virtual void setText(const QString& text) = 0;
    virtual bool isReadOnly() const { return false; }
    // True when setText refuses a text that is too long instead of having it cut.
    virtual bool checksLength() const { return false; }
};

} // namespace kontaro::forms

#include "forms/form.h"

#include "base/errors.h"
#include "base/field_text.h"

namespace kontaro::forms {

Form::Form(QString componentName, Ui& ui)
    : m_componentName(std::move(componentName))
    , m_ui(ui) {}

Form::~Form() = default;

Control& Form::addControl(const QString& name, ControlKind kind, const QString& parent) {
    if (m_byName.count(name))
        throw FormError("duplicate control " + name.toStdString());
    auto control = std::make_unique<Control>(name, kind);
    control->parent = parent;
    Control* raw = control.get();
    m_controls.push_back(std::move(control));
    m_byName[name] = raw;
    return *raw;
}

Control& Form::control(const QString& name) {
    auto it = m_byName.find(name);
    if (it == m_byName.end())
        throw FormError("no control " + m_componentName.toStdString() + "." + name.toStdString());
    return *it->second;
}

const Control& Form::control(const QString& name) const {
    return const_cast<Form*>(this)->control(name);
}

bool Form::hasControl(const QString& name) const {
    return m_byName.count(name) != 0;
}

std::vector<const Control*> Form::controls() const {
    std::vector<const Control*> result;
    result.reserve(m_controls.size());
    for (const auto& c : m_controls)
        result.push_back(c.get());
    return result;
}

bool Form::isUsable(const QString& name) const {
    const Control* c = &control(name);
    for (int depth = 0; c && depth < 16; ++depth) {
        if (!c->enabled || !c->visible)
            return false;
        c = c->parent.isEmpty() ? nullptr : &control(c->parent);
    }
    return true;
}

Control& Form::usableControl(const QString& name) {
    Control& c = control(name);
    if (!isUsable(name))
        throw FormError("control " + m_componentName.toStdString() + "." + name.toStdString() +
                        " is disabled or hidden");
    return c;
}

void Form::runAction(const std::function<void()>& action) {
    if (m_runner) {
        m_runner->run(action);
        return;
    }
    try {
        action();
    } catch (const Abort&) {
    } catch (const UserError& e) {
        m_ui.error(e.message());
    }
}

void Form::moveFocus(const QString& name) {
    if (name == m_focused)
        return;
    control(name); // fail before any handler runs
    if (!m_focused.isEmpty()) {
        Control& old = control(m_focused);
        old.clearRefusedText();
        if (old.onExit)
            old.onExit(); // an Abort here keeps the focus where it was
    }
    m_focused = name;
    Control& now = control(name);
    if (now.onEnter)
        now.onEnter();
}

void Form::focus(const QString& name) {
    usableControl(name);
    runAction([&] { moveFocus(name); });
}

void Form::type(const QString& name, const QString& text) {
    Control& c = usableControl(name);
    if (c.readOnly)
        throw FormError("control " + name.toStdString() + " is read-only");
    // Control characters (a tab, an escape) are not text; a memo keeps its line breaks.
    const QString typed = withoutControlCharacters(text, c.kind() == ControlKind::Memo);
    runAction([&] {
        moveFocus(name);
        try {
            c.setText(typed);
        } catch (const UserError& e) {
            // The field keeps its old value; nothing is written. The typed text stays in the
            // control, so that the user can correct it.
            c.keepRefusedText(typed);
            m_ui.message(e.message());
            return;
        }
        if (c.onChange)
            c.onChange();
    });
}

void Form::key(const QString& name, const QString& keyName) {
    Control& c = usableControl(name);
    runAction([&] {
        moveFocus(name);
        if (c.onKey)
            c.onKey(keyName);
    });
}

void Form::click(const QString& name) {
    Control& c = usableControl(name);
    runAction([&] {
        if (c.takesFocus)
            moveFocus(name);
        if (c.kind() == ControlKind::CheckBox)
            c.checked = !c.checked;
        if (c.onClick)
            c.onClick();
    });
}

void Form::doubleClick(const QString& name) {
    Control& c = usableControl(name);
    runAction([&] {
        if (c.takesFocus)
            moveFocus(name);
        if (c.onDoubleClick)
            c.onDoubleClick();
    });
}

void Form::drop(const QString& name, const QString& source) {
    Control& c = usableControl(name);
    runAction([&] {
        if (c.onDrop)
            c.onDrop(source);
    });
}

void Form::activate() {
    runAction([&] { onActivate(); });
}

void Form::deactivate() {
    runAction([&] { onDeactivate(); });
}

} // namespace kontaro::forms

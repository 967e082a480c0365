#pragma once

#include "forms/color.h"
#include "forms/field_binding.h"
#include "forms/grid_source.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>

namespace kontaro::forms {

// A Chart holds its value series as List children; a MenuItem is an entry of the context menu of its
// parent control.
enum class ControlKind {
    Edit,
    Label,
    Button,
    CheckBox,
    DropDown,
    List,
    Grid,
    Panel,
    Memo,
    Image,
    Chart,
    MenuItem
};

// One named control of a form: the state a view shows and the handlers the form runs for it.
// It has no pixels; the view of a form reads this state after every event.
class Control {
public:
    Control(QString name, ControlKind kind);

    const QString& name() const { return m_name; }
    ControlKind kind() const { return m_kind; }

    // The edit text; for a bound control the bound field's text.
    QString text() const;
    // Sets the text without running any handler. A bound control writes its field (which may
    // throw kontaro::UserError when the text does not read). Upper-case controls upper-case it,
    // a maximum length cuts it (unless the binding checks the length itself).
    void setText(const QString& text);

    // A text the user typed that the bound field refused: the control shows it (selected, so that
    // the next keystroke replaces it) while its field keeps the old value, until the text is set
    // again or the focus leaves the control.
    void keepRefusedText(const QString& text) { m_refusedText = text; }
    bool hasRefusedText() const { return m_refusedText.has_value(); }
    void clearRefusedText() { m_refusedText.reset(); }

    QString caption;
    QString hint;
    int helpContext = 0;
    Color color = Color::Default;
    Color fontColor = Color::Default;
    bool enabled = true;
    bool readOnly = false;
    bool visible = true;
    bool checked = false;
    int tag = 0;
    QStringList items;
    int selected = -1;
    int maxLength = 0; // 0: no limit
    // Each change of the text is an event of its own (a search as you type), not only leaving.
    bool followsTyping = false;
    // A drop-down's open list: the rows it shows and its least width in pixels (0: the default).
    int listRows = 0;
    int listWidth = 0;
    bool upperCase = false; // entry is turned into capitals
    QString parent;         // the panel that holds this control, if any
    bool takesFocus = true; // a click moves the focus here (labels, panels and speed buttons do not)
    // How much of the text entering the field selects, from its start; -1: all of it, so that typing
    // replaces it.
    std::function<int(const QString& text)> selectionOnEnter;

    void bind(std::shared_ptr<FieldBinding> binding) { m_binding = std::move(binding); }
    bool isBound() const { return m_binding != nullptr; }

    // The rows of a grid or list over a table; `items` then name its columns.
    std::shared_ptr<GridSource> grid;

    // Handlers; empty ones do nothing. The key handler gets the key's name ("Enter", "+", "F1", ...).
    std::function<void()> onEnter;
    std::function<void()> onExit;
    std::function<void()> onChange;
    std::function<void()> onClick;
    std::function<void()> onDoubleClick;
    std::function<void(const QString& key)> onKey;
    // Character keys ("+", "-", "#", "Space") that onKey takes for itself instead of the text: a
    // view passes these to the form and types every other character. Enter and Escape always
    // reach onKey.
    QStringList keys;
    std::function<void(const QString& source)> onDrop;

private:
    QString m_name;
    ControlKind m_kind;
    QString m_text;
    std::optional<QString> m_refusedText;
    std::shared_ptr<FieldBinding> m_binding;
};

} // namespace kontaro::forms

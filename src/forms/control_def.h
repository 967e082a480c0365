#pragma once

#include "forms/color.h"
#include "forms/control.h"

#include <QStringView>
#include <optional>

namespace kontaro::forms {

// The start state of one control, written as a row of a static table so that a form with many
// controls reads as a list instead of a block of assignments per control:
//
//     static constexpr ControlDef Controls[] = {
//         {.name = u"Datum", .hint = u"Buchungsdatum", .helpContext = 710, .color = Color::Cyan},
//     };
//
// Every member has a default, so a row names only what differs from a plain enabled edit.
struct ControlDef {
    QStringView name{};
    ControlKind kind = ControlKind::Edit;
    QStringView caption{};
    QStringView hint{};
    QStringView parent{}; // handed to addControl, which records it
    int helpContext = 0;
    Color color = Color::Default;
    Color fontColor = Color::Default;
    bool readOnly = false;
    bool enabled = true;
    bool visible = true;
    bool checked = false;
    bool upperCase = false;
    int maxLength = 0;
    int listRows = 0;
    int listWidth = 0;
    bool followsTyping = false;
    // Unset: the kind decides (labels, panels and the like do not take the focus).
    std::optional<bool> takesFocus{};
    // Items separated by ';' (an item cannot contain one). For a grid: its columns, left to right.
    QStringView items{};
    QStringView text{};
};

// Copies the start state of def onto a control that was just added under def.name and def.parent.
void applyDef(Control& control, const ControlDef& def);

} // namespace kontaro::forms

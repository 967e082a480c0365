#pragma once

#include <QString>

namespace kontaro::forms {

// The few colours the windows use to tell the user something. Views map them to real colours.
enum class Color {
    Default, // the platform's window or text colour
    Cyan,
    Lime,
    Yellow,
    Green,
    Red,
    Blue,
    Black,
    White,
    Gray,
    Silver, // light grey (192,192,192), the neutral background of a message line
};

// Lower-case English name ("cyan", "lime", ...) as used by scenarios; "default" for Default.
QString colorName(Color color);
// Inverse of colorName; false when the name is unknown.
bool colorFromName(const QString& name, Color* color);

} // namespace kontaro::forms

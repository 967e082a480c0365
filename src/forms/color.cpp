#include "forms/color.h"

#include <array>
#include <utility>

namespace kontaro::forms {

namespace {

constexpr std::array<std::pair<Color, const char*>, 11> Names = {{
    {Color::Default, "default"},
    {Color::Cyan, "cyan"},
    {Color::Lime, "lime"},
    {Color::Yellow, "yellow"},
    {Color::Green, "green"},
    {Color::Red, "red"},
    {Color::Blue, "blue"},
    {Color::Black, "black"},
    {Color::White, "white"},
    {Color::Gray, "gray"},
    {Color::Silver, "silver"},
}};

} // namespace

QString colorName(Color color) {
    for (const auto& [value, name] : Names)
        if (value == color)
            return QLatin1String(name);
    return QStringLiteral("default");
}

bool colorFromName(const QString& name, Color* color) {
    for (const auto& [value, text] : Names)
        if (name.compare(QLatin1String(text), Qt::CaseInsensitive) == 0) {
            *color = value;
            return true;
        }
    return false;
}

} // namespace kontaro::forms

#pragma once

#include <QString>

namespace kontaro::app {

// The publisher's addresses shown in the about window and opened from the help menu.
inline QString homePageAddress() {
    return QStringLiteral("https://kontaro.example.org/");
}
inline QString questionsPageAddress() {
    return QStringLiteral("https://kontaro.example.org/fragen-und-antworten.html");
}
inline QString mailAddress() {
    return QStringLiteral("info@kontaro.example.org");
}

} // namespace kontaro::app

#pragma once

#include <QString>

namespace kontaro {

// The program name and version as the main window's caption and the printouts show them.
inline QString programVersion() {
    return QStringLiteral("Kontaro v103");
}

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

} // namespace kontaro

#include "gui/look.h"

namespace kontaro::gui {

QColor qColor(forms::Color color) {
    using forms::Color;
    switch (color) {
    case Color::Cyan:
        return {0, 255, 255};
    case Color::Lime:
        return {0, 255, 0};
    case Color::Yellow:
        return {255, 255, 0};
    case Color::Green:
        return {0, 128, 0};
    case Color::Red:
        return {255, 0, 0};
    case Color::Blue:
        return {0, 0, 255};
    case Color::Black:
        return {0, 0, 0};
    case Color::White:
        return {255, 255, 255};
    case Color::Gray:
        return {128, 128, 128};
    case Color::Silver:
        return {192, 192, 192};
    case Color::Default:
        break;
    }
    return {};
}

QString toolTipOf(const QString& hint) {
    const qsizetype bar = hint.indexOf(QLatin1Char('|'));
    return bar < 0 ? hint : hint.left(bar);
}

QString statusTipOf(const QString& hint) {
    const qsizetype bar = hint.indexOf(QLatin1Char('|'));
    return bar < 0 ? hint : hint.mid(bar + 1);
}

QString plainCaption(const QString& caption) {
    QString result;
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption[i] == QLatin1Char('&') && i + 1 < caption.size())
            ++i;
        result += caption[i];
    }
    return result;
}

} // namespace kontaro::gui

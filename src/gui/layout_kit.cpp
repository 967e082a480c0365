#include "gui/layout_kit.h"

#include "gui/look.h"

#include <QBoxLayout>
#include <QGridLayout>
#include <QLabel>

namespace kontaro::gui {

using forms::ControlKind;

LayoutKit::LayoutKit(const forms::Form& form, const std::map<QString, QWidget*>& widgets)
    : m_form(form)
    , m_widgets(widgets) {}

QWidget* LayoutKit::take(const QString& name) {
    auto it = m_widgets.find(name);
    if (it == m_widgets.end() || m_taken.count(name))
        return nullptr;
    m_taken.insert(name);
    return it->second;
}

QLabel* LayoutKit::label(const QString& text) {
    return new QLabel(text);
}

bool LayoutKit::isLeft(const forms::Control& control, const QString& panel) const {
    return control.parent == panel && m_widgets.count(control.name()) && !m_taken.count(control.name());
}

void LayoutKit::fill(const QString& panel, QWidget* container) {
    auto* outer = new QVBoxLayout(container);
    auto* rows = new QGridLayout;
    rows->setColumnStretch(1, 1);
    outer->addLayout(rows);
    auto* buttons = new QHBoxLayout;
    int row = 0;
    bool stretched = false;
    bool anyButton = false;
    QWidget* pendingLabel = nullptr;
    auto flush = [&] {
        if (pendingLabel)
            rows->addWidget(pendingLabel, row++, 0, 1, 2);
        pendingLabel = nullptr;
    };
    for (const forms::Control* control : m_form.controls()) {
        if (!isLeft(*control, panel))
            continue;
        QWidget* widget = take(control->name());
        switch (control->kind()) {
        case ControlKind::Label:
            flush();
            pendingLabel = widget;
            break;
        case ControlKind::Edit:
        case ControlKind::DropDown: {
            QWidget* left = pendingLabel;
            if (!left && !control->caption.isEmpty())
                left = label(plainCaption(control->caption));
            pendingLabel = nullptr;
            if (left)
                rows->addWidget(left, row, 0);
            rows->addWidget(widget, row++, 1);
            break;
        }
        case ControlKind::Button:
            buttons->addWidget(widget);
            anyButton = true;
            break;
        case ControlKind::Panel:
            flush();
            fill(control->name(), widget);
            rows->addWidget(widget, row++, 0, 1, 2);
            break;
        case ControlKind::Grid:
        case ControlKind::List:
        case ControlKind::Chart:
        case ControlKind::Memo:
            flush();
            rows->addWidget(widget, row, 0, 1, 2);
            rows->setRowStretch(row++, 1);
            stretched = true;
            break;
        default:
            flush();
            rows->addWidget(widget, row++, 0, 1, 2);
            break;
        }
    }
    flush();
    if (anyButton) {
        buttons->addStretch();
        outer->addLayout(buttons);
    } else {
        delete buttons;
    }
    if (!stretched)
        outer->addStretch();
}

QWidget* LayoutKit::rest(const QString& panel) {
    bool any = false;
    for (const forms::Control* control : m_form.controls())
        any = any || isLeft(*control, panel);
    if (!any)
        return nullptr;
    auto* container = new QWidget;
    fill(panel, container);
    return container;
}

void LayoutKit::addRemaining(QBoxLayout* layout) {
    for (const forms::Control* control : m_form.controls()) {
        if (!m_widgets.count(control->name()) || m_taken.count(control->name()))
            continue;
        // Whatever is left under its panel, or at the form's level when that panel is elsewhere.
        if (QWidget* part = rest(control->parent))
            layout->addWidget(part);
        if (!m_taken.count(control->name())) {
            m_taken.insert(control->name());
            layout->addWidget(m_widgets.at(control->name()));
        }
    }
}

} // namespace kontaro::gui

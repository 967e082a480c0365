#include "gui/control_widgets.h"

#include "gui/account_combo.h"
#include "gui/bar_chart.h"
#include "gui/grid_model.h"
#include "gui/look.h"
#include "gui/pick_list_delegate.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>

namespace kontaro::gui {

using forms::ControlKind;

namespace {

// Buttons whose caption was a picture: a short German word instead.
struct NamedCaption {
    const char* name;
    const char* caption;
};
constexpr NamedCaption PictureButtons[] = {
    {"B_sucheAelter", "&Ältere"},    {"B_sucheNeueste", "&Neueste"},   {"SpeedButton1", "…"},
    {"sucheNext", "Weiter suchen"},  {"JournalEinfuegen", "Einfügen"}, {"JournalLoeschen", "Löschen"},
    {"BuchenVerboten", "Zusperren"},
};

// Buttons whose caption is a picture we draw: the picture, and its word as tool tip.
struct PictureButton {
    const char* name;
    const char* icon;
    const char* tip;
};
constexpr PictureButton IconButtons[] = {
    {"B_DruckJournal", ":/icons/drucken.svg", "Journal drucken (Strg+P)"},
    {"B_kontodruck", ":/icons/drucken.svg", "Konto drucken (Strg+P)"},
    {"B_druKontoplan", ":/icons/drucken.svg", "Kontoplan drucken (Strg+P)"},
};

const PictureButton* iconButton(const forms::Control& control) {
    for (const PictureButton& picture : IconButtons)
        if (control.name() == QLatin1String(picture.name))
            return &picture;
    return nullptr;
}

QPixmap aboutPicture() {
    QPixmap picture(96, 96);
    picture.fill(Qt::transparent);
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(QColor(255, 210, 0));
    p.setPen(QPen(QColor(120, 90, 0), 3));
    p.drawRoundedRect(QRectF(6, 6, 84, 84), 14, 14);
    QFont font(QStringLiteral("Sans"), 30, QFont::Bold);
    p.setFont(font);
    p.setPen(QColor(60, 40, 0));
    p.drawText(QRectF(6, 6, 84, 84), Qt::AlignCenter, QStringLiteral("KT"));
    return picture;
}

void setColors(QWidget* widget, const forms::Control& control, QPalette::ColorRole background,
               QPalette::ColorRole text) {
    QPalette palette = widget->parentWidget() ? widget->parentWidget()->palette() : QPalette();
    const QColor bg = qColor(control.color);
    const QColor fg = qColor(control.fontColor);
    QPalette wanted = widget->palette();
    wanted.setColor(background, bg.isValid() ? bg : QPalette().color(background));
    wanted.setColor(text, fg.isValid() ? fg : QPalette().color(text));
    if (widget->palette() != wanted)
        widget->setPalette(wanted);
    if (background == QPalette::Window)
        widget->setAutoFillBackground(bg.isValid());
    (void)palette;
}

void setTextIfChanged(QLineEdit* edit, const QString& text) {
    if (edit->text() != text) {
        edit->setText(text);
        edit->setCursorPosition(0);
    }
}

// Setting the maximum length puts the cursor at the end, which scrolls a long text; only when it changes.
void setMaxLength(QLineEdit* edit, int maxLength) {
    const int wanted = maxLength > 0 ? maxLength : 32767;
    if (edit->maxLength() != wanted)
        edit->setMaxLength(wanted);
}

// Read-only displays take no focus, so that Tab and Enter lead only through what one can change.
void setFocusable(QWidget* widget, bool focusable) {
    const Qt::FocusPolicy wanted = focusable ? Qt::StrongFocus : Qt::NoFocus;
    if (widget->focusPolicy() != wanted)
        widget->setFocusPolicy(wanted);
}

} // namespace

QString buttonCaption(const forms::Control& control) {
    if (!control.caption.isEmpty())
        return control.caption;
    if (iconButton(control))
        return {};
    for (const NamedCaption& named : PictureButtons)
        if (control.name() == QLatin1String(named.name))
            return QString::fromUtf8(named.caption);
    const QString tip = toolTipOf(control.hint);
    if (!tip.isEmpty() && tip.size() <= 20)
        return tip;
    return control.name();
}

QWidget* createControlWidget(const forms::Control& control, GridModel** model) {
    *model = nullptr;
    QWidget* widget = nullptr;
    switch (control.kind()) {
    case ControlKind::Edit: {
        auto* edit = new QLineEdit;
        edit->setDragEnabled(true);
        if (control.upperCase)
            QObject::connect(edit, &QLineEdit::textEdited, edit, [edit](const QString& text) {
                const int cursor = edit->cursorPosition();
                edit->setText(text.toUpper());
                edit->setCursorPosition(cursor);
            });
        widget = edit;
        break;
    }
    case ControlKind::Label: {
        auto* label = new QLabel;
        label->setTextFormat(Qt::PlainText);
        widget = label;
        break;
    }
    case ControlKind::Button: {
        // The caption now, so that the layout sizes the button from it.
        auto* button = new QPushButton(buttonCaption(control));
        button->setAutoDefault(false);
        if (const PictureButton* picture = iconButton(control)) {
            button->setIcon(QIcon(QString::fromLatin1(picture->icon)));
            button->setIconSize(QSize(22, 22));
        }
        if (!control.takesFocus)
            button->setFocusPolicy(Qt::NoFocus);
        widget = button;
        break;
    }
    case ControlKind::CheckBox:
        widget = new QCheckBox;
        break;
    case ControlKind::DropDown: {
        *model = new GridModel(control);
        auto* combo = new AccountCombo(*model);
        (*model)->setParent(combo);
        widget = combo;
        break;
    }
    case ControlKind::List:
    case ControlKind::Grid: {
        auto* table = new QTableView;
        *model = new GridModel(control, table);
        table->setModel(*model);
        table->setItemDelegate(new PickListDelegate(table));
        table->setSelectionBehavior(QAbstractItemView::SelectRows);
        table->setSelectionMode(QAbstractItemView::SingleSelection);
        table->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                               QAbstractItemView::AnyKeyPressed);
        table->verticalHeader()->setDefaultSectionSize(table->fontMetrics().height() + 6);
        table->verticalHeader()->hide();
        table->setAlternatingRowColors(true);
        table->setWordWrap(false);
        if (control.kind() == ControlKind::List)
            table->horizontalHeader()->hide();
        table->horizontalHeader()->setStretchLastSection(true);
        table->horizontalHeader()->setHighlightSections(false);
        widget = table;
        break;
    }
    case ControlKind::Panel: {
        auto* box = new QGroupBox;
        widget = box;
        break;
    }
    case ControlKind::Memo: {
        auto* memo = new QPlainTextEdit;
        widget = memo;
        break;
    }
    case ControlKind::Image: {
        auto* image = new QLabel;
        image->setPixmap(aboutPicture());
        widget = image;
        break;
    }
    case ControlKind::Chart:
        widget = new BarChart;
        break;
    case ControlKind::MenuItem:
        return nullptr;
    }
    widget->setObjectName(control.name());
    return widget;
}

void showControl(const forms::Control& control, QWidget* widget, GridModel* model, bool enabled,
                 bool visible) {
    if (widget->isEnabled() != enabled)
        widget->setEnabled(enabled);
    if (widget->isHidden() == visible)
        widget->setVisible(visible);
    QString tip = toolTipOf(control.hint);
    if (const PictureButton* picture = iconButton(control); picture && tip.isEmpty())
        tip = QString::fromUtf8(picture->tip);
    // A read-only field too narrow for its text (a long account name) shows the text whole as its tip.
    if (auto* edit = qobject_cast<QLineEdit*>(widget);
        edit && tip.isEmpty() && control.readOnly &&
        edit->fontMetrics().horizontalAdvance(control.text()) > edit->contentsRect().width() - 8)
        tip = control.text();
    if (widget->toolTip() != tip)
        widget->setToolTip(tip);
    const QString statusTip = statusTipOf(control.hint);
    if (widget->statusTip() != statusTip)
        widget->setStatusTip(statusTip);

    switch (control.kind()) {
    case ControlKind::Edit: {
        auto* edit = static_cast<QLineEdit*>(widget);
        setMaxLength(edit, control.maxLength);
        setTextIfChanged(edit, control.text());
        if (edit->isReadOnly() != control.readOnly)
            edit->setReadOnly(control.readOnly);
        setFocusable(edit, !control.readOnly);
        setColors(edit, control, QPalette::Base, QPalette::Text);
        break;
    }
    case ControlKind::Label: {
        auto* label = static_cast<QLabel*>(widget);
        const QString text = control.caption.isEmpty() ? control.text() : plainCaption(control.caption);
        if (label->text() != text)
            label->setText(text);
        setColors(label, control, QPalette::Window, QPalette::WindowText);
        break;
    }
    case ControlKind::Button: {
        auto* button = static_cast<QPushButton*>(widget);
        const QString text = buttonCaption(control);
        if (button->text() != text)
            button->setText(text);
        break;
    }
    case ControlKind::CheckBox: {
        auto* box = static_cast<QCheckBox*>(widget);
        if (box->text() != control.caption)
            box->setText(control.caption);
        if (box->isChecked() != control.checked)
            box->setChecked(control.checked);
        break;
    }
    case ControlKind::DropDown: {
        auto* combo = static_cast<AccountCombo*>(widget);
        model->refresh();
        setMaxLength(combo->lineEdit(), control.maxLength);
        setTextIfChanged(combo->lineEdit(), control.text());
        if (combo->lineEdit()->isReadOnly() != control.readOnly)
            combo->lineEdit()->setReadOnly(control.readOnly);
        setFocusable(combo, !control.readOnly);
        setColors(combo->lineEdit(), control, QPalette::Base, QPalette::Text);
        break;
    }
    case ControlKind::List:
    case ControlKind::Grid:
        model->refresh();
        setColors(widget, control, QPalette::Base, QPalette::Text);
        break;
    case ControlKind::Panel: {
        auto* box = static_cast<QGroupBox*>(widget);
        const QString title = plainCaption(control.caption);
        if (box->title() != title)
            box->setTitle(title);
        setColors(box, control, QPalette::Window, QPalette::WindowText);
        break;
    }
    case ControlKind::Memo: {
        auto* memo = static_cast<QPlainTextEdit*>(widget);
        if (memo->toPlainText() != control.text())
            memo->setPlainText(control.text());
        memo->setReadOnly(control.readOnly);
        break;
    }
    case ControlKind::Image:
    case ControlKind::Chart:
    case ControlKind::MenuItem:
        break;
    }
}

} // namespace kontaro::gui

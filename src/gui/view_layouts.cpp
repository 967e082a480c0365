#include "gui/view_layouts.h"

#include "gui/grid_model.h"
#include "gui/journal_panels.h"
#include "gui/layout_kit.h"
#include "views/journal_panels.h"

#include <QBoxLayout>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>

namespace kontaro::gui {

namespace {

using Widgets = std::map<QString, QWidget*>;

// At least as wide as `width` pixels of the 9-point font the widths were measured in, scaled to
// the widget's real font; the layout may make it wider, never narrower, so its content shows whole.
void minWidth(QWidget* widget, int width) {
    if (!widget)
        return;
    constexpr int DigitWidthOfTheMeasure = 7;
    const int digit = widget->fontMetrics().horizontalAdvance(QLatin1Char('0'));
    widget->setMinimumWidth(std::max(width, width * digit / DigitWidthOfTheMeasure));
}

// A button as narrow as its caption allows (the style's default minimum of 80 pixels is meant for
// words, not for "<" or "+").
void compact(QWidget* button) {
    button->setStyleSheet(QStringLiteral("QPushButton { padding: 3px 7px; }"));
    button->ensurePolished(); // before the layout asks for its size
}

void alignRight(QWidget* widget) {
    if (auto* edit = qobject_cast<QLineEdit*>(widget))
        edit->setAlignment(Qt::AlignRight);
}

// A row of widgets from the left, the missing ones left out.
QHBoxLayout* row(std::initializer_list<QWidget*> widgets, bool stretchAtEnd = true) {
    auto* layout = new QHBoxLayout;
    for (QWidget* w : widgets)
        if (w)
            layout->addWidget(w);
    if (stretchAtEnd)
        layout->addStretch();
    return layout;
}

// Column widths of the grids by field name; unknown columns get a middle width. With
// fitContent the columns are as wide as their texts (at least the heading), and the last one
// does not stretch.
void sizeColumns(QWidget* widget, bool fitContent = false) {
    auto* table = qobject_cast<QTableView*>(widget);
    if (!table)
        return;
    static const std::map<QString, int> widths = {
        {QStringLiteral("Knr"), 90},        {QStringLiteral("Typ"), 40},
        {QStringLiteral("Name"), 240},      {QStringLiteral("UstKnt"), 75},
        {QStringLiteral("UstP"), 45},       {QStringLiteral("Saldo"), 105},
        {QStringLiteral("Budget"), 105},    {QStringLiteral("Gruppe"), 60},
        {QStringLiteral("LastAnr"), 60},    {QStringLiteral("Seite"), 50},
        {QStringLiteral("SollBetrag"), 95}, {QStringLiteral("HabenBetrag"), 95},
        {QStringLiteral("GKnt"), 75},       {QStringLiteral("Buchtext"), 260},
        {QStringLiteral("Datum"), 85},      {QStringLiteral("Beleg"), 75},
        {QStringLiteral("Anr"), 45},        {QStringLiteral("Kz"), 30},
        {QStringLiteral("Bnr"), 55},        {QStringLiteral("DATUM"), 85},
        {QStringLiteral("BUCHTEXT"), 240},
    };
    for (int c = 0; c < table->model()->columnCount(); ++c) {
        const QString name = table->model()->headerData(c, Qt::Horizontal, GridModel::FieldRole).toString();
        auto it = widths.find(name);
        table->setColumnWidth(c, it == widths.end() ? 80 : it->second);
    }
    if (fitContent) {
        table->horizontalHeader()->setStretchLastSection(false);
        table->resizeColumnsToContents();
    }
}

// The posting window: the debit, credit and VAT rows side by side with their accounts, then the
// line's text, numbers and date, the message line and the commands.
void layOutBuchen(LayoutKit& kit, QVBoxLayout* outer) {
    QWidget* area = kit.take(QStringLiteral("Scrollbereich"));
    auto* areaLayout = new QVBoxLayout(area ? area : new QWidget);
    outer->addWidget(areaLayout->parentWidget());
    if (auto* box = qobject_cast<QGroupBox*>(area))
        box->setFlat(true);

    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(4);
    const char* headings[] = {"",           "Konto",  "Betrag", "Bezeichnung", "Typ", "Saldo vor",
                              "Saldo nach", "Budget", "%"};
    for (int c = 0; c < 9; ++c) {
        QLabel* heading = LayoutKit::label(QString::fromUtf8(headings[c]));
        heading->setStyleSheet(QStringLiteral("color: #555; font-weight: bold;"));
        grid->addWidget(heading, 0, c);
    }
    struct Side {
        const char* title;
        const char* names[8];
    };
    const Side sides[] = {
        {"Soll",
         {"SollKnt", "SollBetrag", "sollName", "sollTyp", "sollSaldo", "SollSaldo2", "sollBudget",
          "sollbudgetP"}},
        {"Haben",
         {"HabenKnt", "HabenBetrag", "habenName", "habenTyp", "habenSaldo", "HabenSaldo2", "habenBudget",
          "HabenBudgetP"}},
        {"UST", {"UstKnt", "", "ustName", "ustTyp", "ustSaldo", "UstSaldo2", "", ""}},
    };
    int r = 1;
    for (const Side& side : sides) {
        QLabel* title = LayoutKit::label(QString::fromUtf8(side.title));
        title->setStyleSheet(QStringLiteral("font-weight: bold;"));
        grid->addWidget(title, r, 0);
        for (int c = 0; c < 8; ++c) {
            QWidget* w = side.names[c][0] ? kit.take(QString::fromUtf8(side.names[c])) : nullptr;
            if (!w)
                continue;
            if (c == 1 || c >= 4)
                alignRight(w);
            const int widths[] = {110, 150, 0, 36, 105, 105, 95, 48};
            if (widths[c] > 0)
                minWidth(w, widths[c]);
            grid->addWidget(w, r, c + 1);
        }
        ++r;
    }
    // The VAT amounts and rate of the line share the VAT row.
    QWidget* ustSoll = kit.take(QStringLiteral("ustSoll"));
    QWidget* ustHaben = kit.take(QStringLiteral("UstHaben"));
    alignRight(ustSoll);
    alignRight(ustHaben);
    minWidth(ustSoll, 72);
    minWidth(ustHaben, 72);
    auto* ustAmounts = row({ustSoll, ustHaben}, false);
    ustAmounts->setSpacing(6);
    grid->addLayout(ustAmounts, 3, 2);
    QWidget* ustP = kit.take(QStringLiteral("UstP"));
    alignRight(ustP);
    minWidth(ustP, 48);
    grid->addWidget(LayoutKit::label(QStringLiteral("Satz %")), 3, 7, Qt::AlignRight);
    if (ustP)
        grid->addWidget(ustP, 3, 8);
    grid->setColumnStretch(3, 1);
    areaLayout->addLayout(grid);

    // Aids between the account rows and the text: swap, account search, last amount, currency.
    auto* aids = new QHBoxLayout;
    for (const char* name :
         {"KontoWechsel", "B_suche", "SucheKonto", "BetragPlus", "Button1", "B_2ATS", "B_2EURO"})
        if (QWidget* button = kit.take(QString::fromUtf8(name))) {
            compact(button);
            aids->addWidget(button);
        }
    aids->addStretch();
    areaLayout->addLayout(aids);

    auto* text = new QHBoxLayout;
    text->addWidget(LayoutKit::label(QStringLiteral("Buchungstext")));
    if (QWidget* buchtext = kit.take(QStringLiteral("Buchtext")))
        text->addWidget(buchtext, 1);
    for (const char* name : {"B_StoVorlage", "B_delVorlage"})
        if (QWidget* w = kit.take(QString::fromUtf8(name)))
            text->addWidget(w);
    areaLayout->addLayout(text);

    auto* numbers = new QHBoxLayout;
    auto addField = [&](const char* caption, const char* field, int width,
                        std::initializer_list<const char*> buttons) {
        if (caption)
            numbers->addWidget(LayoutKit::label(QString::fromUtf8(caption)));
        QWidget* w = kit.take(QString::fromUtf8(field));
        minWidth(w, width);
        if (w)
            numbers->addWidget(w);
        for (const char* b : buttons)
            if (QWidget* button = kit.take(QString::fromUtf8(b))) {
                compact(button);
                numbers->addWidget(button);
            }
        numbers->addSpacing(12);
    };
    addField("Anr", "Anr", 55, {"AnrMinus", "AnrPlus"});
    if (QWidget* belegLabel = kit.take(QStringLiteral("L_beleg"))) {
        belegLabel->setCursor(Qt::PointingHandCursor);
        numbers->addWidget(belegLabel);
    }
    addField(nullptr, "Beleg", 90, {"BelegMinus", "BelegPlus", "B_BelegALT", "SpeedButton1"});
    addField("Datum", "Datum", 95, {"DatumMinus", "DatumPlus"});
    addField("Bnr", "Bnr", 55, {});
    addField("Ok", "Ok", 30, {});
    numbers->addStretch();
    areaLayout->addLayout(numbers);

    if (QWidget* meldung = kit.take(QStringLiteral("meldung"))) {
        QFont font = meldung->font();
        font.setBold(true);
        font.setPointSize(font.pointSize() + 1);
        meldung->setFont(font);
        meldung->setFocusPolicy(Qt::NoFocus);
        areaLayout->addWidget(meldung);
    }

    auto* commands = new QHBoxLayout;
    for (const char* name :
         {"JournalMinus", "JournalPlus", "JournalEinfuegen", "JournalLoeschen", "BuchenVerboten", "B_ust"})
        if (QWidget* w = kit.take(QString::fromUtf8(name))) {
            w->setMinimumWidth(90);
            commands->addWidget(w);
        }
    commands->addStretch();
    areaLayout->addLayout(commands);
    if (QWidget* rest = kit.rest(QStringLiteral("Scrollbereich")))
        areaLayout->addWidget(rest);
    areaLayout->addStretch();
}

void layOutJournal(LayoutKit& kit, QVBoxLayout* outer) {
    QWidget* bnr = kit.take(QStringLiteral("sucheBnr"));
    minWidth(bnr, 70);
    QWidget* search = kit.take(QStringLiteral("SucheText"));
    minWidth(search, 170);
    auto* top = row({LayoutKit::label(QStringLiteral("Suche")), search,
                     kit.take(QStringLiteral("B_sucheAelter")), kit.take(QStringLiteral("B_sucheNeueste"))});
    top->addWidget(LayoutKit::label(QStringLiteral("Bnr")));
    top->addWidget(bnr);
    if (QWidget* print = kit.take(QStringLiteral("B_DruckJournal")))
        top->addWidget(print);
    outer->addLayout(top);

    // Headings over the slots of the panels.
    auto* headings = new QHBoxLayout;
    headings->setContentsMargins(6, 0, 20, 0);
    headings->setSpacing(0);
    for (const views::JournalPanelSlot& slot : views::journalPanelSlots())
        if (QWidget* heading = kit.take(slot.heading.toString())) {
            heading->setStyleSheet(QStringLiteral("font-weight: bold;"));
            headings->addWidget(heading, int(slot.width * 100));
        }
    outer->addLayout(headings);

    if (auto* list = qobject_cast<QTableView*>(kit.take(QStringLiteral("Buchungsliste")))) {
        for (int c = 1; c < list->model()->columnCount(); ++c)
            list->setColumnHidden(c, true);
        list->setItemDelegateForColumn(0, new JournalPanels(list));
        list->horizontalHeader()->hide();
        list->horizontalHeader()->setStretchLastSection(true);
        list->verticalHeader()->setDefaultSectionSize(60);
        list->setShowGrid(false);
        list->setAlternatingRowColors(false);
        outer->addWidget(list, 1);
    }
}

void layOutKonto(LayoutKit& kit, QVBoxLayout* outer) {
    if (QWidget* header = kit.take(QStringLiteral("Kopfleiste"))) {
        auto* grid = new QGridLayout(header);
        grid->setVerticalSpacing(2);
        const char* pairs[][2] = {
            {"L_kontoWahl", "kontoWahl"}, {"L_Typ", "Typ"},     {"L_UstKnt", "UstKnt"}, {"L_UstP", "UstP"},
            {"L_Budget", "Budget"},       {"L_Saldo", "Saldo"}, {"L_Gruppe", "Gruppe"}, {"L_Name", "Name"}};
        const int widths[] = {110, 40, 80, 45, 105, 105, 60, 0};
        for (int c = 0; c < 8; ++c) {
            if (QWidget* heading = kit.take(QString::fromUtf8(pairs[c][0])))
                grid->addWidget(heading, 0, c);
            if (QWidget* field = kit.take(QString::fromUtf8(pairs[c][1]))) {
                if (widths[c] > 0)
                    minWidth(field, widths[c]);
                if (c == 4 || c == 5)
                    alignRight(field);
                grid->addWidget(field, 1, c);
            }
        }
        if (QWidget* field = header->findChild<QWidget*>(QStringLiteral("kontoWahl"))) {
            QFont font = field->font();
            font.setBold(true);
            field->setFont(font);
        }
        grid->setColumnStretch(7, 1);
        outer->addWidget(header);
    }
    QWidget* choice = kit.take(QStringLiteral("Kontoauswahl"));
    minWidth(choice, 160);
    auto* controls = row({kit.take(QStringLiteral("fixeKontowahl")), choice});
    if (QWidget* print = kit.take(QStringLiteral("B_kontodruck")))
        controls->addWidget(print);
    outer->addLayout(controls);
    if (QWidget* grid = kit.take(QStringLiteral("Hauptbuchzeilen"))) {
        sizeColumns(grid);
        outer->addWidget(grid, 1);
    }
}

void layOutKontoplan(LayoutKit& kit, QVBoxLayout* outer) {
    QWidget* search = kit.take(QStringLiteral("Suchwort"));
    minWidth(search, 150);
    auto* top = row({LayoutKit::label(QStringLiteral("Suchwort")), search,
                     kit.take(QStringLiteral("B_einfuegen")), kit.take(QStringLiteral("B_edit")),
                     kit.take(QStringLiteral("B_schutzwechsel")), kit.take(QStringLiteral("B_loeschen")),
                     kit.take(QStringLiteral("B_esc")), kit.take(QStringLiteral("B_ok"))});
    if (QWidget* print = kit.take(QStringLiteral("B_druKontoplan")))
        top->addWidget(print);
    outer->addLayout(top);
    if (QWidget* grid = kit.take(QStringLiteral("Kontenliste"))) {
        sizeColumns(grid, true);
        outer->addWidget(grid, 1);
    }
}

void layOutAlt(LayoutKit& kit, QVBoxLayout* outer) {
    auto* top = new QHBoxLayout;
    auto* years = new QGridLayout;
    QWidget* account = kit.take(QStringLiteral("kntNr"));
    minWidth(account, 110);
    years->addWidget(LayoutKit::label(QStringLiteral("Konto")), 0, 0);
    years->addWidget(account, 0, 1);
    for (int k = 8; k >= 1; --k) {
        const int r = 9 - k;
        if (QWidget* year = kit.take(QStringLiteral("Label%1").arg(k)))
            years->addWidget(year, r, 0);
        if (QWidget* balance = kit.take(QStringLiteral("edit%1").arg(k))) {
            alignRight(balance);
            minWidth(balance, 110);
            years->addWidget(balance, r, 1);
        }
    }
    if (QWidget* label = kit.take(QStringLiteral("Label10")))
        years->addWidget(label, 9, 0);
    if (QWidget* forecast = kit.take(QStringLiteral("hoch1"))) {
        alignRight(forecast);
        minWidth(forecast, 110);
        years->addWidget(forecast, 9, 1);
    }
    top->addLayout(years);
    if (QWidget* chart = kit.take(QStringLiteral("Chart1")))
        top->addWidget(chart, 1);
    outer->addLayout(top);
    QWidget* search = kit.take(QStringLiteral("SucheText"));
    minWidth(search, 150);
    QWidget* choice = kit.take(QStringLiteral("Kontoauswahl"));
    minWidth(choice, 140);
    outer->addLayout(
        row({kit.take(QStringLiteral("kontofilter")), kit.take(QStringLiteral("LabelBlau")), search,
             kit.take(QStringLiteral("sucheNext")), kit.take(QStringLiteral("Label9")), choice}));
    if (QWidget* info = kit.take(QStringLiteral("ALT_INFO"))) {
        info->setStyleSheet(QStringLiteral("color: red; font-weight: bold;"));
        outer->addWidget(info);
    }
    if (QWidget* grid = kit.take(QStringLiteral("DBGrid1"))) {
        sizeColumns(grid);
        outer->addWidget(grid, 1);
    }
}

// The about window: what the program is, the publisher's addresses and the two buttons.
void layOutInfo(LayoutKit& kit, QVBoxLayout* outer) {
    QWidget* panel = kit.take(QStringLiteral("Panel1"));
    if (!panel)
        return;
    auto* grid = new QGridLayout(panel);
    const char* pairs[][2] = {{"LabelProgramm", "Programm"}, {"LabelVersion", "Version"}};
    for (int r = 0; r < 2; ++r) {
        if (QWidget* label = kit.take(QString::fromUtf8(pairs[r][0])))
            grid->addWidget(label, r, 1);
        if (QWidget* value = kit.take(QString::fromUtf8(pairs[r][1]))) {
            QFont font = value->font();
            font.setBold(true);
            value->setFont(font);
            grid->addWidget(value, r, 2);
        }
    }
    if (QWidget* picture = kit.take(QStringLiteral("Bild")))
        grid->addWidget(picture, 0, 0, 3, 1, Qt::AlignTop);
    int r = 3;
    for (const char* name : {"Mail", "Homepage"})
        if (QWidget* link = kit.take(QString::fromUtf8(name))) {
            link->setCursor(Qt::PointingHandCursor);
            link->setStyleSheet(QStringLiteral("color: #0645ad; text-decoration: underline;"));
            grid->addWidget(link, r++, 0, 1, 3);
        }
    grid->setColumnStretch(2, 1);
    if (QWidget* rest = kit.rest(QStringLiteral("Panel1")))
        grid->addWidget(rest, r, 0, 1, 3);
    outer->addWidget(panel);
    outer->addLayout(row({kit.take(QStringLiteral("OK")), kit.take(QStringLiteral("Fenster2"))}));
    outer->addStretch();
}

} // namespace

void layOutForm(const forms::Form& form, const Widgets& widgets, QWidget* content) {
    LayoutKit kit(form, widgets);
    auto* outer = new QVBoxLayout(content);
    outer->setContentsMargins(8, 8, 8, 8);
    const QString& name = form.componentName();
    if (name == QLatin1String("_Buchen"))
        layOutBuchen(kit, outer);
    else if (name == QLatin1String("_Journal"))
        layOutJournal(kit, outer);
    else if (name == QLatin1String("_Konto"))
        layOutKonto(kit, outer);
    else if (name == QLatin1String("_Kontoplan"))
        layOutKontoplan(kit, outer);
    else if (name == QLatin1String("_alt"))
        layOutAlt(kit, outer);
    else if (name == QLatin1String("_Info"))
        layOutInfo(kit, outer);
    else if (QWidget* all = kit.rest(QString()))
        outer->addWidget(all, 1);
    kit.addRemaining(outer);
}

} // namespace kontaro::gui

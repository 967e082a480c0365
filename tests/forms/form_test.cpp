#include "base/errors.h"
#include "forms/form.h"
#include "forms/scripted_ui.h"

#include <gtest/gtest.h>

using namespace kontaro::forms;

namespace {

// A field that only takes whole numbers, like an integer column.
class NumberField : public FieldBinding {
public:
    QString text() const override { return m_value; }
    void setText(const QString& text) override {
        bool ok = false;
        text.toInt(&ok);
        if (!text.isEmpty() && !ok)
            throw kontaro::UserError(QStringLiteral("\"%1\" ist keine gültige Zahl.").arg(text));
        m_value = text;
    }
    QString m_value = QStringLiteral("7");
};

class TestForm : public Form {
public:
    explicit TestForm(Ui& ui)
        : Form(QStringLiteral("_Test"), ui) {
        addControl(QStringLiteral("Panel"), ControlKind::Panel);
        for (const char* name : {"A", "B"}) {
            Control& c = addControl(QLatin1String(name), ControlKind::Edit, QStringLiteral("Panel"));
            c.onEnter = [this, name] { log << QStringLiteral("enter ") + QLatin1String(name); };
            c.onExit = [this, name] {
                log << QStringLiteral("exit ") + QLatin1String(name);
                if (refuseExit)
                    throw kontaro::Abort();
            };
        }
        Control& number = addControl(QStringLiteral("Zahl"), ControlKind::Edit);
        number.bind(field);
        number.onChange = [this] { log << QStringLiteral("change"); };
        addControl(QStringLiteral("Los"), ControlKind::Button).onClick = [this] {
            log << QStringLiteral("click");
        };
    }
    QStringList log;
    bool refuseExit = false;
    std::shared_ptr<NumberField> field = std::make_shared<NumberField>();
};

} // namespace

TEST(Form, FocusRunsExitOfOldControlThenEnterOfNew) {
    ScriptedUi ui;
    TestForm form(ui);
    form.focus(QStringLiteral("A"));
    form.focus(QStringLiteral("B"));
    form.click(QStringLiteral("Los"));
    EXPECT_EQ(form.log, QStringList({"enter A", "exit A", "enter B", "exit B", "click"}));
    EXPECT_EQ(form.focusedControl(), QStringLiteral("Los"));
}

TEST(Form, AbortInExitHandlerKeepsTheFocus) {
    ScriptedUi ui;
    TestForm form(ui);
    form.focus(QStringLiteral("A"));
    form.refuseExit = true;
    form.focus(QStringLiteral("B"));
    EXPECT_EQ(form.focusedControl(), QStringLiteral("A"));
    EXPECT_TRUE(ui.shown().empty());
}

TEST(Form, TextTheFieldCannotTakeGivesMessageAndKeepsOldValue) {
    ScriptedUi ui;
    TestForm form(ui);
    form.type(QStringLiteral("Zahl"), QStringLiteral("12x"));
    EXPECT_EQ(form.field->m_value, QStringLiteral("7"));
    EXPECT_EQ(ui.shownTexts(QStringLiteral("message")), QStringList({"\"12x\" ist keine gültige Zahl."}));
    EXPECT_FALSE(form.log.contains(QStringLiteral("change")));
    // The typed text stays in the control for correction until the focus leaves it.
    EXPECT_EQ(form.control(QStringLiteral("Zahl")).text(), QStringLiteral("12x"));
    EXPECT_TRUE(form.control(QStringLiteral("Zahl")).hasRefusedText());
    form.focus(QStringLiteral("A"));
    EXPECT_EQ(form.control(QStringLiteral("Zahl")).text(), QStringLiteral("7"));

    form.type(QStringLiteral("Zahl"), QStringLiteral("12"));
    EXPECT_EQ(form.control(QStringLiteral("Zahl")).text(), QStringLiteral("12"));
    EXPECT_TRUE(form.log.contains(QStringLiteral("change")));
}

TEST(Form, ControlsInADisabledPanelRefuseEvents) {
    ScriptedUi ui;
    TestForm form(ui);
    form.control(QStringLiteral("Panel")).enabled = false;
    EXPECT_FALSE(form.isUsable(QStringLiteral("A")));
    EXPECT_THROW(form.type(QStringLiteral("A"), QStringLiteral("x")), FormError);
    EXPECT_THROW(form.control(QStringLiteral("Nix")), FormError);
}

TEST(ScriptedUi, UnansweredQuestionIsAnErrorOfTheScript) {
    ScriptedUi ui;
    ui.answerQuestion(Answer::No);
    EXPECT_EQ(ui.question(QStringLiteral("Weiter?"), Buttons::YesNo), Answer::No);
    EXPECT_THROW(ui.question(QStringLiteral("Noch einmal?"), Buttons::YesNo), UnansweredQuestion);
}

TEST(Form, TypedControlCharactersAreRemoved) {
    ScriptedUi ui;
    TestForm form(ui);
    form.type(QStringLiteral("A"), QStringLiteral("Miete\tMärz\x1b"));
    EXPECT_EQ(form.control(QStringLiteral("A")).text(), QStringLiteral("MieteMärz"));
}

// Whatever answers an input question (a dialog, a script), control characters never reach the
// program: a tab would split the ledger export's rows, an escape or a line break the return files.
TEST(Ui, ControlCharactersAreRemovedFromInputAnswers) {
    ScriptedUi ui;
    ui.answerInput(QStringLiteral("UVA\tMärz\x1b\r\n1. Quartal\x7f"));
    ui.answerInput(QStringLiteral("\t"));
    ui.answerInput(std::nullopt);
    EXPECT_EQ(ui.input(QStringLiteral("Ust Abschluß"), QStringLiteral("Buchungstext"), QString()),
              QStringLiteral("UVAMärz1. Quartal"));
    EXPECT_EQ(ui.input(QStringLiteral("Ust Abschluß"), QStringLiteral("Belegnummer"), QString()), QString());
    EXPECT_EQ(ui.input(QStringLiteral("Ust Abschluß"), QStringLiteral("Datum"), QString()), std::nullopt);
}

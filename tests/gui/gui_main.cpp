#include "base/clock.h"
#include "gui/application_setup.h"
#include "gui_fixture.h"

#include <QApplication>
#include <vector>

namespace kontaro::test {

namespace {
std::vector<GuiTestRun>& runs() {
    static std::vector<GuiTestRun> all;
    return all;
}
} // namespace

bool registerGuiTest(GuiTestRun run) {
    runs().push_back(std::move(run));
    return true;
}

} // namespace kontaro::test

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    kontaro::gui::setUpApplication();
    // The books of these tests are dated 2026: today stays a day of that year whenever they run.
    kontaro::Clock::setFixed(QDateTime(QDate(2026, 12, 10), QTime(12, 0)));
    int failed = 0;
    for (const auto& run : kontaro::test::runs())
        failed += run(argc, argv);
    return failed;
}

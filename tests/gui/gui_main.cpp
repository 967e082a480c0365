#include "base/clock.h"
#include "gui/application_setup.h"
#include "gui_fixture.h"

#include <QApplication>
#include <cstring>
#include <vector>

namespace kontaro::test {

namespace {
struct NamedRun {
    const char* className;
    GuiTestRun run;
};

std::vector<NamedRun>& runs() {
    static std::vector<NamedRun> all;
    return all;
}

// Takes `--class NAME` out of the arguments, so that QTest sees only its own.
const char* takeClassArgument(int& argc, char** argv) {
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::strcmp(argv[i], "--class") != 0)
            continue;
        const char* name = argv[i + 1];
        for (int j = i; j + 2 <= argc; ++j)
            argv[j] = argv[j + 2];
        argc -= 2;
        return name;
    }
    return nullptr;
}
} // namespace

bool registerGuiTest(const char* className, GuiTestRun run) {
    // Without its namespace, as CTest names the test.
    const char* lastColon = std::strrchr(className, ':');
    runs().push_back({lastColon ? lastColon + 1 : className, std::move(run)});
    return true;
}

} // namespace kontaro::test

int main(int argc, char** argv) {
    const char* onlyClass = kontaro::test::takeClassArgument(argc, argv);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    kontaro::gui::setUpApplication();
    // The books of these tests are dated 2026: today stays a day of that year whenever they run.
    kontaro::Clock::setFixed(QDateTime(QDate(2026, 12, 10), QTime(12, 0)));
    int failed = 0;
    bool found = onlyClass == nullptr;
    for (const auto& [className, run] : kontaro::test::runs()) {
        if (onlyClass && std::strcmp(onlyClass, className) != 0)
            continue;
        found = true;
        failed += run(argc, argv);
    }
    if (!found) {
        qWarning("No GUI test class named %s", onlyClass);
        return 1;
    }
    return failed;
}

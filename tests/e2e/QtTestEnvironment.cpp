// One QApplication for the whole test program, made before the first test and
// destroyed after the last.

#include <gtest/gtest.h>

#include <QApplication>
#include <QString>
#include <memory>

#include "e2e/AppDriver.h"

// Allocations that the desktop libraries below Qt keep for the whole process and never
// free (the session bus connection, the font configuration cache) are not this program's
// leaks; LeakSanitizer reads this list when the tests run with the sanitizers. Leaks in
// the program's own code are still reported.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libdbus-1.so\n"
           "leak:libfontconfig.so\n";
}

namespace {

class QtEnvironment : public ::testing::Environment {
  public:
    void SetUp() override {
        static int argc = 1;
        static char name[] = "e2e_tests";
        static char* argv[] = {name, nullptr};
        qInstallMessageHandler(velmaro::test::AppDriver::QuietOffscreen);
        m_app = std::make_unique<QApplication>(argc, argv);
        QApplication::setApplicationName(QStringLiteral("Velmaro"));
    }
    void TearDown() override { m_app.reset(); }

  private:
    std::unique_ptr<QApplication> m_app;
};

[[maybe_unused]] ::testing::Environment* const g_qt =
    ::testing::AddGlobalTestEnvironment(new QtEnvironment);

}  // namespace

// Test main for the window layers: a QApplication on the offscreen platform unless the
// environment asks for another (test discovery runs without the tests' environment), with a
// private home, settings and runtime folder, so that no test reads or writes the tester's own.
#include <gtest/gtest.h>

#include <QApplication>
#include <cstdlib>

int main(int argc, char** argv) {
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) {
        ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    }
    ::setenv("HOME", TAV_TEST_HOME, 1);
    ::setenv("XDG_CONFIG_HOME", TAV_TEST_HOME "/config", 1);
    ::setenv("XDG_RUNTIME_DIR", TAV_TEST_HOME "/runtime", 1);
    QApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

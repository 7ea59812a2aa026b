// main() of the test binaries: GoogleTest with a Qt application object, so
// sockets, timers and event loops work in every test.
#include <QtGlobal>

#include <gtest/gtest.h>

#ifdef ZEN_GUI_TEST_MAIN
#include <QApplication>
using TestApplication = QApplication;
#else
#include <QCoreApplication>
using TestApplication = QCoreApplication;
#endif

int main(int argc, char** argv)
{
#ifdef ZEN_GUI_TEST_MAIN
    // Widget tests draw off screen unless told otherwise, so they need no display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
#endif
    ::testing::InitGoogleTest(&argc, argv);
    TestApplication app(argc, argv);
    return RUN_ALL_TESTS();
}

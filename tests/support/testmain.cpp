// main() of the test binaries: GoogleTest inside a Qt application object, so
// sockets, timers and event loops work; widget tests draw off screen.
#include <gtest/gtest.h>

#ifdef ZEN_GUI_TEST_MAIN
#include <QApplication>
#else
#include <QCoreApplication>
#endif

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
#ifdef ZEN_GUI_TEST_MAIN
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
#else
    QCoreApplication app(argc, argv);
#endif
    return RUN_ALL_TESTS();
}

// The main of every GoogleTest executable: a Qt application object (the event loop, timers and
// signals need one), then the tests. Widget tests draw on the offscreen platform unless told otherwise.
#include <gtest/gtest.h>

#ifdef QINTAR_GTEST_GUI
#include <QApplication>
using TTestApplication = QApplication;
#else
#include <QCoreApplication>
using TTestApplication = QCoreApplication;
#endif

int main(int argc, char **argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    TTestApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

// GoogleTest over a QApplication on the offscreen platform, so the tests need no display and
// no window manager can move or resize a window behind their back.
#include <gtest/gtest.h>

#include <QApplication>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("TOLVEK"));
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

#include <QApplication>
#include <string>
#include <vector>

#include "app/window/Product.h"
#include "app/qt/DesktopFrontEnd.h"
#include "app/qt/Resources.h"
#include "engine/HashTests.h"

int main(int argc, char** argv) {
    // Argument 1 names the file to hash, whatever its text: Qt takes options such as -reverse
    // or -platform out of the arguments it is given, so it is given argument 0 alone.
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    int qtArgumentCount = 1;
    QApplication application(qtArgumentCount, argv);
    QApplication::setApplicationName(QString::fromUtf8(tolvek::kProductName));
    QApplication::setApplicationVersion(QString::fromUtf8(tolvek::window::kVersion));
    // Lets the desktop show the installed entry's name and icon for the window.
    QGuiApplication::setDesktopFileName(QString::fromUtf8(tolvek::kApplicationId));
    QApplication::setWindowIcon(tolvek::desktop::MainIcon());

    tolvek::desktop::DesktopFrontEnd frontEnd(tolvek::desktop::DesktopServices::System(),
                                              tolvek::desktop::ProgramFolders::OfThisProcess(),
                                              tolvek::engine::TestAllHashTypes);
    if (frontEnd.startUp(arguments) == tolvek::window::StartUpOutcome::EndProgram) {
        // The message box says why; the program ends when it is closed.
        QApplication::exec();
        return 1;
    }
    // The start-up shows the window once the file it hashes is done or shows its progress.
    return QApplication::exec();
}

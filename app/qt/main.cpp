#include <QApplication>
#include <string>
#include <vector>

#include "app/core/Product.h"
#include "app/qt/DesktopFrontEnd.h"
#include "app/qt/Resources.h"
#include "engine/HashTests.h"

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QString::fromUtf8(tolvek::app::kProductName));
    QApplication::setWindowIcon(tolvek::desktop::MainIcon());

    tolvek::desktop::DesktopFrontEnd frontEnd(tolvek::desktop::DesktopServices::System(),
                                              tolvek::desktop::ProgramFolders::OfThisProcess(),
                                              tolvek::engine::TestAllHashTypes);
    // QApplication has taken its own options out of argv by now.
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    if (frontEnd.startUp(arguments) == tolvek::app::StartUpOutcome::EndProgram) {
        return 1;
    }
    frontEnd.view().show();
    return QApplication::exec();
}

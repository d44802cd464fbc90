// tolvek-files: the files window, one per user. A start while one runs hands its names over and
// ends; --install-menus and --remove-menus put the file managers' entries in place and take
// them out, without a display.
#include <unistd.h>

#include <QApplication>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "app/integration/FilesCommand.h"
#include "app/integration/MenuInstall.h"
#include "app/qt/DesktopFrontEnd.h"
#include "app/qt/FilesInstance.h"
#include "app/qt/Resources.h"
#include "app/window/Product.h"
#include "app/window/SystemPaths.h"
#include "engine/HashTests.h"

namespace {

namespace integration = tolvek::integration;

int runMenus(integration::FilesCommand::Kind kind) {
    const integration::MenuFolders folders = integration::MenuFoldersOfThisProcess();
    const integration::MenuReport report =
        kind == integration::FilesCommand::Kind::InstallMenus
            ? integration::InstallMenus(folders, std::filesystem::read_symlink("/proc/self/exe"))
            : integration::RemoveMenus(folders);
    for (const std::string& line : report.lines) {
        std::printf("%s\n", line.c_str());
    }
    return report.failed ? 1 : 0;
}

std::filesystem::path instanceFolder() {
    return integration::InstanceFolderFrom(std::getenv("XDG_RUNTIME_DIR"), std::getenv("TMPDIR"),
                                           ::geteuid());
}

}  // namespace

int main(int argc, char** argv) {
    using Kind = integration::FilesCommand::Kind;
    const integration::FilesCommand command =
        integration::ParseFilesCommand(std::vector<std::string>(argv + 1, argv + argc));
    switch (command.kind) {
        case Kind::Help:
            std::fputs(integration::kFilesUsage.data(), stdout);
            return 0;
        case Kind::Version:
            std::printf("tolvek-files %s\n", tolvek::window::kVersion.data());
            return 0;
        case Kind::UsageError:
            std::fprintf(stderr, "tolvek-files: unknown option or option not alone: %s\n%s",
                         command.names.front().c_str(), integration::kFilesUsage.data());
            return 2;
        case Kind::InstallMenus:
        case Kind::RemoveMenus:
            return runMenus(command.kind);
        case Kind::Open:
            break;
    }
    std::error_code noFolder;
    const std::vector<std::string> names =
        integration::AbsoluteNames(command.names, std::filesystem::current_path(noFolder));

    // Qt is given argument 0 alone: the names are names, whatever their text.
    int qtArgumentCount = 1;
    QApplication application(qtArgumentCount, argv);
    QApplication::setApplicationName(QString::fromUtf8(tolvek::kProductName));
    QApplication::setApplicationVersion(QString::fromUtf8(tolvek::window::kVersion));
    QGuiApplication::setDesktopFileName(QString::fromUtf8(tolvek::kApplicationId) + "-files");
    QApplication::setWindowIcon(tolvek::desktop::MainIcon());

    tolvek::desktop::DesktopFrontEnd* frontEnd = nullptr;
    const std::filesystem::path folder = instanceFolder();
    tolvek::desktop::FilesInstance instance(folder, [&frontEnd](std::vector<std::string> handed) {
        if (frontEnd != nullptr) {
            frontEnd->openInFilesWindow(handed);
        }
    });
    const integration::Role role = integration::PreparePrivateFolder(folder)
                                       ? integration::ChooseRole(instance,
                                                                 integration::EncodeNames(names))
                                       : integration::Role::StandAlone;
    if (role == integration::Role::HandedOver) {
        return 0;
    }
    tolvek::desktop::DesktopFrontEnd files(tolvek::desktop::DesktopServices::System(),
                                           tolvek::desktop::ProgramFolders::OfThisProcess(),
                                           tolvek::engine::TestAllHashTypes);
    frontEnd = &files;
    // The program ends with the files window; a start from then on serves itself.
    QObject::connect(&application, &QGuiApplication::lastWindowClosed, &application,
                     [&instance] { instance.stopServing(); });
    if (files.startUpFilesWindow(names) == tolvek::window::StartUpOutcome::EndProgram) {
        instance.stopServing();
        QApplication::exec();
        return 1;
    }
    return QApplication::exec();
}

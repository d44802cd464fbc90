#include "cli/FileTree.h"

#include <filesystem>
#include <ostream>

#include "app/checks/FolderWalk.h"
#include "cli/Messages.h"

namespace tolvek::cli {

namespace {

std::string skipNote(const std::string& name, app::Skipped why, int systemError) {
    switch (why) {
        case app::Skipped::Unreadable:
            return FileError(name, systemError, "");
        case app::Skipped::HoldsItself:
            return "tolvek-cli: " + QuotedName(name) + ": skipped, a folder that holds itself\n";
        case app::Skipped::NotAFile:
            return "tolvek-cli: " + QuotedName(name) + ": skipped, not a regular file\n";
    }
    return {};
}

}  // namespace

bool VisitFiles(const std::vector<std::string>& arguments, const TreeOptions& options,
                const std::function<bool(const std::string& name, bool named)>& visit,
                std::ostream& errors) {
    bool readable = true;
    app::FolderVisit folderVisit;
    folderVisit.followLinks = options.followLinks;
    folderVisit.file = [&visit](const std::string& name) { return visit(name, false); };
    folderVisit.skipped = [&](const std::string& name, app::Skipped why, int systemError) {
        readable = readable && why != app::Skipped::Unreadable;
        errors << skipNote(name, why, systemError);
    };
    for (const std::string& argument : arguments) {
        std::error_code ignored;
        const bool going = options.recursive && std::filesystem::is_directory(argument, ignored)
                               ? app::WalkFolder(argument, folderVisit)
                               : visit(argument, true);
        if (!going) {
            break;
        }
    }
    return readable;
}

}  // namespace tolvek::cli

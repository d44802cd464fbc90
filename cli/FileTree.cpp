#include "cli/FileTree.h"

#include <filesystem>
#include <ostream>

#include "app/checks/FolderWalk.h"
#include "cli/Messages.h"

namespace tolvek::cli {

namespace {

std::string skipNote(const std::string& name, checks::Skipped why, int systemError) {
    switch (why) {
        case checks::Skipped::Unreadable:
            return FileError(name, systemError, "");
        case checks::Skipped::HoldsItself:
            return "tolvek-cli: " + QuotedName(name) + ": skipped, a folder that holds itself\n";
        case checks::Skipped::NotAFile:
            return "tolvek-cli: " + QuotedName(name) + ": skipped, not a regular file\n";
    }
    return {};
}

}  // namespace

bool VisitFiles(const std::vector<std::string>& arguments, const TreeOptions& options,
                const std::function<bool(const std::string& name, bool named)>& visit,
                std::ostream& errors) {
    bool readable = true;
    checks::FolderVisit folderVisit;
    folderVisit.followLinks = options.followLinks;
    folderVisit.file = [&visit](const std::string& name) { return visit(name, false); };
    folderVisit.skipped = [&](const std::string& name, checks::Skipped why, int systemError) {
        readable = readable && why != checks::Skipped::Unreadable;
        errors << skipNote(name, why, systemError);
    };
    for (const std::string& argument : arguments) {
        std::error_code ignored;
        const bool going = options.recursive && std::filesystem::is_directory(argument, ignored)
                               ? checks::WalkFolder(argument, folderVisit)
                               : visit(argument, true);
        if (!going) {
            break;
        }
    }
    return readable;
}

}  // namespace tolvek::cli

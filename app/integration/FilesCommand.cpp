#include "app/integration/FilesCommand.h"

#include <array>
#include <utility>

namespace tolvek::integration {

FilesCommand ParseFilesCommand(const std::vector<std::string>& arguments) {
    using Kind = FilesCommand::Kind;
    static const std::array<std::pair<std::string_view, Kind>, 4> kOptions = {{
        {"--install-menus", Kind::InstallMenus},
        {"--remove-menus", Kind::RemoveMenus},
        {"--help", Kind::Help},
        {"--version", Kind::Version},
    }};
    FilesCommand command{Kind::Open, {}};
    bool optionsEnded = false;
    for (const std::string& argument : arguments) {
        if (optionsEnded || argument.size() < 2 || argument[0] != '-') {
            command.names.push_back(argument);
            continue;
        }
        if (argument == "--") {
            optionsEnded = true;
            continue;
        }
        Kind option = Kind::UsageError;
        for (const auto& [text, kind] : kOptions) {
            option = argument == text ? kind : option;
        }
        if (option == Kind::UsageError || arguments.size() != 1) {
            return {Kind::UsageError, {argument}};
        }
        return {option, {}};
    }
    return command;
}

}  // namespace tolvek::integration

#include "app/window/SecondaryWindows.h"

namespace tolvek::window {

std::string AboutLinkTarget(AboutLink link) {
    if (link == AboutLink::Mail) {
        std::string target = "mailto:";
        target.append(kTranslationContact).append(kMailQuery);
        return target;
    }
    return std::string(kContactPageAddress);
}

void OpenAboutLink(WindowSystem& windows, AboutLink link) {
    windows.openUrl(AboutLinkTarget(link));
}

}  // namespace tolvek::window

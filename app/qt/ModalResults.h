// The modal windows' results as QDialog codes: OK gives 1, a request to close -1.
#pragma once

#include "app/window/WindowSystem.h"

namespace tolvek::desktop {

constexpr int ModalCode(app::ModalResult result) {
    return static_cast<int>(result);
}

// How a modal run that returned `code` ended; anything but OK counts as closed.
constexpr app::ModalResult ModalResultOf(int code) {
    return code == ModalCode(app::ModalResult::Ok) ? app::ModalResult::Ok
                                                   : app::ModalResult::Closed;
}

}  // namespace tolvek::desktop

// The modal windows' results as QDialog codes: OK gives 1, a request to close -1.
#pragma once

#include "app/window/WindowSystem.h"

namespace tolvek::desktop {

constexpr int ModalCode(window::ModalResult result) {
    return static_cast<int>(result);
}

// How a modal run that returned `code` ended; anything but OK counts as closed.
constexpr window::ModalResult ModalResultOf(int code) {
    return code == ModalCode(window::ModalResult::Ok) ? window::ModalResult::Ok
                                                   : window::ModalResult::Closed;
}

}  // namespace tolvek::desktop

// The words on the buttons of the boxes the windows ask and tell with, where no other words are
// fixed for them.
#include "app/window/TextGroups.h"
#include "app/window/TextNumbers.h"
#include "app/window/WindowSystem.h"

namespace tolvek::window {

namespace {

// clang-format off
using BoxTexts = std::array<std::string_view, 3>;

constexpr BoxTexts kEnglishBox = {"Yes", "No", "OK"};

constexpr GroupTexts<3> kBoxTexts = {{
    {"Ja", "Nein", "OK"},
    kEnglishBox,
    {"Sim", "Não", "OK"},
    {"Oui", "Non", "OK"},
    {"Sì", "No", "OK"},
    {"Sí", "No", "Aceptar"},
    {"是", "否", "确定"},
    {"Da", "Ne", "U redu"},
    {"Да", "Нет", "ОК"},
    {"Ja", "Nee", "OK"},
    {"Ja", "Nej", "OK"},
    kEnglishBox,
}};
// clang-format on

}  // namespace

const TextGroup kBoxTextGroup = MakeTextGroup<kYesText, kBoxTexts>();

BoxButtons LoadBoxButtons(const std::function<std::string(int)>& loadText) {
    return {loadText(kYesText), loadText(kNoText), loadText(kOkText), loadText(kCancelText)};
}

}  // namespace tolvek::window

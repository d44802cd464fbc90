#include "app/window/TextGroups.h"

namespace tolvek::window {

namespace {

// clang-format off
constexpr std::array<std::string_view, 1> kEnglishSidecar = {
    "Check with %1",
};

constexpr GroupTexts<1> kSidecarTexts = {{
    {"Mit %1 prüfen"},
    kEnglishSidecar,
    {"Verificar com %1"},
    {"Vérifier avec %1"},
    {"Verifica con %1"},
    {"Comprobar con %1"},
    {"用 %1 校验"},
    {"Provjeri algoritmom %1"},
    {"Проверить по %1"},
    {"Controleren met %1"},
    {"Kontrollér med %1"},
    kEnglishSidecar,
}};
// clang-format on

}  // namespace

const TextGroup kSidecarTextGroup = MakeTextGroup<106, kSidecarTexts>();

}  // namespace tolvek::window

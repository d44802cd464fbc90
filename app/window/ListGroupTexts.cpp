#include "app/window/TextGroups.h"

namespace tolvek::window {

namespace {

// clang-format off
using ListGroupTexts = std::array<std::string_view, 3>;

constexpr ListGroupTexts kEnglishGroups = {
    "Original entries", "More hashes", "Checksums and fast hashes"};

constexpr GroupTexts<3> kListGroupTexts = {{
    {"Ursprüngliche Einträge", "Weitere Hashes", "Prüfsummen und schnelle Hashes"},
    kEnglishGroups,
    {"Entradas originais", "Mais hashes", "Somas de verificação e hashes rápidos"},
    {"Entrées d'origine", "Autres hashs", "Sommes de contrôle et hashs rapides"},
    {"Voci originali", "Altri hash", "Checksum e hash veloci"},
    {"Entradas originales", "Más hashes", "Sumas de comprobación y hashes rápidos"},
    {"原有条目", "更多HASH算法", "校验和与快速HASH"},
    {"Izvorne stavke", "Dodatni hashevi", "Kontrolni zbrojevi i brzi hashevi"},
    {"Исходные пункты", "Другие hash-функции", "Контрольные суммы и быстрые hash-функции"},
    {"Oorspronkelijke items", "Meer hashes", "Controlesommen en snelle hashes"},
    {"Oprindelige punkter", "Flere hashes", "Kontrolsummer og hurtige hashes"},
    kEnglishGroups,
}};
// clang-format on

}  // namespace

const TextGroup kListGroupTextGroup = MakeTextGroup<130, kListGroupTexts>();

}  // namespace tolvek::window

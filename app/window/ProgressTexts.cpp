#include "app/window/TextGroups.h"

namespace tolvek::window {

namespace {

// clang-format off
using ProgressTexts = std::array<std::string_view, 10>;

constexpr ProgressTexts kEnglishProgress = {
    "%1 of %2", "%1 left", "Cancel", "Cancelled", "B", "KiB", "MiB", "GiB", "TiB", "."};

constexpr GroupTexts<10> kProgressTexts = {{
    {"%1 von %2", "noch %1", "Abbrechen", "Abgebrochen", "B", "KiB", "MiB", "GiB", "TiB", ","},
    kEnglishProgress,
    {"%1 de %2", "faltam %1", "Cancelar", "Cancelado", "B", "KiB", "MiB", "GiB", "TiB", ","},
    {"%1 sur %2", "reste %1", "Annuler", "Annulé", "o", "Kio", "Mio", "Gio", "Tio", ","},
    {"%1 di %2", "%1 rimanenti", "Annulla", "Annullato", "B", "KiB", "MiB", "GiB", "TiB", ","},
    {"%1 de %2", "quedan %1", "Cancelar", "Cancelado", "B", "KiB", "MiB", "GiB", "TiB", ","},
    {"%1 / 共 %2", "剩余 %1", "取消", "已取消", "B", "KiB", "MiB", "GiB", "TiB", "."},
    {"%1 od %2", "preostalo %1", "Odustani", "Otkazano", "B", "KiB", "MiB", "GiB", "TiB", ","},
    {"%1 из %2", "осталось %1", "Отмена", "Отменено", "Б", "КиБ", "МиБ", "ГиБ", "ТиБ", ","},
    {"%1 van %2", "nog %1", "Annuleren", "Geannuleerd", "B", "KiB", "MiB", "GiB", "TiB", ","},
    {"%1 af %2", "%1 tilbage", "Annuller", "Annulleret", "B", "KiB", "MiB", "GiB", "TiB", ","},
    kEnglishProgress,
}};
// clang-format on

}  // namespace

const TextGroup kProgressTextGroup = MakeTextGroup<16, kProgressTexts>();

}  // namespace tolvek::window

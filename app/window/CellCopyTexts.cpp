// The files window's commands on one cell of its rows: copying the cell, copying its column.
#include "app/window/TextGroups.h"
#include "app/window/TextNumbers.h"

namespace tolvek::window {

namespace {

// clang-format off
using CellCopyTexts = std::array<std::string_view, 2>;

constexpr CellCopyTexts kEnglishCellCopy = {"Copy cell", "Copy column"};

constexpr GroupTexts<2> kCellCopyTexts = {{
    {"Zelle kopieren", "Spalte kopieren"},
    kEnglishCellCopy,
    {"Copiar célula", "Copiar coluna"},
    {"Copier la cellule", "Copier la colonne"},
    {"Copia cella", "Copia colonna"},
    {"Copiar celda", "Copiar columna"},
    {"复制单元格", "复制该列"},
    {"Kopiraj ćeliju", "Kopiraj stupac"},
    {"Копировать ячейку", "Копировать столбец"},
    {"Cel kopiëren", "Kolom kopiëren"},
    {"Kopiér celle", "Kopiér kolonne"},
    kEnglishCellCopy,
}};
// clang-format on

}  // namespace

const TextGroup kCellCopyTextGroup = MakeTextGroup<kCopyCellText, kCellCopyTexts>();

}  // namespace tolvek::window

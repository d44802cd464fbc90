#include "app/window/TextGroups.h"

namespace tolvek::window {

namespace {

// clang-format off
using NoteTexts = std::array<std::string_view, 3>;

constexpr NoteTexts kEnglishNote = {
    "The hash shown was made with %1.",
    "Hash again",
    "%1 names no file: the text itself was hashed.",
};

constexpr GroupTexts<3> kNoteTexts = {{
    {"Der angezeigte Hash wurde mit %1 berechnet.",
     "Neu berechnen",
     "%1 ist keine Datei: der Text selbst wurde gehasht."},
    kEnglishNote,
    {"O hash mostrado foi calculado com %1.",
     "Calcular de novo",
     "%1 não é um arquivo: o hash foi calculado do próprio texto."},
    {"Le hash affiché a été calculé avec %1.",
     "Recalculer",
     "%1 ne désigne aucun fichier : le hash est celui du texte lui-même."},
    {"L'hash mostrato è stato calcolato con %1.",
     "Ricalcola",
     "%1 non è un file: l'hash è quello del testo stesso."},
    {"El hash mostrado se calculó con %1.",
     "Recalcular",
     "%1 no es ningún fichero: el hash es el del propio texto."},
    {"显示的HASH值是用 %1 计算的。",
     "重新计算",
     "%1 不是文件：已对该字串本身计算HASH值。"},
    {"Prikazani hash izračunat je algoritmom %1.",
     "Izračunaj opet",
     "%1 nije datoteka: izračunat je hash samog teksta."},
    {"Показанный hash вычислен алгоритмом %1.",
     "Пересчитать",
     "%1 — не файл: hash вычислен для самого текста."},
    {"De getoonde hash is berekend met %1.",
     "Opnieuw hashen",
     "%1 is geen bestand: de tekst zelf is gehasht."},
    {"Den viste hash er beregnet med %1.",
     "Beregn igen",
     "%1 er ikke en fil: selve teksten blev hashet."},
    kEnglishNote,
}};
// clang-format on

}  // namespace

const TextGroup kNoteTextGroup = MakeTextGroup<69, kNoteTexts>();

}  // namespace tolvek::window

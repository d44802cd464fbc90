#include "app/core/TextGroups.h"

namespace tolvek::app {

namespace {

// clang-format off
using CompareTexts = std::array<std::string_view, 7>;

constexpr CompareTexts kEnglishCompare = {
    "It is the %1 hash of this file.",
    "It is the %1 hash of this text.",
    "Select %1?",
    "None of the algorithms of this length gives this hash (%1 tried).",
    "Looking for the algorithm of %1",
    "%1 detects accidental damage, but not deliberate tampering.",
    "Compare with file…",
};

constexpr GroupTexts<7> kCompareTexts = {{
    {"Es ist der %1-Hash dieser Datei.",
     "Es ist der %1-Hash dieses Textes.",
     "%1 auswählen?",
     "Keiner der Algorithmen dieser Länge ergibt diesen Hash (%1 geprüft).",
     "Suche den Algorithmus von %1",
     "%1 erkennt zufällige Schäden, aber keine absichtliche Manipulation.",
     "Mit Datei vergleichen…"},
    kEnglishCompare,
    {"É o hash %1 deste arquivo.",
     "É o hash %1 deste texto.",
     "Selecionar %1?",
     "Nenhum dos algoritmos deste tamanho gera este hash (%1 testados).",
     "Procurando o algoritmo de %1",
     "%1 detecta danos acidentais, mas não adulteração deliberada.",
     "Comparar com arquivo…"},
    {"C'est le hash %1 de ce fichier.",
     "C'est le hash %1 de ce texte.",
     "Sélectionner %1 ?",
     "Aucun des algorithmes de cette longueur ne donne ce hash (%1 essayés).",
     "Recherche de l'algorithme de %1",
     "%1 détecte les dommages accidentels, mais pas une falsification délibérée.",
     "Comparer avec un fichier…"},
    {"È l'hash %1 di questo file.",
     "È l'hash %1 di questo testo.",
     "Selezionare %1?",
     "Nessuno degli algoritmi di questa lunghezza dà questo hash (%1 provati).",
     "Ricerca dell'algoritmo di %1",
     "%1 rileva danni accidentali, ma non manomissioni deliberate.",
     "Confronta con file…"},
    {"Es el hash %1 de este fichero.",
     "Es el hash %1 de este texto.",
     "¿Seleccionar %1?",
     "Ninguno de los algoritmos de esta longitud da este hash (%1 probados).",
     "Buscando el algoritmo de %1",
     "%1 detecta daños accidentales, pero no una manipulación deliberada.",
     "Comparar con fichero…"},
    {"这是此文件的 %1 HASH值。",
     "这是此字串的 %1 HASH值。",
     "选择 %1？",
     "此长度的算法均不产生该HASH值（已尝试 %1 种）。",
     "正在查找 %1 的算法",
     "%1 可发现意外损坏，但无法发现蓄意篡改。",
     "与文件比较…"},
    {"To je %1 hash ove datoteke.",
     "To je %1 hash ovog teksta.",
     "Odabrati %1?",
     "Nijedan algoritam ove duljine ne daje ovaj hash (isprobano: %1).",
     "Traženje algoritma za %1",
     "%1 otkriva slučajna oštećenja, ali ne i namjerne izmjene.",
     "Usporedi s datotekom…"},
    {"Это hash %1 этого файла.",
     "Это hash %1 этой строки.",
     "Выбрать %1?",
     "Ни один алгоритм этой длины не даёт такой hash (проверено: %1).",
     "Поиск алгоритма для %1",
     "%1 обнаруживает случайные повреждения, но не преднамеренную подделку.",
     "Сравнить с файлом…"},
    {"Het is de %1-hash van dit bestand.",
     "Het is de %1-hash van deze tekst.",
     "%1 kiezen?",
     "Geen van de algoritmen met deze lengte geeft deze hash (%1 geprobeerd).",
     "Algoritme zoeken voor %1",
     "%1 ontdekt toevallige schade, maar geen opzettelijke vervalsing.",
     "Vergelijk met bestand…"},
    {"Det er %1-hashen af denne fil.",
     "Det er %1-hashen af denne tekst.",
     "Vælg %1?",
     "Ingen af algoritmerne med denne længde giver denne hash (%1 prøvet).",
     "Søger algoritmen for %1",
     "%1 opdager utilsigtet skade, men ikke bevidst manipulation.",
     "Sammenlign med fil…"},
    kEnglishCompare,
}};
// clang-format on

}  // namespace

const TextGroup kCompareTextGroup = MakeTextGroup<26, kCompareTexts>();

}  // namespace tolvek::app

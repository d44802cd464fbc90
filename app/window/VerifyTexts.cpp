#include "app/window/TextGroups.h"

namespace tolvek::window {

namespace {

// clang-format off
using VerifyTexts = std::array<std::string_view, 6>;

constexpr VerifyTexts kEnglishVerify = {
    "Check with %1",
    "Expected digest to find among the results",
    "%1 — matches",
    "Matches the expected digest: %1",
    "None of the %1 digests of that length matches the expected digest.",
    "The text holds no digest of a length the program knows.",
};

constexpr GroupTexts<6> kVerifyTexts = {{
    {"Mit %1 prüfen",
     "Erwarteter Hashwert, in den Ergebnissen zu suchen",
     "%1 — stimmt überein",
     "Stimmt mit dem erwarteten Hashwert überein: %1",
     "Keiner der %1 Hashwerte dieser Länge stimmt mit dem erwarteten überein.",
     "Der Text enthält keinen Hashwert einer bekannten Länge."},
    kEnglishVerify,
    {"Verificar com %1",
     "Hash esperado a procurar nos resultados",
     "%1 — confere",
     "Confere com o hash esperado: %1",
     "Nenhum dos %1 hashes desse tamanho confere com o esperado.",
     "O texto não contém nenhum hash de tamanho conhecido."},
    {"Vérifier avec %1",
     "Hash attendu à chercher dans les résultats",
     "%1 — correspond",
     "Correspond au hash attendu : %1",
     "Aucun des %1 hashs de cette longueur ne correspond au hash attendu.",
     "Le texte ne contient aucun hash d'une longueur connue."},
    {"Verifica con %1",
     "Hash atteso da cercare nei risultati",
     "%1 — corrisponde",
     "Corrisponde all'hash atteso: %1",
     "Nessuno dei %1 hash di questa lunghezza corrisponde a quello atteso.",
     "Il testo non contiene alcun hash di lunghezza nota."},
    {"Comprobar con %1",
     "Hash esperado que buscar en los resultados",
     "%1 — coincide",
     "Coincide con el hash esperado: %1",
     "Ninguno de los %1 hashes de esa longitud coincide con el esperado.",
     "El texto no contiene ningún hash de una longitud conocida."},
    {"用 %1 校验",
     "要在结果中查找的预期HASH值",
     "%1 — 一致",
     "与预期HASH值一致：%1",
     "该长度的 %1 个HASH值均与预期不一致。",
     "该文本中没有已知长度的HASH值。"},
    {"Provjeri algoritmom %1",
     "Očekivani hash za traženje u rezultatima",
     "%1 — podudara se",
     "Podudara se s očekivanim hashom: %1",
     "Nijedan od %1 hashova te duljine ne podudara se s očekivanim.",
     "Tekst ne sadrži hash poznate duljine."},
    {"Проверить по %1",
     "Ожидаемый hash для поиска в результатах",
     "%1 — совпадает",
     "Совпадает с ожидаемым hash: %1",
     "Ни один из %1 hash такой длины не совпадает с ожидаемым.",
     "В тексте нет hash известной длины."},
    {"Controleren met %1",
     "Verwachte hash om in de resultaten te zoeken",
     "%1 — komt overeen",
     "Komt overeen met de verwachte hash: %1",
     "Geen van de %1 hashes van die lengte komt overeen met de verwachte.",
     "De tekst bevat geen hash van een bekende lengte."},
    {"Kontrollér med %1",
     "Forventet hash, der skal findes i resultaterne",
     "%1 — stemmer",
     "Stemmer med den forventede hash: %1",
     "Ingen af de %1 hash af den længde stemmer med den forventede.",
     "Teksten indeholder ingen hash af en kendt længde."},
    kEnglishVerify,
}};
// clang-format on

}  // namespace

const TextGroup kVerifyTextGroup = MakeTextGroup<106, kVerifyTexts>();

}  // namespace tolvek::window

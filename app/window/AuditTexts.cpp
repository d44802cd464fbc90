#include "app/window/TextGroups.h"
#include "app/window/TextNumbers.h"

namespace tolvek::window {

namespace {

// clang-format off
using AuditTexts = std::array<std::string_view, 8>;

constexpr AuditTexts kEnglishAudit = {
    "Check folder against list…", "unchanged", "changed", "moved", "new", "moved from %1",
    "%1 does not name one algorithm for all its lines, so no folder can be checked against it.",
    "These files changed since the list was made:\n%1\nKeep them, with their current content as the reference? No leaves them out."};

constexpr GroupTexts<8> kAuditTexts = {{
    {"Ordner mit Liste abgleichen…", "unverändert", "geändert", "verschoben", "neu", "verschoben von %1",
     "%1 nennt nicht für alle Zeilen denselben Algorithmus; kein Ordner kann damit abgeglichen werden.",
     "Diese Dateien haben sich seit dem Erstellen der Liste geändert:\n%1\nMit ihrem jetzigen Inhalt als Referenz behalten? Nein lässt sie weg."},
    kEnglishAudit,
    {"Comparar pasta com lista…", "inalterado", "alterado", "movido", "novo", "movido de %1",
     "%1 não indica um único algoritmo para todas as linhas; nenhuma pasta pode ser comparada com ela.",
     "Estes arquivos mudaram desde que a lista foi criada:\n%1\nMantê-los com o conteúdo atual como referência? Não os deixa de fora."},
    {"Comparer un dossier à une liste…", "inchangé", "modifié", "déplacé", "nouveau", "déplacé depuis %1",
     "%1 n'indique pas un seul algorithme pour toutes ses lignes ; aucun dossier ne peut lui être comparé.",
     "Ces fichiers ont changé depuis la création de la liste :\n%1\nLes garder, leur contenu actuel servant de référence ? Non les écarte."},
    {"Confronta cartella con elenco…", "invariato", "modificato", "spostato", "nuovo", "spostato da %1",
     "%1 non indica un unico algoritmo per tutte le righe; nessuna cartella può essere confrontata con esso.",
     "Questi file sono cambiati da quando l'elenco è stato creato:\n%1\nTenerli con il contenuto attuale come riferimento? No li esclude."},
    {"Comparar carpeta con lista…", "sin cambios", "cambiado", "movido", "nuevo", "movido desde %1",
     "%1 no indica un único algoritmo para todas sus líneas; no se puede comparar ninguna carpeta con ella.",
     "Estos archivos cambiaron desde que se creó la lista:\n%1\n¿Conservarlos con su contenido actual como referencia? No los omite."},
    {"对照列表检查文件夹…", "未更改", "已更改", "已移动", "新增", "移自 %1",
     "%1 的各行未指明同一种算法，无法用它检查文件夹。",
     "以下文件在列表创建后已更改：\n%1\n以其当前内容为基准保留它们吗？选“否”则不包含。"},
    {"Usporedi mapu s popisom…", "nepromijenjeno", "promijenjeno", "premješteno", "novo", "premješteno iz %1",
     "%1 ne navodi jedan algoritam za sve retke pa se nijedna mapa ne može usporediti s njim.",
     "Ove datoteke promijenile su se otkad je popis napravljen:\n%1\nZadržati ih s trenutnim sadržajem kao referencom? Ne ih izostavlja."},
    {"Сверить папку со списком…", "без изменений", "изменён", "перемещён", "новый", "перемещён из %1",
     "В %1 нет одного алгоритма для всех строк, поэтому сверить с ним папку нельзя.",
     "Эти файлы изменились после создания списка:\n%1\nОставить их, взяв нынешнее содержимое за эталон? «Нет» исключит их."},
    {"Map vergelijken met lijst…", "ongewijzigd", "gewijzigd", "verplaatst", "nieuw", "verplaatst van %1",
     "%1 noemt niet één algoritme voor al zijn regels; er kan geen map mee worden vergeleken.",
     "Deze bestanden zijn gewijzigd sinds de lijst werd gemaakt:\n%1\nBewaren met hun huidige inhoud als referentie? Nee laat ze weg."},
    {"Sammenlign mappe med liste…", "uændret", "ændret", "flyttet", "ny", "flyttet fra %1",
     "%1 angiver ikke én algoritme for alle sine linjer, så ingen mappe kan sammenlignes med den.",
     "Disse filer er ændret, siden listen blev lavet:\n%1\nBehold dem med deres nuværende indhold som reference? Nej udelader dem."},
    kEnglishAudit,
}};
// clang-format on

}  // namespace

const TextGroup kAuditTextGroup = MakeTextGroup<kCheckFolderCommandText, kAuditTexts>();

}  // namespace tolvek::window

#include "app/window/TextGroups.h"

namespace tolvek::window {

namespace {

// clang-format off
using FilesTexts = std::array<std::string_view, 11>;

constexpr FilesTexts kEnglishFiles = {
    "Open…", "Add files…", "Add folder…", "Paste names", "Remove", "Clear", "Export report…",
    "Drop files, folders or checksum lists here, or use Open, Add folder or Paste names. Files are hashed, lists are checked.",
    "These files FAILED the check:\n%1\nKeep them, with their current content as the reference? No leaves them out.",
    "These files lie outside the list's folder and were saved with absolute names:\n%1",
    "%1 is larger than 16 MiB and is not read as a checksum list."};

constexpr GroupTexts<11> kFilesTexts = {{
    {"Öffnen…", "Dateien hinzufügen…", "Ordner hinzufügen…", "Namen einfügen", "Entfernen", "Leeren", "Bericht exportieren…",
     "Dateien, Ordner oder Prüfsummenlisten hierher ziehen oder Öffnen, Ordner hinzufügen oder Namen einfügen wählen. Dateien werden berechnet, Listen geprüft.",
     "Diese Dateien haben die Prüfung NICHT bestanden:\n%1\nMit ihrem jetzigen Inhalt als Referenz behalten? Nein lässt sie weg.",
     "Diese Dateien liegen außerhalb des Ordners der Liste und wurden mit absolutem Pfad gespeichert:\n%1",
     "%1 ist größer als 16 MiB und wird nicht als Prüfsummenliste gelesen."},
    kEnglishFiles,
    {"Abrir…", "Adicionar arquivos…", "Adicionar pasta…", "Colar nomes", "Remover", "Limpar", "Exportar relatório…",
     "Solte aqui arquivos, pastas ou listas de somas, ou use Abrir, Adicionar pasta ou Colar nomes. Arquivos são calculados, listas verificadas.",
     "Estes arquivos FALHARAM na verificação:\n%1\nMantê-los com o conteúdo atual como referência? Não os deixa de fora.",
     "Estes arquivos estão fora da pasta da lista e foram salvos com caminho absoluto:\n%1",
     "%1 tem mais de 16 MiB e não é lido como lista de somas."},
    {"Ouvrir…", "Ajouter des fichiers…", "Ajouter un dossier…", "Coller des noms", "Retirer", "Vider", "Exporter le rapport…",
     "Déposez ici fichiers, dossiers ou listes de sommes, ou utilisez Ouvrir, Ajouter un dossier ou Coller des noms. Fichiers calculés, listes vérifiées.",
     "Ces fichiers ont ÉCHOUÉ à la vérification :\n%1\nLes garder, leur contenu actuel servant de référence ? Non les écarte.",
     "Ces fichiers sont hors du dossier de la liste et ont été enregistrés en chemin absolu :\n%1",
     "%1 dépasse 16 Mio et n'est pas lu comme liste de sommes."},
    {"Apri…", "Aggiungi file…", "Aggiungi cartella…", "Incolla nomi", "Rimuovi", "Svuota", "Esporta rapporto…",
     "Trascina qui file, cartelle o elenchi di checksum, oppure usa Apri, Aggiungi cartella o Incolla nomi. I file vengono calcolati, gli elenchi verificati.",
     "Questi file NON hanno superato la verifica:\n%1\nTenerli con il contenuto attuale come riferimento? No li esclude.",
     "Questi file sono fuori dalla cartella dell'elenco e sono stati salvati con percorso assoluto:\n%1",
     "%1 supera 16 MiB e non viene letto come elenco di checksum."},
    {"Abrir…", "Añadir archivos…", "Añadir carpeta…", "Pegar nombres", "Quitar", "Vaciar", "Exportar informe…",
     "Suelte aquí archivos, carpetas o listas de sumas, o use Abrir, Añadir carpeta o Pegar nombres. Los archivos se calculan, las listas se comprueban.",
     "Estos archivos FALLARON la comprobación:\n%1\n¿Conservarlos con su contenido actual como referencia? No los omite.",
     "Estos archivos están fuera de la carpeta de la lista y se guardaron con ruta absoluta:\n%1",
     "%1 ocupa más de 16 MiB y no se lee como lista de sumas."},
    {"打开…", "添加文件…", "添加文件夹…", "粘贴名称", "移除", "清空", "导出报告…",
     "将文件、文件夹或校验和列表拖到这里，或使用“打开”“添加文件夹”“粘贴名称”。文件会计算哈希，列表会被校验。",
     "以下文件校验失败：\n%1\n以其当前内容为基准保留它们吗？选“否”则不包含。",
     "以下文件位于列表所在文件夹之外，已以绝对路径保存：\n%1",
     "%1 大于 16 MiB，不作为校验和列表读取。"},
    {"Otvori…", "Dodaj datoteke…", "Dodaj mapu…", "Zalijepi nazive", "Ukloni", "Isprazni", "Izvezi izvješće…",
     "Ovdje ispustite datoteke, mape ili popise zbrojeva ili upotrijebite Otvori, Dodaj mapu ili Zalijepi nazive. Datoteke se izračunavaju, popisi provjeravaju.",
     "Ove datoteke NISU prošle provjeru:\n%1\nZadržati ih s trenutnim sadržajem kao referencom? Ne ih izostavlja.",
     "Ove datoteke su izvan mape popisa i spremljene su s apsolutnom putanjom:\n%1",
     "%1 je veći od 16 MiB i ne čita se kao popis zbrojeva."},
    {"Открыть…", "Добавить файлы…", "Добавить папку…", "Вставить имена", "Убрать", "Очистить", "Экспорт отчёта…",
     "Перетащите сюда файлы, папки или списки сумм либо нажмите «Открыть», «Добавить папку» или «Вставить имена».",
     "Эти файлы НЕ прошли проверку:\n%1\nОставить их, взяв нынешнее содержимое за эталон? «Нет» исключит их.",
     "Эти файлы лежат вне папки списка и сохранены с абсолютным путём:\n%1",
     "%1 больше 16 МиБ и не читается как список сумм."},
    {"Openen…", "Bestanden toevoegen…", "Map toevoegen…", "Namen plakken", "Verwijderen", "Leegmaken", "Rapport exporteren…",
     "Sleep hier bestanden, mappen of controlesomlijsten heen, of kies Openen, Map toevoegen of Namen plakken. Bestanden worden berekend, lijsten gecontroleerd.",
     "Deze bestanden zijn NIET door de controle gekomen:\n%1\nBewaren met hun huidige inhoud als referentie? Nee laat ze weg.",
     "Deze bestanden staan buiten de map van de lijst en zijn met een absoluut pad opgeslagen:\n%1",
     "%1 is groter dan 16 MiB en wordt niet als controlesomlijst gelezen."},
    {"Åbn…", "Tilføj filer…", "Tilføj mappe…", "Indsæt navne", "Fjern", "Ryd", "Eksportér rapport…",
     "Træk filer, mapper eller tjeksumlister hertil, eller brug Åbn, Tilføj mappe eller Indsæt navne. Filer beregnes, lister kontrolleres.",
     "Disse filer BESTOD IKKE kontrollen:\n%1\nBehold dem med deres nuværende indhold som reference? Nej udelader dem.",
     "Disse filer ligger uden for listens mappe og blev gemt med absolut sti:\n%1",
     "%1 er større end 16 MiB og læses ikke som tjeksumliste."},
    kEnglishFiles,
}};
// clang-format on

}  // namespace

const TextGroup kFilesTextGroup = MakeTextGroup<90, kFilesTexts>();

}  // namespace tolvek::window

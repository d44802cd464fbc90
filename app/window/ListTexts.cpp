#include "app/window/TextGroups.h"

namespace tolvek::window {

namespace {

// clang-format off
using ListTexts = std::array<std::string_view, 23>;

constexpr ListTexts kEnglishList = {
    "Expected digest found in %1: %2", "Dismiss",
    "%1 is a checksum list of %2 files.", "Check files",
    "Check list", "File", "Algorithm", "Digest", "Status",
    "OK", "FAILED", "missing", "unreadable", "cancelled",
    "Copy line (GNU)", "Copy line (BSD)", "Copy all (GNU)", "Copy all (BSD)",
    "Save list…", "%1 already exists. Replace it?", "Could not save %1", "%1 of %2 files",
    "These folders could not be read and were skipped:\n%1"};

constexpr GroupTexts<23> kListTexts = {{
    {"Erwarteter Hashwert in %1 gefunden: %2", "Verwerfen",
     "%1 ist eine Prüfsummenliste mit %2 Dateien.", "Dateien prüfen",
     "Liste prüfen", "Datei", "Algorithmus", "Hashwert", "Status",
     "OK", "FEHLER", "fehlt", "nicht lesbar", "abgebrochen",
     "Zeile kopieren (GNU)", "Zeile kopieren (BSD)", "Alles kopieren (GNU)", "Alles kopieren (BSD)",
     "Liste speichern…", "%1 gibt es schon. Ersetzen?", "%1 konnte nicht gespeichert werden", "%1 von %2 Dateien",
     "Diese Ordner konnten nicht gelesen werden und wurden übersprungen:\n%1"},
    kEnglishList,
    {"Hash esperado encontrado em %1: %2", "Descartar",
     "%1 é uma lista de somas de verificação com %2 arquivos.", "Verificar arquivos",
     "Verificar lista", "Arquivo", "Algoritmo", "Hash", "Situação",
     "OK", "FALHOU", "ausente", "ilegível", "cancelado",
     "Copiar linha (GNU)", "Copiar linha (BSD)", "Copiar tudo (GNU)", "Copiar tudo (BSD)",
     "Salvar lista…", "%1 já existe. Substituir?", "Não foi possível salvar %1", "%1 de %2 arquivos",
     "Estas pastas não puderam ser lidas e foram ignoradas:\n%1"},
    {"Empreinte attendue trouvée dans %1 : %2", "Ignorer",
     "%1 est une liste de sommes de contrôle de %2 fichiers.", "Vérifier les fichiers",
     "Vérifier une liste", "Fichier", "Algorithme", "Empreinte", "État",
     "OK", "ÉCHEC", "absent", "illisible", "annulé",
     "Copier la ligne (GNU)", "Copier la ligne (BSD)", "Tout copier (GNU)", "Tout copier (BSD)",
     "Enregistrer la liste…", "%1 existe déjà. Le remplacer ?", "Impossible d'enregistrer %1", "%1 fichiers sur %2",
     "Ces dossiers n'ont pas pu être lus et ont été ignorés :\n%1"},
    {"Hash atteso trovato in %1: %2", "Ignora",
     "%1 è un elenco di checksum di %2 file.", "Verifica i file",
     "Verifica elenco", "File", "Algoritmo", "Hash", "Stato",
     "OK", "ERRATO", "mancante", "illeggibile", "annullato",
     "Copia riga (GNU)", "Copia riga (BSD)", "Copia tutto (GNU)", "Copia tutto (BSD)",
     "Salva elenco…", "%1 esiste già. Sostituirlo?", "Impossibile salvare %1", "%1 di %2 file",
     "Queste cartelle non si possono leggere e sono state saltate:\n%1"},
    {"Hash esperado encontrado en %1: %2", "Descartar",
     "%1 es una lista de sumas de comprobación de %2 archivos.", "Comprobar archivos",
     "Comprobar lista", "Archivo", "Algoritmo", "Hash", "Estado",
     "OK", "FALLIDO", "falta", "ilegible", "cancelado",
     "Copiar línea (GNU)", "Copiar línea (BSD)", "Copiar todo (GNU)", "Copiar todo (BSD)",
     "Guardar lista…", "%1 ya existe. ¿Reemplazarlo?", "No se pudo guardar %1", "%1 de %2 archivos",
     "Estas carpetas no se pudieron leer y se omitieron:\n%1"},
    {"在 %1 中找到预期的哈希值：%2", "忽略",
     "%1 是包含 %2 个文件的校验和列表。", "校验文件",
     "校验列表", "文件", "算法", "哈希值", "状态",
     "正确", "失败", "缺失", "无法读取", "已取消",
     "复制该行 (GNU)", "复制该行 (BSD)", "全部复制 (GNU)", "全部复制 (BSD)",
     "保存列表…", "%1 已存在。要替换吗？", "无法保存 %1", "第 %1 个，共 %2 个文件",
     "以下文件夹无法读取，已跳过：\n%1"},
    {"Očekivani sažetak pronađen u %1: %2", "Odbaci",
     "%1 je popis kontrolnih zbrojeva za %2 datoteka.", "Provjeri datoteke",
     "Provjera popisa", "Datoteka", "Algoritam", "Sažetak", "Stanje",
     "U REDU", "NEISPRAVNO", "nedostaje", "nečitljivo", "otkazano",
     "Kopiraj redak (GNU)", "Kopiraj redak (BSD)", "Kopiraj sve (GNU)", "Kopiraj sve (BSD)",
     "Spremi popis…", "%1 već postoji. Zamijeniti?", "Nije moguće spremiti %1", "%1 od %2 datoteka",
     "Ove mape nije moguće pročitati pa su preskočene:\n%1"},
    {"Ожидаемый хеш найден в %1: %2", "Отклонить",
     "%1 — список контрольных сумм для %2 файлов.", "Проверить файлы",
     "Проверка списка", "Файл", "Алгоритм", "Хеш", "Состояние",
     "ОК", "ОШИБКА", "отсутствует", "не читается", "отменено",
     "Копировать строку (GNU)", "Копировать строку (BSD)", "Копировать всё (GNU)", "Копировать всё (BSD)",
     "Сохранить список…", "%1 уже существует. Заменить?", "Не удалось сохранить %1", "%1 из %2 файлов",
     "Эти папки не удалось прочитать, они пропущены:\n%1"},
    {"Verwachte hash gevonden in %1: %2", "Negeren",
     "%1 is een controlesomlijst van %2 bestanden.", "Bestanden controleren",
     "Lijst controleren", "Bestand", "Algoritme", "Hash", "Status",
     "OK", "FOUT", "ontbreekt", "onleesbaar", "geannuleerd",
     "Regel kopiëren (GNU)", "Regel kopiëren (BSD)", "Alles kopiëren (GNU)", "Alles kopiëren (BSD)",
     "Lijst opslaan…", "%1 bestaat al. Vervangen?", "Kan %1 niet opslaan", "%1 van %2 bestanden",
     "Deze mappen konden niet worden gelezen en zijn overgeslagen:\n%1"},
    {"Forventet hashværdi fundet i %1: %2", "Afvis",
     "%1 er en tjeksumliste med %2 filer.", "Kontrollér filer",
     "Kontrollér liste", "Fil", "Algoritme", "Hashværdi", "Status",
     "OK", "FEJL", "mangler", "ulæselig", "annulleret",
     "Kopiér linje (GNU)", "Kopiér linje (BSD)", "Kopiér alt (GNU)", "Kopiér alt (BSD)",
     "Gem liste…", "%1 findes allerede. Erstat den?", "Kunne ikke gemme %1", "%1 af %2 filer",
     "Disse mapper kunne ikke læses og blev sprunget over:\n%1"},
    kEnglishList,
}};
// clang-format on

}  // namespace

const TextGroup kListTextGroup = MakeTextGroup<46, kListTexts>();

}  // namespace tolvek::window

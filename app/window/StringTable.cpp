#include "app/window/StringTable.h"

#include <array>
#include <string_view>

#include "app/window/Product.h"
#include "app/window/TextGroups.h"

namespace tolvek::window {

namespace {

using BlockTexts = std::array<std::string_view, kTextsPerBlock - 1>;

// Text 1 of a block, the main window's title, is "<start> <credit> <tail>"; texts 2 to 15 follow.
struct LanguageBlock {
    std::string_view titleStart;
    std::string_view titleTail;
    BlockTexts texts;
};

// clang-format off

// Texts 2 to 15 in English, also the template that translators start from.
constexpr BlockTexts kEnglishTexts = {{
    "Hash String",
    "Hash file",
    "Close",
    "renew hash",
    "-> Clipboard",
    "<- Clipboard",
    "Compare",
    "About",
    "Please choice a file or use drag&drop --> NEW calculate.",
    "Please select a file, or insert a hash to compare",
    "Hash is equal.",
    "Hash is not equal. Please check it",
    "Insert the String for HASH",
    "Hash to compare",
}};

constexpr std::array<LanguageBlock, kLanguageBlocks> kBlocks = {{
    // 0: German
    {"TOLVEK version 1.99", "- Deutsch", {{
        "Prüfe String",
        "Prüfe Datei",
        "Beenden",
        "Hash erneuern",
        "-> Zwischenablage",
        "<- Zwischenablage",
        "Vergleichen",
        "Über",
        "Bitte wählen Sie eine Datei, Sie können auch Drag & Drop nutzen",
        "Bitte eine Datei auswählen oder eine Prüfsumme eingeben",
        "Prüfsummen sind identisch",
        "Prüfsumme stimmt nicht, bitte überprüfen",
        "Geben Sie einen String ein.",
        "Hash vergleichen",
    }}},
    // 1000: English
    {"TOLVEK version 1.99", "- English", kEnglishTexts},
    // 2000: Portuguese
    {"TOLVEK versão 1.99", "- Português", {{
        "String Hash",
        "Arquivo Hash",
        "Fechar",
        "Atualizar Hash",
        "-> Copiar",
        "<- Colar",
        "Comparar",
        "Sobre",
        "Escolha um arquivo ou use arrastar --> Novo cálculo.",
        "Selecione um arquivo, ou insira um hash para comparar",
        "O Hash é idêntico.",
        "O Hash não é idêntico. Favor conferir",
        "Insira o String para HASH",
        "Hash comparar",
    }}},
    // 3000: French
    {"TOLVEK version 1.99", "- Français", {{
        "Hash Chaîne",
        "Hash Fichier",
        "Fermer",
        "Actualiser Hash",
        "-> Copier",
        "<- Coller",
        "Comparer",
        "À propos",
        "Veuillez sélectionner un fichier ou utiliser le Glisser/Déposer --> Nouveau calcul.",
        "Veuillez sélectionner un fichier ou insérer un hash à comparer",
        "Le hash est identique.",
        "Le hash n'est pas identique. Veuillez vérifier",
        "Inserez la chaîne à HASHER",
        "Hasher comparer",
    }}},
    // 4000: Italian
    {"TOLVEK versione 1.99", "(Italiano)", {{
        "Hash di Stringa",
        "Hash di File",
        "Chiudi",
        "Aggiorna Hash",
        "-> Copia",
        "<- Incolla",
        "Confronta",
        "Info",
        "Seleziona un file o usa drag&drop --> Aggiorna Hash",
        "Seleziona un file o inserisci Hash da confrontare",
        "Hash identico",
        "Hash NON identico. Verificare!",
        "Inserisci la Stringa",
        "Hash da confrontare",
    }}},
    // 5000: Spanish
    {"TOLVEK versión 1.99", "- Español", {{
        "Hash de cadena",
        "Hash de fichero",
        "Cerrar",
        "Rehacer hash",
        "-> Portapapeles",
        "<- Portapapeles",
        "Comparar",
        "Acerca de...",
        "Por favor elije un fichero o arrastralo --> Nuevo calcular.",
        "Por favor elije un fichero, o inserta un hash para compararlo",
        "El Hash es igual.",
        "El Hash no es igual. Por favor revisalo",
        "Inserta la cadena para el HASH",
        "Hash a comparar",
    }}},
    // 6000: Simplified Chinese
    {"TOLVEK version 1.99", "(Simplified Chinese)", {{
        "HASH 字串",
        "HASH 文件",
        "退出",
        "刷新 HASH",
        "-> 剪贴板",
        "<- 剪贴板",
        "比较",
        "关于",
        "请选择目标文件，或用鼠标把文件拖放进本格",
        "请选择目标文件，或插入HASH值进行比较",
        "HASH值匹配.",
        "HASH值没有匹配，请检查！",
        "插入需要HASH的字串",
        "比较 HASH",
    }}},
    // 7000: Croatian
    {"TOLVEK version 1.99", "- Hrvatski", {{
        "Isitaj Hash String",
        "Ipitaj Hash Program",
        "Zatvori - Close",
        "obnovi hash",
        "-> kopiraj u Clipboard",
        "<- ubazi iz Clipboarda",
        "usporedi",
        "preko",
        "Molim izaberi jedan Program ili koristi drag&drop --> Nova Kalkulatija.",
        "Molim izaberi jedan Program, ili ubazi jedan hash za usporedu",
        "Hash je isti ;o)",
        "Hash nije isti :o(   Molim pregledaj ga",
        "Ubazi String za HASH",
        "Hash za usporedu",
    }}},
    // 8000: Russian
    {"TOLVEK version 1.99", "- Russian", {{
        "Hash String",
        "Hash файл",
        "Выход",
        "Обновить hash",
        "-> Буфер обмена",
        "<- Буфер обмена",
        "Сравнить",
        "?",
        "Выберите файл или drag&drop --> Новое вычисление.",
        "Выберите файл, или введите hash для сравнения",
        "Hash-и одинаковы.",
        "Hash-и не одинаковы. Проверьте!",
        "Введите String для HASH",
        "Контрольный HASH",
    }}},
    // 9000: Dutch
    {"TOLVEK versie 1.99", "(Nederlands)", {{
        "Hash tekst",
        "Hash bestand",
        "Sluiten",
        "Ververs hash",
        "-> Klembord",
        "<- Klembord",
        "Vergelijk",
        "Over",
        "Kies een bestand. U kunt ook een bestand neerzetten",
        "Kies een bestand of voer een hash in om te vergelijken",
        "Hash komt overeen.",
        "Hash komt niet overeen. Controleer de integriteit",
        "Voer de tekst in voor de hash",
        "Te vergelijken hash",
    }}},
    // 10000: Danish
    {"TOLVEK version 1.99", "- Dansk", {{
        "Hash Streng",
        "Hash fil",
        "Luk",
        "opdater hash",
        "-> Udklipsholder",
        "<- Udklipsholder",
        "Sammenlign",
        "Om",
        "Vælg en fil eller bruge træk og slip --> NY beregning.",
        "Vælg en fil eller indsæt en hash at sammenligne",
        "Hash er ens.",
        "Hash er ikke ens. Tjek det",
        "Indsæt strengen for HASH",
        "Hash at sammenligne",
    }}},
    // 11000: the translators' template, the English texts
    {"TOLVEK version 1.99", "- Your language", kEnglishTexts},
}};
// clang-format on

// Every group after the fifteen window texts, in number order.
const std::array<const TextGroup*, 11> kTextGroups = {
    &kProgressTextGroup, &kCompareTextGroup,    &kListTextGroup,
    &kNoteTextGroup,     &kAccessibleTextGroup, &kFilesTextGroup,
    &kVerifyTextGroup,   &kBoxTextGroup,        &kCellCopyTextGroup,
    &kAuditTextGroup,    &kListGroupTextGroup};

constexpr std::string_view kTemplateStartText =
    "If you want translate this program, translate from here- From 11000 - 11015";
constexpr std::string_view kTemplateEndText =
    "If you want translate this program, translate till here";

consteval bool everyTextFits() {
    for (const LanguageBlock& block : kBlocks) {
        if (block.titleStart.size() + kMakerCredit.size() + block.titleTail.size() + 2 >
            kLongestText) {
            return false;
        }
        for (const std::string_view text : block.texts) {
            if (text.size() > kLongestText) {
                return false;
            }
        }
    }
    return kTemplateStartText.size() <= kLongestText && kTemplateEndText.size() <= kLongestText;
}
static_assert(everyTextFits(), "LoadText hands out at most kLongestText bytes");

std::string titleOf(const LanguageBlock& block) {
    std::string title(block.titleStart);
    title.append(" ").append(kMakerCredit).append(" ").append(block.titleTail);
    return title;
}

// Text `number` of block `blockIndex` from the group that holds it.
std::optional<std::string> groupText(std::size_t blockIndex, int number) {
    for (const TextGroup* group : kTextGroups) {
        if (number >= group->first && number < group->first + group->size) {
            return std::string(
                group->text(blockIndex, static_cast<std::size_t>(number - group->first)));
        }
    }
    return std::nullopt;
}

}  // namespace

std::span<const TextGroup* const> TextGroupsAfterTheFifteen() { return kTextGroups; }

std::optional<std::string> StringTableText(int id) {
    if (id == kTemplateBlock) {
        return std::string(kTemplateStartText);
    }
    if (id == kTemplateEndMarker) {
        return std::string(kTemplateEndText);
    }
    if (id >= kFirstFrameworkText && id <= kLastFrameworkText) {
        // The class hash framework owns its messages under these numbers.
        return std::string(framework::FrameworkText(id));
    }
    if (id < 0) {
        return std::nullopt;
    }
    const auto blockIndex = static_cast<std::size_t>(id / kBlockStride);
    const int number = id % kBlockStride;
    if (blockIndex >= kBlocks.size() || number < 1) {
        return std::nullopt;
    }
    if (number > kTextsPerBlock) {
        return groupText(blockIndex, number);
    }
    const LanguageBlock& block = kBlocks[blockIndex];
    if (number == 1) {
        return titleOf(block);
    }
    return std::string(block.texts[static_cast<std::size_t>(number - 2)]);
}

}  // namespace tolvek::window

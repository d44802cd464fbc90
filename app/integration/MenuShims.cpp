#include "app/integration/MenuShims.h"

#include <array>

#include "app/Version.h"

namespace tolvek::integration {

namespace {

// The shims' words, English first; every other language of the window in its own words.
struct MenuTexts {
    std::string_view locale;
    std::string_view compute;
    std::string_view check;
    std::string_view windowName;
    std::string_view comment;
};
constexpr std::array<MenuTexts, 11> kTexts = {{
    {"", "Compute digests", "Check checksums", "TOLVEK files",
     "Digests of many files and folders at once, and checksum lists checked"},
    {"de", "Prüfsummen berechnen", "Prüfsummenliste prüfen", "TOLVEK-Dateifenster",
     "Prüfsummen vieler Dateien und Ordner auf einmal; prüft Prüfsummenlisten"},
    {"pt_BR", "Calcular hashes", "Verificar lista de somas", "Arquivos no TOLVEK",
     "Hashes de muitos arquivos e pastas de uma vez; verifica listas de somas de verificação"},
    {"fr", "Calculer les empreintes", "Vérifier les sommes de contrôle", "Fichiers TOLVEK",
     "Empreintes de nombreux fichiers et dossiers à la fois ; vérifie les listes de sommes"},
    {"it", "Calcola gli hash", "Verifica i checksum", "File in TOLVEK",
     "Hash di molti file e cartelle in una volta; verifica gli elenchi di checksum"},
    {"es", "Calcular hashes", "Comprobar sumas de verificación", "Archivos en TOLVEK",
     "Hashes de muchos archivos y carpetas a la vez; comprueba listas de sumas"},
    {"zh_CN", "计算摘要", "校验校验和列表", "TOLVEK 文件窗口",
     "一次计算多个文件和文件夹的摘要，并检查校验和列表"},
    {"hr", "Izračunaj sažetke", "Provjeri kontrolne zbrojeve", "TOLVEK datoteke",
     "Sažeci mnogih datoteka i mapa odjednom; provjera popisa kontrolnih zbrojeva"},
    {"ru", "Вычислить хеши", "Проверить контрольные суммы", "Файлы в TOLVEK",
     "Хеши многих файлов и папок сразу; проверка списков контрольных сумм"},
    {"nl", "Hashes berekenen", "Controlesommen controleren", "TOLVEK-bestanden",
     "Hashes van veel bestanden en mappen tegelijk; controleert lijsten met controlesommen"},
    {"da", "Beregn hashværdier", "Kontrollér kontrolsummer", "TOLVEK-filer",
     "Hashværdier af mange filer og mapper på én gang; kontrollerer lister med kontrolsummer"},
}};

using TextOf = std::string_view MenuTexts::*;

const std::array<ListType, 5> kListTypes = {{
    {"text/x-md5-checksums", {"*.md5", "*.md5sum", "MD5SUMS"}},
    {"text/x-sha1-checksums", {"*.sha1", "*.sha1sum", "SHA1SUMS"}},
    {"text/x-sha256-checksums", {"*.sha256", "*.sha256sum", "SHA256SUMS"}},
    {"text/x-sha512-checksums", {"*.sha512", "*.sha512sum", "SHA512SUMS"}},
    {"text/x-sfv", {"*.sfv"}},
}};

// The two actions: what each is called, which files it is offered for, its shims' names.
struct MenuAction {
    TextOf label;
    std::string_view id;  // tolvek-files-<id> names its files and Thunar's unique id
    bool listsOnly;
};
constexpr std::array<MenuAction, 2> kActions = {{
    {&MenuTexts::compute, "compute", false},
    {&MenuTexts::check, "check", true},
}};

// Appends the parts in turn (GCC 12 warns wrongly about some chains of +).
void append(std::string& text, std::initializer_list<std::string_view> parts) {
    for (const std::string_view part : parts) {
        text += part;
    }
}

std::string markerComment() {
    return "# " + std::string(kShimMarker) + ".\n";
}

// "Key=English" and a "Key[locale]=..." line for every other language.
std::string localizedKeys(std::string_view key, TextOf text) {
    std::string lines;
    for (const MenuTexts& texts : kTexts) {
        append(lines, {key});
        if (!texts.locale.empty()) {
            append(lines, {"[", texts.locale, "]"});
        }
        append(lines, {"=", texts.*text, "\n"});
    }
    return lines;
}

std::string listMimeTypes() {
    std::string types;
    for (const ListType& type : kListTypes) {
        types += std::string(type.mimeType) + ";";
    }
    return types;
}

std::string mimeTypesFor(const MenuAction& action) {
    return action.listsOnly ? listMimeTypes() : "all/allfiles;inode/directory;";
}

std::string shimName(const MenuAction& action) {
    return "tolvek-files-" + std::string(action.id);
}

ShimFile kdeServiceMenu(const MenuAction& action, const std::string& command) {
    std::string text = markerComment() + "[Desktop Entry]\nType=Service\n";
    text += "MimeType=" + mimeTypesFor(action) + "\n";
    text += "Actions=" + std::string(action.id) + ";\n";
    text += "X-KDE-ServiceTypes=KonqPopupMenu/Plugin\n\n";
    text += "[Desktop Action " + std::string(action.id) + "]\n";
    text += localizedKeys("Name", action.label);
    text += "Icon=tolvek\nExec=" + command + " %F\n";
    return {"kio/servicemenus/" + shimName(action) + ".desktop", text, true, true};
}

ShimFile nemoAction(const MenuAction& action, const std::string& command) {
    std::string text = markerComment() + "[Nemo Action]\n";
    text += localizedKeys("Name", action.label);
    text += localizedKeys("Comment", &MenuTexts::comment);
    text += "Exec=" + command + " %F\nIcon-Name=tolvek\nSelection=notnone\nQuote=double\n";
    text += action.listsOnly ? "Mimetypes=" + listMimeTypes() + "\n" : "Extensions=any;\n";
    return {"nemo/actions/" + shimName(action) + ".nemo_action", text, false, true};
}

// The file-manager-actions format, which Caja reads.
ShimFile cajaAction(const MenuAction& action, const std::string& command) {
    std::string text = markerComment() + "[Desktop Entry]\nType=Action\n";
    text += localizedKeys("Name", action.label);
    text += localizedKeys("Tooltip", &MenuTexts::comment);
    text += "Icon=tolvek\nProfiles=files;\n\n[X-Action-Profile files]\n";
    text += "Exec=" + command + " %F\n";
    text += "MimeTypes=" + mimeTypesFor(action) + "\nSelectionCount=>0\n";
    return {"file-manager/actions/" + shimName(action) + ".desktop", text, false, true};
}

// Nautilus lists a script by its file name, which carries no translation.
ShimFile nautilusScript(const MenuAction& action, const std::string& command) {
    // Nautilus runs a script in the folder shown, with the selected names as its arguments.
    std::string text = "#!/bin/sh\n" + markerComment() + "exec " + command + " \"$@\"\n";
    return {"nautilus/scripts/" + std::string(kTexts[0].*action.label), text, true, false};
}

std::string pythonString(std::string_view text) {
    std::string quoted = "\"";
    for (const char byte : text) {
        if (byte == '"' || byte == '\\') {
            quoted += '\\';
        }
        quoted += byte;
    }
    return quoted + "\"";
}

// Loaded only where nautilus-python is installed; it gives top-level entries in the user's
// language, and "Check checksums" only when every selected file is a checksum list.
ShimFile nautilusExtension(const std::string& command) {
    std::string text = markerComment();
    text += "import locale\nimport subprocess\n\nfrom gi.repository import GObject, Nautilus\n\n";
    text += "COMMAND = " + pythonString(command) + "\n";
    text += "LIST_TYPES = {";
    for (const ListType& type : kListTypes) {
        text += pythonString(type.mimeType) + ", ";
    }
    text += "}\nTEXTS = {\n";
    for (const MenuTexts& texts : kTexts) {
        text += "    " + pythonString(texts.locale) + ": (" + pythonString(texts.compute) + ", " +
                pythonString(texts.check) + "),\n";
    }
    text += R"(}


def labels():
    language = locale.getlocale(locale.LC_MESSAGES)[0] or ""
    return TEXTS.get(language) or TEXTS.get(language.split("_")[0]) or TEXTS[""]


class TolvekFilesMenu(GObject.GObject, Nautilus.MenuProvider):
    def get_file_items(self, *arguments):
        files = arguments[-1]
        paths = [item.get_location().get_path() for item in files]
        if not paths or None in paths:
            return []
        compute, check = labels()
        items = [self.item("compute", compute, paths)]
        if all(item.get_mime_type() in LIST_TYPES for item in files):
            items.append(self.item("check", check, paths))
        return items

    def item(self, name, label, paths):
        entry = Nautilus.MenuItem(name="TolvekFiles::" + name, label=label, icon="tolvek")
        entry.connect("activate", lambda *_: subprocess.Popen([COMMAND, "--"] + paths))
        return entry
)";
    return {"nautilus-python/extensions/tolvek-files.py", text, false, true};
}

// The files window's own desktop entry: the list types open in it, and launchers offer the two
// actions.
ShimFile filesDesktopEntry(const std::string& command) {
    std::string text = markerComment() + "[Desktop Entry]\nType=Application\n";
    text += localizedKeys("Name", &MenuTexts::windowName);
    text += localizedKeys("Comment", &MenuTexts::comment);
    text += "Exec=" + command + " %F\nIcon=tolvek\nTerminal=false\nCategories=Utility;\n";
    text += "MimeType=" + listMimeTypes() + "\nActions=";
    for (const MenuAction& action : kActions) {
        text += std::string(action.id) + ";";
    }
    text += "\n";
    for (const MenuAction& action : kActions) {
        text += "\n[Desktop Action " + std::string(action.id) + "]\n";
        text += localizedKeys("Name", action.label);
        text += "Exec=" + command + " %F\n";
    }
    return {"applications/" + std::string(kApplicationId) + "-files.desktop", text, false, true};
}

std::string xmlEscaped(std::string_view text) {
    std::string escaped;
    for (const char byte : text) {
        switch (byte) {
            case '&': escaped += "&amp;"; break;
            case '<': escaped += "&lt;"; break;
            case '>': escaped += "&gt;"; break;
            default: escaped += byte;
        }
    }
    return escaped;
}

std::string thunarLocalized(std::string_view element, TextOf text) {
    std::string lines;
    for (const MenuTexts& texts : kTexts) {
        append(lines, {"\t<", element});
        if (!texts.locale.empty()) {
            append(lines, {" xml:lang=\"", texts.locale, "\""});
        }
        append(lines, {">", xmlEscaped(texts.*text), "</", element, ">\n"});
    }
    return lines;
}

std::string thunarPatterns(const MenuAction& action) {
    if (!action.listsOnly) {
        return "*";
    }
    std::string patterns;
    for (const ListType& type : kListTypes) {
        for (const std::string_view glob : type.globs) {
            append(patterns, {patterns.empty() ? "" : ";", glob});
        }
    }
    return patterns;
}

}  // namespace

std::span<const ListType> ChecksumListTypes() {
    return kListTypes;
}

bool IsPlainCommand(std::string_view command) {
    if (command.empty()) {
        return false;
    }
    for (const char byte : command) {
        const bool plain = (byte >= 'a' && byte <= 'z') || (byte >= 'A' && byte <= 'Z') ||
                           (byte >= '0' && byte <= '9') || std::string_view("/._+-").find(byte) !=
                                                                 std::string_view::npos;
        if (!plain) {
            return false;
        }
    }
    return true;
}

std::vector<ShimFile> MenuShims(const std::string& command) {
    std::vector<ShimFile> shims;
    for (const MenuAction& action : kActions) {
        shims.push_back(kdeServiceMenu(action, command));
        shims.push_back(nemoAction(action, command));
        shims.push_back(cajaAction(action, command));
        shims.push_back(nautilusScript(action, command));
    }
    shims.push_back(nautilusExtension(command));
    shims.push_back(filesDesktopEntry(command));
    return shims;
}

std::string ThunarActions(const std::string& command) {
    std::string actions;
    for (const MenuAction& action : kActions) {
        actions += "<action>\n\t<icon>tolvek</icon>\n";
        actions += thunarLocalized("name", action.label);
        append(actions, {"\t<unique-id>", kThunarIdPrefix, action.id, "</unique-id>\n"});
        append(actions, {"\t<command>", xmlEscaped(command), " %F</command>\n"});
        actions += thunarLocalized("description", &MenuTexts::comment);
        append(actions, {"\t<patterns>", thunarPatterns(action), "</patterns>\n"});
        if (!action.listsOnly) {
            actions += "\t<directories/>\n";
        }
        actions += "\t<audio-files/>\n\t<image-files/>\n\t<other-files/>\n\t<text-files/>\n"
                   "\t<video-files/>\n</action>\n";
    }
    return actions;
}

}  // namespace tolvek::integration

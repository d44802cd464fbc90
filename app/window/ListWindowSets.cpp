// The ways names come into the files window: the open and folder dialogs, the clipboard, and the
// algorithm picker that decides what files added from now on are hashed with, remembered
// between runs.
#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "app/window/AlgorithmChoice.h"
#include "app/window/ListWindow.h"

namespace tolvek::window {

namespace {

std::string joinedNames(const std::vector<std::string>& names) {
    std::string joined;
    for (const std::string& name : names) {
        joined.append(joined.empty() ? "" : "\r").append(name);
    }
    return joined;
}

int hexValue(char digit) {
    if (digit >= '0' && digit <= '9') {
        return digit - '0';
    }
    const char lower = static_cast<char>(digit | 0x20);
    return lower >= 'a' && lower <= 'f' ? lower - 'a' + 10 : -1;
}

// A pasted line as a file name: a file:// address is decoded, blanks around it go.
std::string pastedName(std::string line) {
    const auto blank = [](char byte) { return byte == ' ' || byte == '\t'; };
    while (!line.empty() && blank(line.back())) {
        line.pop_back();
    }
    line.erase(0, std::min(line.find_first_not_of(" \t"), line.size()));
    if (!line.starts_with("file://")) {
        return line;
    }
    std::string name;
    for (std::size_t at = 7; at < line.size(); ++at) {
        if (line[at] == '%' && at + 2 < line.size() && hexValue(line[at + 1]) >= 0 &&
            hexValue(line[at + 2]) >= 0) {
            name.push_back(static_cast<char>(hexValue(line[at + 1]) * 16 + hexValue(line[at + 2])));
            at += 2;
        } else {
            name.push_back(line[at]);
        }
    }
    return name;
}

}  // namespace

void ListWindow::ChooseAlgorithmsAction() {
    std::optional<std::vector<const hashing::AlgorithmEntry*>> chosen =
        m_port.chooseAlgorithms(m_hashEntries);
    if (chosen && !chosen->empty()) {
        m_hashEntries = std::move(*chosen);
        m_algorithmsChosen = true;
        if (!m_choiceFile.empty()) {
            SaveAlgorithmChoice(m_choiceFile, m_hashEntries);  // a preference: no message
        }
    }
}

void ListWindow::RememberChoiceIn(std::filesystem::path file) {
    m_choiceFile = std::move(file);
    if (std::vector<const hashing::AlgorithmEntry*> kept = ReadAlgorithmChoice(m_choiceFile);
        !kept.empty()) {
        m_hashEntries = std::move(kept);
        m_algorithmsChosen = true;
    }
}

void ListWindow::OpenAction() {
    const std::vector<std::string> names = m_port.chooseOpenNames();
    if (!names.empty()) {
        newSet();
        gatherNames(names);
    }
}

void ListWindow::AddFilesAction() {
    gatherNames(m_port.chooseOpenNames());
}

void ListWindow::AddFolderAction() {
    if (const std::optional<std::string> folder = m_port.chooseFolder()) {
        gatherNames({*folder});
    }
}

void ListWindow::PasteNamesAction() {
    const std::optional<std::string> text = m_port.clipboardText();
    std::vector<std::string> names;
    std::string line;
    for (const char byte : text.value_or("") + "\n") {
        if (byte == '\n' || byte == '\r') {
            if (std::string name = pastedName(std::exchange(line, {})); !name.empty()) {
                names.push_back(std::move(name));
            }
        } else {
            line.push_back(byte);
        }
    }
    if (!names.empty()) {
        newSet();
        gatherNames(names);
    }
}

void ListWindow::gatherNames(const std::vector<std::string>& names) {
    if (!names.empty()) {
        m_gathering.gatherDropped(joinedNames(names), m_hashEntries);
    }
}

}  // namespace tolvek::window

// The main window's words: a language's texts on the controls, the algorithm list's groups, and
// a change of language, which sha.lng keeps.
#include <array>
#include <utility>

#include "app/window/AccessibleNames.h"
#include "app/window/Languages.h"
#include "app/window/MainWindow.h"
#include "app/window/TextNumbers.h"

namespace tolvek::window {

namespace {

// Which control shows which text of a language block.
constexpr std::array<std::pair<int, Control>, 10> kAppliedTexts = {{
    {1, Control::MainWindow},
    {2, Control::HashStringButton},
    {3, Control::HashFileButton},
    {4, Control::CloseButton},
    {5, Control::RenewButton},
    {6, Control::CopyButton},
    {7, Control::PasteButton},
    {8, Control::CompareButton},
    {9, Control::AboutButton},
    {15, Control::CompareLabel},
}};

}  // namespace

std::string MainWindow::CompareWithFileCaption() const {
    return LoadText(kCompareWithFileText);
}

std::string MainWindow::LoadText(int number) const {
    return m_state.loadText(number);
}

void MainWindow::ApplyTexts() {
    for (const auto& [number, control] : kAppliedTexts) {
        m_state.windows.setText(control, LoadText(number));
    }
    m_state.windows.setAccessibleNames(
        MainWindowAccessibleNames([this](int number) { return LoadText(number); }));
    m_offers.show();
    showAlgorithmGroups();
    if (m_listWindow != nullptr) {
        m_listWindow->ApplyTexts();
    }
}

// The specified thirty first, as they always were; then today's hashes, then the checksums and
// fast hashes, each in list order. A long flat list had people pick the wrong one of similar
// captions; the positions, which sha.lng saves, stay the table's.
void MainWindow::showAlgorithmGroups() {
    std::vector<ListGroupDisplay> groups(3);
    std::vector<std::string> tooltips;
    for (std::size_t group = 0; group < groups.size(); ++group) {
        groups[group].heading = LoadText(kFirstListGroupText + static_cast<int>(group));
    }
    for (std::size_t position = 0; position < m_state.entries.size(); ++position) {
        const AlgorithmEntry& entry = m_state.entries[position];
        const std::size_t group = position < hashing::kSpecifiedEntries ? 0
                                  : entry.checksum                      ? 2
                                                                        : 1;
        groups[group].positions.push_back(static_cast<int>(position));
        tooltips.emplace_back(entry.description);
    }
    std::erase_if(groups, [](const ListGroupDisplay& group) { return group.positions.empty(); });
    // A list of one group needs no heading.
    if (groups.size() == 1) {
        groups.front().heading.clear();
    }
    m_state.windows.setListGroups(Control::AlgorithmList, groups, tooltips);
}

void MainWindow::LanguageChangeHandler() {
    changeLanguage(m_state.windows.selectedPosition(Control::AlgorithmList));
}

void MainWindow::changeLanguage(int savedAlgorithmPosition) {
    if (const Language* language = applyLanguage()) {
        languageFile().write(language->written, savedAlgorithmPosition);
    }
}

const Language* MainWindow::applyLanguage() {
    const int position = m_state.windows.selectedPosition(Control::LanguageList);
    if (position < 0 || static_cast<std::size_t>(position) >= kLanguages.size()) {
        return nullptr;
    }
    const Language& language = kLanguages[static_cast<std::size_t>(position)];
    m_state.setLanguageBase(language.block);
    ApplyTexts();
    return &language;
}

}  // namespace tolvek::window

// A ListWindowPort of plain values: the texts, rows and progress as last drawn, the clipboard, and
// canned answers for the save dialog and the question.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "app/window/ListWindow.h"

namespace tolvek::window::testing {

class FakeListPort final : public ListWindowPort {
public:
    void setTexts(const ListWindowTexts& given) override { texts = given; }
    void showWindow() override { shown = true; }
    void setRow(std::size_t index, const ListRowView& row) override {
        ++rowsDrawn;
        ASSERT_LE(index, rows.size());
        if (index == rows.size()) {
            rows.push_back(row);
        } else {
            rows[index] = row;
        }
    }
    void setColumns(const std::vector<std::string>& captions) override { columns = captions; }
    std::optional<std::vector<const hashing::AlgorithmEntry*>> chooseAlgorithms(
        const std::vector<const hashing::AlgorithmEntry*>& chosen) override {
        offeredAlgorithms = chosen;
        return pickedAlgorithms;
    }
    void setRowCount(std::size_t count) override { rows.resize(std::min(count, rows.size())); }
    void showEmptyHint(bool hint) override { hintShown = hint; }
    void showProgress(const ProgressDisplay& display) override { progress = display; }
    void setClipboardText(const std::string& text) override { clipboard = text; }
    std::optional<std::string> clipboardText() override { return clipboard; }
    std::vector<std::string> chooseOpenNames() override { return openNames; }
    std::optional<std::string> chooseFolder() override { return folderName; }
    std::optional<std::string> chooseSaveName(const std::string& suggested) override {
        suggestedNames.push_back(suggested);
        return saveName;
    }
    bool confirm(const std::string& question) override {
        questions.push_back(question);
        questionButtons.push_back(texts.boxButtons.yes + "|" + texts.boxButtons.no);
        return confirmAnswer;
    }
    void showMessage(const std::string& text) override { messages.push_back(text); }
    void announce(const std::string& text) override { announcements.push_back(text); }
    void showVerifyOutcome(const std::string& text) override { verifyOutcome = text; }

    ListWindowTexts texts;
    bool hintShown = false;
    std::vector<std::string> columns;
    std::vector<const hashing::AlgorithmEntry*> offeredAlgorithms;
    std::optional<std::vector<const hashing::AlgorithmEntry*>> pickedAlgorithms;
    bool shown = false;
    std::vector<ListRowView> rows;
    std::size_t rowsDrawn = 0;  // setRow calls
    ProgressDisplay progress;
    std::string clipboard;
    std::vector<std::string> openNames;
    std::optional<std::string> folderName;
    std::optional<std::string> saveName;
    std::vector<std::string> suggestedNames;
    bool confirmAnswer = false;
    std::vector<std::string> questions;
    std::vector<std::string> questionButtons;  // the words of each question's buttons
    std::vector<std::string> messages;
    std::vector<std::string> announcements;
    std::string verifyOutcome;
};

}  // namespace tolvek::window::testing

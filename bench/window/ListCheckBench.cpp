// tolvek-list-bench LIST [ROUNDS]: checks the checksum list LIST in the files window's logic, as
// a drop of it does, ROUNDS times (1 by default) in one window, with its worker threads and a
// plain queue for the window's thread, and prints each check's time and summary. It times what
// the window asks of the files; the widgets are left out.
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <deque>
#include <mutex>
#include <string>

#include "app/hashing/WorkerTasks.h"
#include "app/window/ListWindow.h"
#include "app/window/StringTable.h"

namespace {

using namespace tolvek;

// The window's thread: posted calls run in turn on the thread that calls runNext.
class QueueUiThread final : public window::UiThread {
public:
    void post(std::function<void()> call) override {
        const std::lock_guard lock(m_mutex);
        m_calls.push_back(std::move(call));
        m_posted.notify_one();
    }
    // Nothing here waits for time: a delayed call is posted at once.
    void postAfter(std::chrono::milliseconds, std::function<void()> call) override {
        post(std::move(call));
    }
    void runNext() {
        std::unique_lock lock(m_mutex);
        m_posted.wait(lock, [this] { return !m_calls.empty(); });
        const std::function<void()> call = std::move(m_calls.front());
        m_calls.pop_front();
        lock.unlock();
        call();
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_posted;
    std::deque<std::function<void()>> m_calls;
};

// Keeps the summary; every question is answered no and every dialog cancelled.
class SummaryPort final : public window::ListWindowPort {
public:
    void setTexts(const window::ListWindowTexts&) override {}
    void showWindow() override {}
    void setColumns(const std::vector<std::string>&) override {}
    void setRow(std::size_t, const window::ListRowView&) override {}
    void setRowCount(std::size_t) override {}
    void showEmptyHint(bool) override {}
    void showProgress(const window::ProgressDisplay& display) override { state = display.state; }
    void setClipboardText(const std::string&) override {}
    std::optional<std::vector<const hashing::AlgorithmEntry*>> chooseAlgorithms(
        const std::vector<const hashing::AlgorithmEntry*>&) override {
        return std::nullopt;
    }
    std::optional<std::string> clipboardText() override { return std::nullopt; }
    std::vector<std::string> chooseOpenNames() override { return {}; }
    std::optional<std::string> chooseFolder() override { return std::nullopt; }
    std::optional<std::string> chooseSaveName(const std::string&) override { return std::nullopt; }
    bool confirm(const std::string&) override { return false; }
    void showMessage(const std::string& text) override {
        std::fprintf(stderr, "message: %s\n", text.c_str());
    }
    void announce(const std::string&) override {}
    void showVerifyOutcome(const std::string&) override {}

    std::string state;
};

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: tolvek-list-bench LIST [ROUNDS]\n");
        return 2;
    }
    const int rounds = argc > 2 ? std::stoi(argv[2]) : 1;
    SummaryPort port;
    QueueUiThread ui;
    hashing::ThreadWorkerTasks gathering;
    hashing::ThreadWorkerTasks checking;
    window::ListWindow listWindow(port, ui, gathering, checking, [](int number) {
        return window::StringTableText(1000 + number).value_or("");
    });
    listWindow.Open(*hashing::FindAlgorithm("sha256"));
    for (int round = 0; round < rounds; ++round) {
        const auto start = std::chrono::steady_clock::now();
        listWindow.DropHandler(argv[1]);
        while (listWindow.Running()) {
            ui.runNext();
        }
        const std::chrono::duration<double, std::milli> took =
            std::chrono::steady_clock::now() - start;
        std::printf("%.1f ms  %zu rows  %s\n", took.count(), listWindow.RowCount(),
                    listWindow.Summary().c_str());
    }
    return 0;
}

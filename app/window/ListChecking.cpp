#include "app/window/ListChecking.h"

#include <chrono>
#include <memory>

#include "app/hashing/FileSequence.h"

namespace tolvek::window {

namespace {

// A batch goes to the window once it holds this many results or this long has passed.
constexpr std::size_t kResultsPerBatch = 512;
constexpr auto kBatchInterval = std::chrono::milliseconds(50);

}  // namespace

void ListChecking::start(std::vector<Item> items, Handlers handlers) {
    m_running = true;
    const auto shared = std::make_shared<Handlers>(std::move(handlers));
    m_tasks.start([this, shared, items = std::move(items)](std::stop_token stop) {
        std::vector<Result> batch;
        auto posted = std::chrono::steady_clock::now();
        const auto post = [&] {
            if (!batch.empty()) {
                m_ui.post([shared, results = std::move(batch)]() mutable {
                    shared->checked(std::move(results));
                });
                batch.clear();
            }
            posted = std::chrono::steady_clock::now();
        };
        hashing::ReadControl control;
        control.stop = stop;
        {
            hashing::FileSequence sequence(control);
            for (const Item& item : items) {
                const auto result = std::make_shared<Result>(Result{item.row, {}});
                hashing::FileTask task;
                task.name = item.item.path;
                // Small files are hashed together for these, ahead of the check.
                task.algorithms = m_likely.firstComputed(item.item);
                task.hash = [this, result, &checked = item.item](hashing::FileContent& content,
                                                                 const hashing::ReadControl& each) {
                    result->check = m_likely.check(checked, content, each);
                };
                task.report = [&, result] {
                    if (result->check.verdict.status == checks::CheckStatus::Cancelled) {
                        return false;
                    }
                    batch.push_back(std::move(*result));
                    if (batch.size() >= kResultsPerBatch ||
                        std::chrono::steady_clock::now() - posted >= kBatchInterval) {
                        post();
                    }
                    return true;
                };
                if (!sequence.add(std::move(task))) {
                    break;
                }
            }
            sequence.finish();
        }
        post();
        m_ui.post([this, shared, cancelled = stop.stop_requested()] {
            m_running = false;
            shared->ended(cancelled);
        });
    });
}

void ListChecking::cancel() {
    if (m_running) {
        m_tasks.cancel();
    }
}

}  // namespace tolvek::window

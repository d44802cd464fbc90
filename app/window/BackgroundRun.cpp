#include "app/window/BackgroundRun.h"

#include <memory>

namespace tolvek::window {

int BackgroundRun::start(const std::string& fileName,
                         std::vector<const hashing::Provider*> providers, Handlers handlers) {
    const int run = ++m_last;
    m_running = true;
    const auto shared = std::make_shared<Handlers>(std::move(handlers));
    UiThread& ui = m_background.ui;
    const auto current = [this, run] { return m_running && m_last == run; };
    m_background.jobs.start({
        fileName,
        std::move(providers),
        [&ui, shared, current](const hashing::ReadProgress& progress) {
            ui.post([shared, current, progress] {
                if (current() && shared->progress) {
                    shared->progress(progress);
                }
            });
        },
        [this, &ui, shared, current, run](hashing::FileDigests digests) {
            ui.post([this, shared, current, digests]() mutable {
                if (current()) {
                    m_running = false;
                    shared->ended(std::move(digests));
                }
            });
            if (shared->onWorker) {
                shared->onWorker(run, digests);
            }
        },
    });
    return run;
}

void BackgroundRun::cancel() {
    if (m_running) {
        m_background.jobs.cancel();
    }
}

}  // namespace tolvek::window

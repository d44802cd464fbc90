#include "cli/DigestSequence.h"

#include <memory>
#include <optional>
#include <ostream>

#include "cli/TerminalProgress.h"

namespace tolvek::cli {

namespace {

hashing::ReadControl controlOf(const FileRun& run) {
    hashing::ReadControl control;
    control.stop = run.context.interrupt;
    return control;
}

}  // namespace

struct DigestSequence::File {
    hashing::FileDigests digests;
    std::optional<TerminalProgress> progress;
};

DigestSequence::DigestSequence(const FileRun& run, OnDigests onDigests)
    : m_run(run),
      m_routes(hashing::RoutesOf(run.entries, hashing::Route::File)),
      m_onDigests(std::move(onDigests)),
      m_sequence(controlOf(run)) {}

bool DigestSequence::add(const std::string& name, bool named) {
    if (name == "-" && named) {
        return m_sequence.addReport([this, name] {
            m_onDigests(name, {false, hashing::HashStreamWith(m_run.input, m_routes)});
            return true;
        });
    }
    const auto file = std::make_shared<File>();
    hashing::FileTask task;
    task.name = name;
    task.readStreams = named;
    task.algorithms = m_run.entries;
    task.hash = [this, file](hashing::FileContent& content, const hashing::ReadControl& control) {
        file->digests = hashing::HashContentWith(content, m_routes, control);
    };
    task.report = [this, file, name] {
        file->progress.reset();
        if (file->digests.cancelled) {
            return false;
        }
        m_onDigests(name, file->digests);
        return true;
    };
    if (showsProgress()) {
        task.progress = [this, file, name](const hashing::ReadProgress& report) {
            if (!file->progress) {
                file->progress.emplace(m_run.errors, name, automaticProgress());
            }
            file->progress->show(report);
        };
    }
    return m_sequence.add(std::move(task));
}

bool DigestSequence::addNamed(const std::vector<std::string>& names) {
    for (const std::string& name : names) {
        if (!add(name, true)) {
            return false;
        }
    }
    return true;
}

void DigestSequence::addNote(std::string note) {
    m_sequence.addReport([this, note = std::move(note)] {
        m_run.errors << note;
        return true;
    });
}

bool DigestSequence::automaticProgress() const {
    return m_run.request.progress == ProgressMode::Automatic;
}

bool DigestSequence::showsProgress() const {
    return m_run.request.progress == ProgressMode::Always ||
           (automaticProgress() && m_run.context.errorsIsTerminal);
}

}  // namespace tolvek::cli

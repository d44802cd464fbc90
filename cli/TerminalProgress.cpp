#include "cli/TerminalProgress.h"

#include <chrono>
#include <ostream>

#include "app/checks/ChecksumList.h"
#include "app/hashing/ProgressText.h"

namespace tolvek::cli {

namespace {

// A terminal shows progress for a file only once it has taken this long.
constexpr std::chrono::seconds kProgressAfter{1};

}  // namespace

TerminalProgress::TerminalProgress(std::ostream& errors, const std::string& name,
                                   bool afterAMoment)
    : m_errors(errors), m_name(checks::NameForMessage(name)), m_afterAMoment(afterAMoment) {}

TerminalProgress::~TerminalProgress() {
    if (m_shown) {
        m_errors << "\r\033[K" << std::flush;
    }
}

void TerminalProgress::show(const hashing::ReadProgress& progress) {
    if (m_afterAMoment && progress.elapsed < kProgressAfter) {
        return;
    }
    m_shown = true;
    m_errors << "\r" << m_name << ": " << hashing::ProgressLine(progress, {}) << "\033[K"
             << std::flush;
}

}  // namespace tolvek::cli

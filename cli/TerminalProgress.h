// The progress of one file on standard error, rewritten in place on one line and cleared at the
// end, as a terminal shows it.
#pragma once

#include <iosfwd>
#include <string>

#include "app/hashing/FileReader.h"

namespace tolvek::cli {

class TerminalProgress {
public:
    // With `afterAMoment`, nothing shows until the file has taken a second.
    TerminalProgress(std::ostream& errors, const std::string& name, bool afterAMoment);
    TerminalProgress(const TerminalProgress&) = delete;
    TerminalProgress& operator=(const TerminalProgress&) = delete;
    ~TerminalProgress();

    void show(const hashing::ReadProgress& progress);

private:
    std::ostream& m_errors;
    std::string m_name;
    bool m_afterAMoment;
    bool m_shown = false;
};

}  // namespace tolvek::cli

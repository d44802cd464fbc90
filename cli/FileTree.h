// The files tolvek-cli hashes for its arguments: each one named, and with -r the files in
// folders and below, in a stable sorted order.
#pragma once

#include <functional>
#include <iosfwd>
#include <string>
#include <vector>

namespace tolvek::cli {

struct TreeOptions {
    bool recursive = false;
    bool followLinks = false;  // go into symbolic links to folders met inside a folder
};

// Calls `visit` with each file's name, in order, and whether the user named it (a FIFO or a
// device is then read as a stream). A folder argument is walked with `recursive`: names in
// byte order, folders where their names sort; links to folders are skipped unless followed, a
// folder met again below itself is skipped, and anything but a file or a link to one is skipped
// with a note on `errors`. `visit` gives false to stop. False when a folder could not be read.
bool VisitFiles(const std::vector<std::string>& arguments, const TreeOptions& options,
                const std::function<bool(const std::string& name, bool named)>& visit,
                std::ostream& errors);

}  // namespace tolvek::cli

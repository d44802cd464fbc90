// The one folder walk, shared by the list window and tolvek-cli -r: the files below a folder in
// a stable order, going on past whatever cannot be read.
#pragma once

#include <functional>
#include <stop_token>
#include <string>

namespace tolvek::checks {

enum class Skipped {
    Unreadable,   // a folder that could not be opened or read: its files are not visited
    HoldsItself,  // a folder met again below itself, through a link
    NotAFile,     // a FIFO, socket or device
};

struct FolderVisit {
    bool followLinks = false;  // go into symbolic links to folders met inside a folder
    // Each file in turn: regular files, links to them, and links that lead nowhere (so that
    // their failure shows where they are hashed); false ends the walk.
    std::function<bool(const std::string& name)> file;
    // What the walk passed over; `systemError` is the system's error number for a folder that
    // could not be read, else 0.
    std::function<void(const std::string& name, Skipped why, int systemError)> skipped;
};

// Visits the files below `folder`, one folder at a time: names in byte order, a folder where
// its name sorts. Names are `folder`'s followed by the path below it. False when `visit.file`
// ended the walk or a stop was requested.
bool WalkFolder(const std::string& folder, const FolderVisit& visit, std::stop_token stop = {});

}  // namespace tolvek::checks

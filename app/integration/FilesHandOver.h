// One files window per user: a tolvek-files start either hands its names to the instance that
// serves the user's files window, or becomes that instance. The message, the choice of who
// serves (with its retries) and the server's answer live here, free of any toolkit; the local
// socket and the per-user lock are behind InstancePort.
#pragma once

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tolvek::integration {

// "tolvek-files 1\n", then each name followed by a NUL byte, then one more NUL: names are file
// names, which hold any byte but NUL (spaces and line ends included).
std::string EncodeNames(const std::vector<std::string>& names);

// A message the server has received so far.
struct DecodedNames {
    enum class State { Incomplete, Complete, Invalid } state;
    std::vector<std::string> names;  // when Complete
};
// Invalid: another header, bytes after the end, or more than kMaxMessageBytes.
DecodedNames DecodeNames(std::string_view message);
inline constexpr std::size_t kMaxMessageBytes = 64u << 20;

// The server's one-line answers: the names are in the files window, or the message was not ours.
inline constexpr std::string_view kTakenReply = "ok\n";
inline constexpr std::string_view kRefusedReply = "no\n";

// What a try to hand the message over gave.
enum class Delivery {
    NoServer,   // nobody listens (no socket, or a stale one)
    Delivered,  // the server answered that it took the names
    Refused,    // a server of another kind answered that it did not
    Lost,       // connected, but no answer came (the server is ending, or hangs)
};

class InstancePort {
public:
    virtual ~InstancePort() = default;
    virtual Delivery send(const std::string& message) = 0;
    // Takes the per-user lock without waiting and listens on the socket, replacing a stale one.
    // False while another process holds the lock (it serves, or is about to).
    virtual bool claimServing() = 0;
    // Waits a little before the next try.
    virtual void pause() = 0;
};

enum class Role {
    HandedOver,  // another instance took the names: end with success
    Serve,       // this process serves: open the files window with the names, take others'
    StandAlone,  // no hand-over possible: open a files window of this process's own
};

// Tries the running instance first; when none answers, tries to become it; when another process
// holds the lock but does not answer yet (it is starting, or ending), tries again, at most
// `attempts` times. Names are never dropped: what cannot be handed over opens a window here.
inline constexpr int kRoleAttempts = 50;
Role ChooseRole(InstancePort& port, const std::string& message, int attempts = kRoleAttempts);
// How long the pause between two tries is, and how long a client waits for the server's answer.
inline constexpr std::chrono::milliseconds kRetryPause{100};
inline constexpr std::chrono::milliseconds kAnswerLimit{5000};

// The names as the running instance needs them: relative ones joined to `workingFolder`.
std::vector<std::string> AbsoluteNames(const std::vector<std::string>& names,
                                       const std::filesystem::path& workingFolder);

// Where the socket and its lock live: $XDG_RUNTIME_DIR (the user's own folder) when it holds an
// absolute path, else a folder tolvek-<uid> under the system's temporary folder. Either argument
// may be null (unset).
std::filesystem::path InstanceFolderFrom(const char* xdgRuntimeDir, const char* tmpDir,
                                         unsigned userId);
// Makes sure `folder` exists, is a real folder owned by this user and by nobody else writable,
// creating it with mode 0700. False when another user could replace the socket in it.
bool PreparePrivateFolder(const std::filesystem::path& folder);

inline constexpr std::string_view kSocketName = "tolvek-files.socket";
inline constexpr std::string_view kLockName = "tolvek-files.lock";

}  // namespace tolvek::integration

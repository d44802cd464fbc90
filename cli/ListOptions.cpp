#include "cli/ListOptions.h"

#include <algorithm>
#include <utility>

namespace tolvek::cli {

namespace {

using Flag = bool ListOptions::*;

constexpr std::pair<std::string_view, Flag> kLongFlags[] = {
    {"--check", &ListOptions::check},
    {"--quiet", &ListOptions::quiet},
    {"--status", &ListOptions::status},
    {"--strict", &ListOptions::strict},
    {"--warn", &ListOptions::warn},
    {"--ignore-missing", &ListOptions::ignoreMissing},
    {"--tag", &ListOptions::tag},
    {"--binary", &ListOptions::binary},
    {"--text", &ListOptions::text},
    {"--recursive", &ListOptions::recursive},
    {"--dereference", &ListOptions::followLinks},
    {"--zero", &ListOptions::zero},
    {"--audit", &ListOptions::audit},
    {"--update", &ListOptions::update},
    {"--untagged", &ListOptions::untagged},
    {"--no-names", &ListOptions::noNames},
    {"--raw", &ListOptions::raw},
    {"--base64", &ListOptions::base64},
    {"--upper", &ListOptions::upper},
    {"--sri", &ListOptions::integrity},
    {"--content-digest", &ListOptions::contentDigest},
};

constexpr std::pair<char, Flag> kShortFlags[] = {
    {'c', &ListOptions::check}, {'w', &ListOptions::warn},      {'b', &ListOptions::binary},
    {'t', &ListOptions::text},  {'r', &ListOptions::recursive}, {'L', &ListOptions::followLinks},
    {'z', &ListOptions::zero},
};

Flag shortFlag(char letter) {
    const auto found = std::ranges::find(kShortFlags, letter, &std::pair<char, Flag>::first);
    return found == std::end(kShortFlags) ? nullptr : found->second;
}

// Within each group the flags undo each other: the last one given counts.
constexpr Flag kReportFlags[] = {&ListOptions::quiet, &ListOptions::status, &ListOptions::warn};
constexpr Flag kModeFlags[] = {&ListOptions::binary, &ListOptions::text};
constexpr Flag kFormFlags[] = {&ListOptions::base64, &ListOptions::upper, &ListOptions::integrity,
                               &ListOptions::contentDigest};

template <std::size_t Size>
void clearGroupOf(Flag flag, const Flag (&group)[Size], ListOptions& options) {
    if (std::ranges::find(group, flag) != std::end(group)) {
        for (const Flag other : group) {
            options.*other = false;
        }
    }
}

void set(ListOptions& options, Flag flag) {
    clearGroupOf(flag, kReportFlags, options);
    clearGroupOf(flag, kModeFlags, options);
    clearGroupOf(flag, kFormFlags, options);
    options.*flag = true;
}

// The options only a check takes, in the order sha256sum looks at them.
constexpr std::pair<Flag, std::string_view> kCheckOnly[] = {
    {&ListOptions::ignoreMissing,
     "the --ignore-missing option is meaningful only when verifying checksums"},
    {&ListOptions::status, "the --status option is meaningful only when verifying checksums"},
    {&ListOptions::warn, "the --warn option is meaningful only when verifying checksums"},
    {&ListOptions::quiet, "the --quiet option is meaningful only when verifying checksums"},
    {&ListOptions::strict, "the --strict option is meaningful only when verifying checksums"},
};

// The options only writing digests takes.
constexpr std::pair<Flag, std::string_view> kWriteOnly[] = {
    {&ListOptions::untagged, "the --untagged option is meaningless when verifying checksums"},
    {&ListOptions::noNames, "the --no-names option is meaningless when verifying checksums"},
    {&ListOptions::raw, "the --raw option is meaningless when verifying checksums"},
    {&ListOptions::base64, "the --base64 option is meaningless when verifying checksums"},
    {&ListOptions::upper, "the --upper option is meaningless when verifying checksums"},
    {&ListOptions::integrity, "the --sri option is meaningless when verifying checksums"},
    {&ListOptions::contentDigest,
     "the --content-digest option is meaningless when verifying checksums"},
};

template <std::size_t Size>
std::optional<std::string_view> firstSet(const std::pair<Flag, std::string_view> (&flags)[Size],
                                         const ListOptions& options) {
    for (const auto& [flag, message] : flags) {
        if (options.*flag) {
            return message;
        }
    }
    return std::nullopt;
}

}  // namespace

const std::string_view kListOptionsHelp =
    "Auditing a folder:\n"
    "      --audit LIST FOLDER  the folder's files against the list made of it\n"
    "                        before: 'NAME: changed', 'NAME: new', 'NAME: missing'\n"
    "                        or 'NAME: moved from OLD' for each file that is not\n"
    "                        unchanged, then the count of each; exit status 0\n"
    "                        only when all are unchanged\n"
    "      --update          then write the list as the folder is now (the old\n"
    "                        one is kept as LIST~)\n"
    "Checking lists:\n"
    "  -c, --check LIST...   check the files each list names ('-' is standard\n"
    "                        input): GNU lines 'digest  name', BSD lines\n"
    "                        'ALG (name) = digest', SFV, hashdeep and BagIt lists,\n"
    "                        or a lone digest in a file 'name.alg'; names are\n"
    "                        relative to the list's folder. The algorithm is -a's,\n"
    "                        else the line's, else the list's name's (.md5,\n"
    "                        SHA256SUMS, .sfv ...), else the digest's length\n"
    "      --quiet           no line for a file that is OK\n"
    "      --status          nothing on standard output: the exit status tells\n"
    "                        (of --quiet, --status and --warn the last one counts)\n"
    "      --strict          fail on improperly formatted lines\n"
    "  -w, --warn            name each improperly formatted line\n"
    "      --ignore-missing  say nothing of listed files that do not exist\n"
    "Writing lists:\n"
    "      --tag             BSD lines 'ALG (name) = digest' also for one algorithm\n"
    "      --untagged        'digest  name' lines also for several algorithms\n"
    "  -b, --binary          GNU lines 'digest *name'\n"
    "  -t, --text            GNU lines 'digest  name' (the default)\n"
    "  -r, --recursive       the files in folders and below, in sorted order\n"
    "  -L, --dereference     with -r, also into symbolic links to folders\n"
    "  -z, --zero            end each line with NUL, not a line feed; names as\n"
    "                        they are\n"
    "      --no-names        the digests alone, one a line\n"
    "      --raw             the digest's bytes alone (one input, one algorithm)\n"
    "Writing digests (the last one given counts; lists of them are read back):\n"
    "      --base64          in base64, as cksum --base64 writes them\n"
    "      --upper           in upper-case hex\n"
    "      --sri             as the web's integrity strings, 'sha384-<base64>'\n"
    "      --content-digest  as HTTP Content-Digest values, 'sha-256=:<base64>:'\n";

std::optional<std::string_view> MisplacedListOption(const ListOptions& options) {
    if (options.tag && options.text) {
        return "--tag does not support --text mode";
    }
    if (options.check) {
        if (options.zero) {
            return "the --zero option is not supported when verifying checksums";
        }
        if (options.tag) {
            return "the --tag option is meaningless when verifying checksums";
        }
        if (options.binary || options.text) {
            return "the --binary and --text options are meaningless when verifying checksums";
        }
        return firstSet(kWriteOnly, options);
    }
    if (options.tag && options.untagged) {
        return "--tag does not go with --untagged";
    }
    return firstSet(kCheckOnly, options);
}

hashing::DigestForm DigestFormOf(const ListOptions& options) {
    using enum hashing::DigestForm;
    return options.base64          ? Base64
           : options.upper         ? UpperHex
           : options.integrity     ? Integrity
           : options.contentDigest ? ContentDigest
                                   : Hex;
}

bool ReadListOption(std::string_view argument, ListOptions& options) {
    for (const auto& [name, flag] : kLongFlags) {
        if (argument == name) {
            set(options, flag);
            return true;
        }
    }
    if (argument.size() < 2 || argument[0] != '-' || argument[1] == '-') {
        return false;
    }
    const std::string_view letters = argument.substr(1);
    if (!std::ranges::all_of(letters, [](char letter) { return shortFlag(letter) != nullptr; })) {
        return false;
    }
    for (const char letter : letters) {
        set(options, shortFlag(letter));
    }
    return true;
}

}  // namespace tolvek::cli

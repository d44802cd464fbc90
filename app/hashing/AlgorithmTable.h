// The entries of the algorithm list: one row per entry carries every fact about it (names,
// providers, size, weakness, the names other tools and lists give it, the tool a test compares
// it with), and the main window, tolvek-cli, the tests and the benchmarks all read it from there.
#pragma once

#include <array>
#include <cstddef>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "app/hashing/Digester.h"
#include "engine/HashEngine.h"
#include "engine/MessageLanes.h"

namespace tolvek::hashing {

// A published input and the digest (lower-case hex) the entry gives for it.
struct KnownAnswer {
    std::string_view input;
    std::string_view digest;
};

// One way of computing an entry's function: each start() begins a fresh computation.
class Provider {
public:
    virtual ~Provider() = default;
    virtual std::unique_ptr<Digester> start() const = 0;
    // The length of its digests, as the algorithm defines it.
    virtual std::size_t digestBytes() const = 0;

    // The known answer its algorithm carries, if any (the engine's hash types have the start-up
    // self-test instead).
    virtual std::optional<KnownAnswer> knownAnswer() const { return std::nullopt; }
};

// How the main window shows an entry's digests: as hex, or, for the whole-file checksums, as a
// number without leading zeros, with a file it could not read shown as the empty text. The
// checksums whose digest ends with the message's length (WithLengthProvider) are shown as their
// tools print them, and tolvek-cli prints them so too: cksum's decimal CRC and length, sum -r's
// and sum -s's decimal sum and blocks of 1024 and 512 bytes.
enum class ShownAs { Hex, Number, CksumLine, BsdSumLine, SysvSumLine };

// The public tool that a test compares an entry's digests with.
struct Oracle {
    // Run with the file names appended; prints one line per file, the digest first (or last,
    // after ") = "). "openssl NAME" stands for openssl's dgst command of NAME with the legacy
    // provider loaded; a first word ending in ".py" or ".sh" names a script of tests/oracle.
    // Empty when no tool computes the entry.
    std::string_view command;
    // The algorithm's block sizes: files around their first multiples are compared.
    std::span<const std::size_t> blocks = {};
    // A larger unit of the algorithm's work (ED2K's chunk), whose edges are compared too.
    std::size_t chunk = 0;
};

// An id the entry had before, and what tolvek-cli says when it is given.
class Parameters;

struct FormerId {
    std::string_view id;
    std::string_view note;
};

// The facts of an entry besides its names and routes.
struct EntryFacts {
    // Why equal digests show only that nothing changed by accident: a checksum, or published
    // practical collisions. Empty for the entries that also reveal deliberate changes.
    std::string_view weakness = {};
    // The name our BSD lines give the entry, when the tools that share the algorithm spell it
    // otherwise than the id in capitals ("BLAKE2b", so that b2sum -c reads our lines).
    std::string_view tag = {};
    // Names other tools write in BSD lines ("SHA2-256"), separated by spaces.
    std::string_view otherNames = {};
    // Stems of list names that mean the entry besides its id ("b2" of "B2SUMS", "sfv" of
    // "x.sfv"), separated by spaces.
    std::string_view listStems = {};
    // The name in the web's integrity strings ("sha384" of "sha384-<base64>") and in HTTP's
    // Content-Digest field ("sha-256"), for the algorithms those registries hold.
    std::string_view integrityName = {};
    std::string_view httpName = {};
    // The digest tool whose default the entry is ("sha256sum"): called through a link of that
    // name, tolvek-cli acts as that tool. Its -l/--length counts bits, or bytes when marked.
    std::string_view tool = {};
    bool toolLengthInBytes = false;
    Oracle oracle = {};
    // The name the speed tables of other hash libraries give it (bench/compare.py).
    std::string_view peerName = {};
    FormerId formerId = {};
    // Selected when nothing else is: in a new window, and by tolvek-cli without -a.
    bool isDefault = false;
    // The entry digests of its length most often come from (SHA-256 among the 32-byte ones): a
    // list line whose digest alone names its candidates is checked with it first, and with the
    // others only when it does not match.
    bool triedFirst = false;
    // The block HMAC pads its key to (RFC 2104's B); 0 where HMAC is not defined (checksums,
    // hashes without a block).
    std::size_t hmacBlock = 0;
    // The output lengths, keys and contexts the algorithm takes (EntryVariants.h); null for none.
    const Parameters* parameters = nullptr;
    // A checksum or a fast hash that is not cryptographic: the window's list shows the entries
    // after the specified thirty apart from today's hashes.
    bool checksum = false;
    // The digests of many whole messages in one call (engine/MessageLanes.h), the file route's
    // function: small files read whole are hashed through it together, several in the lanes of
    // one vector register. Null where the engine has no such call.
    engine::ManyMessagesHash* manyMessages = nullptr;
};

// An entry's list position is its index in the table. Its id also names its section of the test
// vectors (tests/vectors/*.vec).
struct AlgorithmEntry : EntryFacts {
    std::string_view id;           // short name for the command line, lower case
    std::string_view caption;      // text of the list entry
    std::string_view description;  // what the entry computes, in one line
    const Provider& fileRoute;
    const Provider& stringRoute;
    ShownAs shownAs = ShownAs::Hex;

    std::size_t digestBytes() const { return fileRoute.digestBytes(); }
};

// The engine's hash type for list positions 0 to 20, the types the engine's self-test covers:
// the entries of those positions that the engine serves use exactly these types.
inline constexpr std::array<engine::HashType, 21> EngineHashTypes = {
    engine::HashTypeMD2,           engine::HashTypeMD4,       engine::HashTypeMD5,
    engine::HashTypeSHA1,          engine::HashTypeSHA256,    engine::HashTypeSHA384,
    engine::HashTypeSHA512,        engine::HashTypeHAVAL128,  engine::HashTypeHAVAL160,
    engine::HashTypeHAVAL192,      engine::HashTypeHAVAL224,  engine::HashTypeHAVAL256,
    engine::HashTypeGOST,          engine::HashTypeTiger128,  engine::HashTypeTiger160,
    engine::HashTypeTiger192,      engine::HashTypeRIPEMD128, engine::HashTypeRIPEMD160,
    engine::HashTypeCRC32MsbFirst, engine::HashTypeCRC32,     engine::HashTypeAdler32,
};

// The entries the list had first, whose positions and captions stay as they were.
inline constexpr std::size_t kSpecifiedEntries = 30;

// The entries in list order.
std::span<const AlgorithmEntry> AlgorithmEntries();

// The entry at a list position of `entries`, or null for a position outside the list (such as
// -1, no selection).
const AlgorithmEntry* EntryAt(std::span<const AlgorithmEntry> entries, int position);

// The position of the default entry of `entries`; 0 when none is marked.
int DefaultPosition(std::span<const AlgorithmEntry> entries);

// The default entry of the table.
const AlgorithmEntry& DefaultEntry();

// The entry whose short id, else whose caption, equals `name`, ignoring ASCII case; null if
// none. Ids go first: the id "whirlpool" names another entry than the caption "Whirlpool".
const AlgorithmEntry* FindAlgorithm(std::string_view name);

// The name our BSD lines give an entry: the spelling of the tools that share the algorithm
// ("BLAKE2b", so that b2sum -c reads our lines), else the id in capitals ("SHA256").
std::string TagOf(const AlgorithmEntry& entry);

// Whether the space-separated `names` (an entry's otherNames or listStems) hold `name`,
// ignoring ASCII case.
bool NamesHold(std::string_view names, std::string_view name);

// The entries of `entries` whose digests are `bytes` long, in table order.
std::vector<const AlgorithmEntry*> EntriesOfLength(std::span<const AlgorithmEntry> entries,
                                                   std::size_t bytes);

enum class Route { File, String };

// The file routes, or the string routes, of `entries`, in their order.
std::vector<const Provider*> RoutesOf(std::span<const AlgorithmEntry* const> entries, Route route);

// The distinct digest lengths of `entries`, ascending.
std::vector<std::size_t> DigestLengthsOf(std::span<const AlgorithmEntry> entries);

}  // namespace tolvek::hashing

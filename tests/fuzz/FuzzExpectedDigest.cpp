// The forgiving reader of an expected digest, as pasted into the window or given to --match:
// any text gives nothing or a digest of a length asked for.
#include <algorithm>

#include "app/checks/ExpectedDigest.h"
#include "app/hashing/AlgorithmTable.h"
#include "tests/fuzz/FuzzCheck.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tolvek;
    static const std::vector<std::size_t> kLengths =
        hashing::DigestLengthsOf(hashing::AlgorithmEntries());
    const std::string_view text = fuzz::TextOf(data, size);
    const std::optional<checks::ExpectedDigest> expected = checks::ReadExpectedDigest(text, kLengths);
    if (expected) {
        fuzz::Expect(std::ranges::count(kLengths, expected->digest.size()) == 1,
                     "the digest has a length asked for");
    }
    return 0;
}

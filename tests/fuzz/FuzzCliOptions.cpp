// tolvek-cli's command line of any arguments (the input cut at NUL bytes) is read without a
// crash: either a request, with nothing said, or a usage error that says why.
#include <sstream>

#include "cli/Cli.h"
#include "tests/fuzz/FuzzCheck.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tolvek;
    const std::vector<std::string> arguments = fuzz::PartsOf(fuzz::TextOf(data, size), 64);
    std::ostringstream errors;
    const bool valid = cli::CheckArguments(arguments, errors);
    fuzz::Expect(valid == errors.str().empty(), "only a usage error says something");
    fuzz::Expect(valid || errors.str().starts_with("tolvek-cli: "),
                 "a usage error names the program");
    return 0;
}

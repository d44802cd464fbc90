// Linked beside tolvek-cli's own main() into tolvek-cli-without-avx512: the command line as it
// runs on a processor without AVX-512 (AMD before Zen 4, most CI machines), so that the paths
// such machines take are timed end to end on one that has it. The mask is set before main runs.
#include "engine/CpuFeatures.h"

namespace {

[[maybe_unused]] const bool kAvx512Masked = [] {
    using namespace tolvek::engine;
    LimitCpuFeaturesForTesting(kAllCpuFeatures & ~kCpuAvx512);
    return true;
}();

}  // namespace

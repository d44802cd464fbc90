// The CPU feature sets the tests run the engine under, from the portable code to everything
// this machine has; a path the CPU lacks is skipped.
#pragma once

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <tuple>
#include <vector>

#include "engine/CpuFeatures.h"
#include "tests/support/VectorFile.h"

namespace tolvek::testing {

struct CpuPath {
    std::string name;
    unsigned features;  // the only features the engine may use on this path
};

inline void PrintTo(const CpuPath& path, std::ostream* stream) { *stream << path.name; }

// The portable code, each feature alone, what a CPU without AVX-512 runs, and everything.
inline const std::vector<CpuPath>& CpuPaths() {
    using namespace tolvek::engine;
    static const std::vector<CpuPath> paths = {
        {"Portable", kCpuNone},
        {"ShaNi", kCpuShaNi},
        {"Pclmul", kCpuPclmul},
        {"Avx2", kCpuAvx2},
        {"Avx2Clmul", kCpuAvx2Clmul},
        {"Avx512Vl", kCpuAvx512Vl},
        {"Avx512Clmul", kCpuAvx512Clmul},
        {"Avx512Bw", kCpuAvx512Bw},
        {"NoAvx512", CpuFeaturesAvailable() & ~kCpuAvx512},
        {"All", kAllCpuFeatures},
    };
    return paths;
}

// Limits the engine to `path` for the lifetime of the object; false from available() when the
// CPU lacks a feature of the path.
class ScopedCpuPath {
public:
    explicit ScopedCpuPath(const CpuPath& path) {
        engine::LimitCpuFeaturesForTesting(path.features);
    }
    ~ScopedCpuPath() { engine::LimitCpuFeaturesForTesting(engine::kAllCpuFeatures); }
    ScopedCpuPath(const ScopedCpuPath&) = delete;
    ScopedCpuPath& operator=(const ScopedCpuPath&) = delete;

    static bool available(const CpuPath& path) {
        return path.features == engine::kAllCpuFeatures ||
               (engine::CpuFeaturesAvailable() & path.features) == path.features;
    }
};

// A published vector run on one CPU path, named "<file>_vec_<line>_<path>".
using VectorOnPath = std::tuple<Vector, CpuPath>;

inline std::string VectorOnPathName(const ::testing::TestParamInfo<VectorOnPath>& caseInfo) {
    const auto& [vector, path] = caseInfo.param;
    return VectorCaseName({vector, caseInfo.index}) + "_" + path.name;
}

}  // namespace tolvek::testing

// XXH3's stripe accumulation on x86 vector extensions; each is called only when CpuHas reports
// its feature (engine/CpuFeatures.h). Same contract as xxhash::AccumulateStripes.
#pragma once

#include "engine/XXHash.h"

namespace tolvek::engine::xxhash {

void AccumulateStripesAvx2(Accumulators& accumulators, const std::uint8_t* stripes,
                           std::size_t stripeCount, std::size_t stripeInBlock);
void AccumulateStripesAvx512(Accumulators& accumulators, const std::uint8_t* stripes,
                             std::size_t stripeCount, std::size_t stripeInBlock);

}  // namespace tolvek::engine::xxhash

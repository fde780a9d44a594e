#pragma once
// GDAL as the program uses it, set up once per process before the first dataset is opened:
// every driver registered, the block cache sized on purpose rather than left at its default
// (5 % of the machine's memory, which a scene of any size would fill), and an error handler
// that keeps GDAL's messages for the program to report in its own words instead of printing
// them.
#include <cstdint>
#include <string>

namespace palettor {

// Safe to call from any thread, any number of times; the first call does the work.
void UseGdal();

// The bytes GDAL's block cache starts with. Colouring a scene raises it to what a row of its
// channels' blocks needs (SceneFileCopy.cpp), within a bound.
constexpr std::int64_t kGdalCacheBytes = std::int64_t{16} << 20;

// Raises the block cache to `bytes`, never lowers it: scenes coloured side by side share it.
void EnsureGdalCache(std::int64_t bytes);

// The last failure GDAL reported on this thread since ClearGdalReason(), as GDAL worded it; a
// generic text when it said nothing.
std::string GdalReason();
void ClearGdalReason();

}  // namespace palettor

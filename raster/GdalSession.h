#pragma once
// GDAL as the program uses it, set up once per process before the first dataset is opened:
// every driver registered, the block cache sized on purpose rather than left at its default
// (5 % of the machine's memory), and an error handler that keeps GDAL's messages for the
// program to report in its own words instead of printing them.
#include <cstdint>
#include <string>

namespace palettor {

// Safe to call from any thread, any number of times; the first call does the work.
void UseGdal();

// The bytes GDAL's block cache may hold: enough for the blocks of a few rows of tiles of two
// channels, fixed so that colouring a scene of any size stays within the same memory.
constexpr std::int64_t kGdalCacheBytes = std::int64_t{48} << 20;

// The last failure GDAL reported on this thread since ClearGdalReason(), as GDAL worded it; a
// generic text when it said nothing.
std::string GdalReason();
void ClearGdalReason();

}  // namespace palettor

#include "GdalSession.h"

#include <cpl_conv.h>
#include <cpl_error.h>
#include <gdal.h>

#include <mutex>

namespace palettor {

namespace {

// GDAL calls its handler on the thread that failed; each thread keeps its own last message, so
// that scenes coloured side by side never swap reasons.
thread_local std::string lastFailure;

void KeepFailure(CPLErr level, CPLErrorNum, const char* message) {
  // Warnings and debug output are GDAL talking to itself; a failure is what the user is told.
  if (level == CE_Failure || level == CE_Fatal) lastFailure = message ? message : "";
}

}  // namespace

void UseGdal() {
  static std::once_flag once;
  std::call_once(once, [] {
    GDALAllRegister();
    CPLSetErrorHandler(KeepFailure);
    GDALSetCacheMax64(kGdalCacheBytes);
  });
}

void EnsureGdalCache(std::int64_t bytes) {
  static std::mutex mutex;
  const std::lock_guard lock(mutex);
  if (GDALGetCacheMax64() < bytes) GDALSetCacheMax64(bytes);
}

std::string GdalReason() { return lastFailure.empty() ? std::string("GDAL gave no reason") : lastFailure; }

void ClearGdalReason() {
  lastFailure.clear();
  CPLErrorReset();
}

}  // namespace palettor

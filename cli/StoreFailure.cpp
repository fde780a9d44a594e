#include "StoreFailure.h"

#include <string>

#include "StoreLocation.h"

namespace palettor::cli {

namespace {

CommandError StoreFailure(const char* verb, const ERegistryException& error) {
  return Failure(std::string("cannot ") + verb + " the settings store " + RegistryStorePath() + ": " + error.what());
}

}  // namespace

CommandError CannotReadStore(const ERegistryException& error) { return StoreFailure("read", error); }

CommandError CannotWriteStore(const ERegistryException& error) { return StoreFailure("write", error); }

}  // namespace palettor::cli

#include "RasterError.h"

namespace palettor {

RasterError InChannel(const RasterError& error, const std::string& channel) {
  switch (error.GetKind()) {
    case RasterError::Kind::Failed: return {error.GetKind(), "cannot read the " + channel + " " + error.what()};
    case RasterError::Kind::Refused: return {error.GetKind(), "the " + channel + " " + error.what()};
    case RasterError::Kind::OutOfMemory: break;
  }
  return error;
}

RasterError NotEnoughMemory(const std::string& file, long long width, long long height) {
  return {RasterError::Kind::OutOfMemory, "not enough memory to read " + file + " (" + std::to_string(width) +
                                              " \u00d7 " + std::to_string(height) + ")"};
}

}  // namespace palettor

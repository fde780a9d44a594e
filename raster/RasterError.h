#pragma once
// How reading or writing a scene fails. The message names the file first, then the reason.
#include <stdexcept>
#include <string>

namespace palettor {

class RasterError : public std::runtime_error {
 public:
  enum class Kind {
    Failed,   // missing, unreadable or damaged: the system's or GDAL's reason
    Refused,  // readable, but not what a channel can be (a colour image, no usable unit, sizes ...)
    OutOfMemory,
  };
  RasterError(Kind kind, const std::string& message) : std::runtime_error(message), kind_(kind) {}
  Kind GetKind() const { return kind_; }

 private:
  Kind kind_;
};

inline RasterError Unreadable(const std::string& message) { return {RasterError::Kind::Failed, message}; }
inline RasterError Refused(const std::string& message) { return {RasterError::Kind::Refused, message}; }

// An error about one file told as part of a scene: "cannot read the infrared image FILE: ..."
// for a failure, "the infrared image FILE: ..." for a refusal. `channel`: "infrared image".
RasterError InChannel(const RasterError& error, const std::string& channel);

// "not enough memory to read FILE (W × H)".
RasterError NotEnoughMemory(const std::string& file, long long width, long long height);

}  // namespace palettor

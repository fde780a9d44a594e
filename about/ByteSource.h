#pragma once
// Bounded random access to the bytes of a file or of a memory buffer. Every read names its range and
// fails, instead of reading past the end, when the range does not lie wholly inside the source.
#include <cstdint>
#include <span>
#include <string>

namespace palettor {

class ByteSource {
 public:
  virtual ~ByteSource() = default;
  virtual std::uint64_t Size() const = 0;
  // Fills `out` from `offset`; false when the range is not wholly inside the source or cannot be read.
  virtual bool Read(std::uint64_t offset, std::span<std::uint8_t> out) const = 0;
};

class MemoryByteSource final : public ByteSource {
 public:
  explicit MemoryByteSource(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}
  std::uint64_t Size() const override { return bytes_.size(); }
  bool Read(std::uint64_t offset, std::span<std::uint8_t> out) const override;

 private:
  std::span<const std::uint8_t> bytes_;
};

// Reads through the file descriptor with pread, so a file that shrinks while it is being read gives
// failed reads rather than a fault (a memory mapping would raise SIGBUS).
class FileByteSource final : public ByteSource {
 public:
  FileByteSource() = default;
  ~FileByteSource() override;
  FileByteSource(const FileByteSource&) = delete;
  FileByteSource& operator=(const FileByteSource&) = delete;

  // Opens a regular file; on failure returns the operating system's reason, else an empty string.
  std::string Open(const std::string& path);
  std::uint64_t Size() const override { return size_; }
  bool Read(std::uint64_t offset, std::span<std::uint8_t> out) const override;

 private:
  int fd_ = -1;
  std::uint64_t size_ = 0;
};

}  // namespace palettor

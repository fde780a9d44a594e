#include "SceneChannel.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <new>

#include "GdalSession.h"
#include "NetpbmFile.h"
#include "RasterError.h"

namespace palettor {

// How the pixels of a grey picture become levels.
struct SceneChannel::Decoding {
  enum class Kind { Raw, Mapped, Rgb };
  Kind kind = Kind::Raw;
  GreyDepth depth = GreyDepth::Eight;
  // Mapped (and each band of Rgb when not empty): the level of every raw value, or one of
  // these marks.
  static constexpr std::int32_t kUndefinedEntry = -1;  // beyond a palette's colours
  static constexpr std::int32_t kColourEntry = -2;     // a palette colour that is not grey
  static constexpr std::int32_t kOverMaximum = -3;     // a Netpbm sample above the file's maximum
  std::vector<std::int32_t> levels;
  const GDALColorTable* palette = nullptr;
  std::optional<NetpbmHeader> netpbm;
  std::array<GDALRasterBand*, 3> bands{};
  std::vector<std::uint16_t> green, blue;
};

namespace {

std::string SystemReason(int error) { return std::strerror(error); }

// Names GDAL reads without a file of that name: a subdataset (DRIVER:"file":var) or one of its
// virtual file systems.
bool IsGdalName(const std::string& name) {
  return name.starts_with("/vsi") || (name.find(':') != std::string::npos && !name.starts_with("/"));
}

// The checks that give the system's own reason, and keep GDAL away from what would block or
// never end: a FIFO, a device, a socket.
void CheckFile(const std::string& name) {
  if (name.starts_with("/vsi")) return;
  struct stat info {};
  if (::stat(name.c_str(), &info) != 0) {
    const int error = errno;
    if (error == ENOENT && IsGdalName(name)) return;
    throw Unreadable(name + ": " + SystemReason(error));
  }
  if (S_ISDIR(info.st_mode)) throw Unreadable(name + ": is a folder");
  if (S_ISFIFO(info.st_mode)) throw Unreadable(name + ": is a FIFO, not a file");
  if (S_ISCHR(info.st_mode) || S_ISBLK(info.st_mode)) throw Unreadable(name + ": is a device, not a file");
  if (S_ISSOCK(info.st_mode)) throw Unreadable(name + ": is a socket, not a file");
  const int fd = ::open(name.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) throw Unreadable(name + ": " + SystemReason(errno));
  ::close(fd);
}

std::string SubdatasetList(GDALDataset& dataset) {
  std::string list;
  for (char** item = dataset.GetMetadata("SUBDATASETS"); item && *item; ++item) {
    const std::string entry(*item);
    const auto equals = entry.find('=');
    if (equals == std::string::npos || !entry.substr(0, equals).ends_with("_NAME")) continue;
    list += (list.empty() ? "" : ", ") + entry.substr(equals + 1);
  }
  return list;
}

// Pictures: their no-data value is a transparent colour, which a channel ignores like alpha.
bool IsPictureFormat(GDALDataset& dataset) {
  const std::string driver = dataset.GetDriver() ? dataset.GetDriver()->GetDescription() : "";
  return driver == "PNG" || driver == "BMP" || driver == "GIF" || driver == "JPEG" || driver == "WEBP" ||
         driver == "PNM" || driver == "MEM";
}

bool IsLevelType(GDALDataType type) { return type == GDT_Byte || type == GDT_UInt16; }

GreyDepth DepthOf(GDALDataType type) { return type == GDT_Byte ? GreyDepth::Eight : GreyDepth::Sixteen; }

bool IsRgb(GDALDataset& dataset) {
  if (dataset.GetRasterCount() < 3) return false;
  const GDALDataType type = dataset.GetRasterBand(1)->GetRasterDataType();
  for (int band = 1; band <= 3; ++band) {
    GDALRasterBand* b = dataset.GetRasterBand(band);
    if (b->GetColorInterpretation() != GCI_RedBand + (band - 1) || b->GetRasterDataType() != type) return false;
  }
  return IsLevelType(type);
}

std::string Position(long long x, long long y) { return "(" + std::to_string(x) + ", " + std::to_string(y) + ")"; }

RasterError NotGrey(const std::string& name, long long x, long long y, int red, int green, int blue) {
  return Refused(name + ": not a grey image: pixel " + Position(x, y) + " has red " + std::to_string(red) + ", green " +
                 std::to_string(green) + ", blue " + std::to_string(blue));
}

}  // namespace

SceneChannel::SceneChannel(SceneChannel&&) noexcept = default;
SceneChannel& SceneChannel::operator=(SceneChannel&&) noexcept = default;
SceneChannel::~SceneChannel() = default;

SceneChannel SceneChannel::Open(const ChannelRequest& request) {
  UseGdal();
  ClearGdalReason();
  const std::string& name = request.name;
  if (name.empty()) throw Unreadable("an empty file name");
  CheckFile(name);

  SceneChannel channel;
  channel.name_ = name;
  channel.decoding_ = std::make_unique<Decoding>();
  Decoding& decoding = *channel.decoding_;
  std::vector<const char*> drivers;
  for (const std::string& driver : request.drivers) drivers.push_back(driver.c_str());
  if (!IsGdalName(name) || name.starts_with("/vsi")) decoding.netpbm = ReadNetpbmHeader(name);
  if (decoding.netpbm && decoding.netpbm->plain) {
    channel.dataset_ = ReadPlainNetpbm(name, *decoding.netpbm);
  } else {
    if (decoding.netpbm) drivers = {"PNM"};
    if (!drivers.empty()) drivers.push_back(nullptr);
    channel.dataset_.reset(GDALDataset::Open(name.c_str(), GDAL_OF_RASTER | GDAL_OF_READONLY | GDAL_OF_VERBOSE_ERROR,
                                             drivers.empty() ? nullptr : drivers.data()));
  }
  if (!channel.dataset_) throw Unreadable(name + ": " + GdalReason());
  GDALDataset& dataset = *channel.dataset_;

  const int bands = dataset.GetRasterCount();
  if (bands == 0) {
    const std::string subdatasets = SubdatasetList(dataset);
    if (subdatasets.empty()) throw Refused(name + ": holds no raster band");
    throw Refused(name + " holds several variables; name one as GDAL does: " + subdatasets);
  }
  if (request.band < 0 || request.band > bands) {
    throw Refused(name + ": there is no band " + std::to_string(request.band) + "; it has " + std::to_string(bands) +
                  (bands == 1 ? " band" : " bands"));
  }
  channel.bandNumber_ = request.band == 0 ? 1 : request.band;
  channel.band_ = dataset.GetRasterBand(channel.bandNumber_);
  channel.width_ = dataset.GetRasterXSize();
  channel.height_ = dataset.GetRasterYSize();
  channel.calibration_ = ReadCalibration(*channel.band_, !IsPictureFormat(dataset));

  GDALRasterBand& band = *channel.band_;
  const GDALDataType type = band.GetRasterDataType();
  if (!IsLevelType(type)) return channel;
  decoding.depth = DepthOf(type);
  const std::size_t entries = type == GDT_Byte ? 256 : 65536;
  if (decoding.netpbm) {
    decoding.depth = decoding.netpbm->Depth();
    decoding.levels.resize(entries);
    for (std::size_t sample = 0; sample < entries; ++sample) {
      const int level = NetpbmLevel(static_cast<int>(sample), *decoding.netpbm);
      decoding.levels[sample] = level < 0 ? Decoding::kOverMaximum : level;
    }
    decoding.kind = Decoding::Kind::Mapped;
  } else if (const GDALColorTable* palette = band.GetColorTable();
             palette && type == GDT_Byte && band.GetColorInterpretation() == GCI_PaletteIndex) {
    decoding.palette = palette;
    decoding.depth = GreyDepth::Eight;
    decoding.levels.assign(entries, Decoding::kUndefinedEntry);
    for (int index = 0; index < std::min(palette->GetColorEntryCount(), 256); ++index) {
      const GDALColorEntry* c = palette->GetColorEntry(index);
      const bool grey = c->c1 == c->c2 && c->c1 == c->c3 && c->c1 >= 0 && c->c1 <= 255;
      decoding.levels[static_cast<std::size_t>(index)] = grey ? c->c1 : Decoding::kColourEntry;
    }
    decoding.kind = Decoding::Kind::Mapped;
  } else if (const char* bits = band.GetMetadataItem("NBITS", "IMAGE_STRUCTURE");
             bits && type == GDT_Byte && std::atoi(bits) >= 1 && std::atoi(bits) < 8) {
    // Grey of fewer bits spreads over the whole range, as a picture viewer shows it.
    const int top = (1 << std::atoi(bits)) - 1;
    decoding.levels.assign(entries, Decoding::kUndefinedEntry);
    for (int value = 0; value <= top; ++value) decoding.levels[static_cast<std::size_t>(value)] = value * 255 / top;
    decoding.kind = Decoding::Kind::Mapped;
  }
  if (request.band == 0 && IsRgb(dataset)) {
    decoding.kind = Decoding::Kind::Rgb;
    for (int b = 0; b < 3; ++b) decoding.bands[static_cast<std::size_t>(b)] = dataset.GetRasterBand(b + 1);
  }
  return channel;
}

SceneChannel SceneChannel::FromLevels(const GreyImage& image, const std::string& name) {
  UseGdal();
  const bool eight = image.Depth() == GreyDepth::Eight;
  GDALDriver* memory = GetGDALDriverManager()->GetDriverByName("MEM");
  SceneChannel channel;
  channel.name_ = name;
  channel.dataset_.reset(memory->Create("", image.Width(), image.Height(), 1, eight ? GDT_Byte : GDT_UInt16, nullptr));
  if (!channel.dataset_) throw NotEnoughMemory(name, image.Width(), image.Height());
  channel.band_ = channel.dataset_->GetRasterBand(1);
  for (int y = 0; y < image.Height(); ++y) {
    void* row = eight ? static_cast<void*>(const_cast<std::uint8_t*>(image.Row8(y)))
                      : static_cast<void*>(const_cast<std::uint16_t*>(image.Row16(y)));
    if (channel.band_->RasterIO(GF_Write, 0, y, image.Width(), 1, row, image.Width(), 1, eight ? GDT_Byte : GDT_UInt16,
                                0, 0, nullptr) != CE_None) {
      throw NotEnoughMemory(name, image.Width(), image.Height());
    }
  }
  channel.width_ = image.Width();
  channel.height_ = image.Height();
  channel.calibration_ = ReadCalibration(*channel.band_, false);
  channel.decoding_ = std::make_unique<Decoding>();
  channel.decoding_->depth = image.Depth();
  return channel;
}

std::optional<GreyDepth> SceneChannel::LevelDepth() const {
  if (!calibration_.unit.empty() || !calibration_.IsIdentity()) return std::nullopt;
  if (decoding_->kind != Decoding::Kind::Raw || IsLevelType(calibration_.type)) return decoding_->depth;
  return std::nullopt;
}

std::optional<std::array<double, 6>> SceneChannel::GeoTransform() const {
  std::array<double, 6> transform{};
  if (dataset_->GetGeoTransform(transform.data()) != CE_None) return std::nullopt;
  return transform;
}

const OGRSpatialReference* SceneChannel::SpatialReference() const { return dataset_->GetSpatialRef(); }

std::int64_t SceneChannel::BlockRowBytes() const {
  int blockWidth = 0, blockHeight = 0;
  band_->GetBlockSize(&blockWidth, &blockHeight);
  const std::int64_t bands = decoding_->kind == Decoding::Kind::Rgb ? 3 : 1;
  return bands * std::int64_t{width_} * blockHeight * GDALGetDataTypeSizeBytes(band_->GetRasterDataType());
}

std::optional<double> SceneChannel::NoDataLevel() const {
  if (!calibration_.noData || decoding_->kind != Decoding::Kind::Raw) return std::nullopt;
  return NoDataAsStored(*calibration_.noData, calibration_.type);
}

void SceneChannel::FailRead() { throw Unreadable(name_ + ": " + GdalReason()); }

void SceneChannel::ReadRaw(GDALRasterBand& band, const PixelWindow& window, int bufferWidth, int bufferHeight,
                           GDALDataType type, void* buffer) {
  ClearGdalReason();
  if (band.RasterIO(GF_Read, window.x, window.y, window.width, window.height, buffer, bufferWidth, bufferHeight, type,
                    0, 0, nullptr) != CE_None) {
    FailRead();
  }
}

namespace {

// Levels through a map, in place; the index of the first pixel that has none (left as it
// was), or `count`.
template <typename Level>
std::size_t MapLevels(Level* levels, std::size_t count, const std::vector<std::int32_t>& map) {
  for (std::size_t i = 0; i < count; ++i) {
    const std::int32_t level = map[levels[i]];
    if (level < 0) return i;
    levels[i] = static_cast<Level>(level);
  }
  return count;
}

template <typename Level>
std::size_t FirstColour(const Level* red, const std::uint16_t* green, const std::uint16_t* blue, std::size_t count) {
  for (std::size_t i = 0; i < count; ++i) {
    if (red[i] != green[i] || red[i] != blue[i]) return i;
  }
  return count;
}

}  // namespace

void SceneChannel::ReadLevels(const PixelWindow& window, int bufferWidth, int bufferHeight, void* levels) {
  Decoding& decoding = *decoding_;
  const auto count = static_cast<std::size_t>(bufferWidth) * static_cast<std::size_t>(bufferHeight);
  // Where pixel i of the buffer lies in the image.
  const auto x = [&](std::size_t i) {
    return window.x + static_cast<long long>(i % static_cast<std::size_t>(bufferWidth)) * window.width / bufferWidth;
  };
  const auto y = [&](std::size_t i) {
    return window.y + static_cast<long long>(i / static_cast<std::size_t>(bufferWidth)) * window.height / bufferHeight;
  };
  const auto refuse = [&](std::size_t i, std::size_t raw) {
    const std::int32_t mark = decoding.levels[raw];
    if (mark == Decoding::kColourEntry) {
      const GDALColorEntry* c = decoding.palette->GetColorEntry(static_cast<int>(raw));
      throw NotGrey(name_, x(i), y(i), c->c1, c->c2, c->c3);
    }
    if (mark == Decoding::kOverMaximum) {
      throw Unreadable(name_ + ": damaged " + decoding.netpbm->Kind() + " file: pixel " + Position(x(i), y(i)) +
                       " exceeds the maximum " + std::to_string(decoding.netpbm->maxSample));
    }
    throw Unreadable(name_ + ": damaged image: pixel " + Position(x(i), y(i)) + " uses colour " + std::to_string(raw) +
                     " of a palette of " +
                     std::to_string(decoding.palette ? decoding.palette->GetColorEntryCount() : 0));
  };
  const bool bytes = calibration_.type == GDT_Byte;
  const auto mapInPlace = [&](void* buffer, bool eightBit) {
    if (decoding.levels.empty()) return;
    if (eightBit) {
      auto* b = static_cast<std::uint8_t*>(buffer);
      if (const std::size_t bad = MapLevels(b, count, decoding.levels); bad != count) refuse(bad, b[bad]);
    } else {
      auto* b = static_cast<std::uint16_t*>(buffer);
      if (const std::size_t bad = MapLevels(b, count, decoding.levels); bad != count) refuse(bad, b[bad]);
    }
  };
  // Samples wider than their levels (a PPM file of 16-bit samples gives 8-bit levels) are
  // mapped in a buffer of their own width and narrowed.
  const bool narrowed = !bytes && decoding.depth == GreyDepth::Eight;
  std::vector<std::uint16_t> wide(narrowed ? count : 0);
  void* first = narrowed ? static_cast<void*>(wide.data()) : levels;
  const auto narrow = [&] {
    if (!narrowed) return;
    auto* out = static_cast<std::uint8_t*>(levels);
    for (std::size_t i = 0; i < count; ++i) out[i] = static_cast<std::uint8_t>(wide[i]);
  };

  const GDALDataType stored = bytes ? GDT_Byte : GDT_UInt16;
  if (decoding.kind != Decoding::Kind::Rgb) {
    ReadRaw(*band_, window, bufferWidth, bufferHeight, stored, first);
    mapInPlace(first, bytes);
    narrow();
    return;
  }
  decoding.green.resize(count);
  decoding.blue.resize(count);
  ReadRaw(*decoding.bands[0], window, bufferWidth, bufferHeight, stored, first);
  ReadRaw(*decoding.bands[1], window, bufferWidth, bufferHeight, GDT_UInt16, decoding.green.data());
  ReadRaw(*decoding.bands[2], window, bufferWidth, bufferHeight, GDT_UInt16, decoding.blue.data());
  mapInPlace(first, bytes);
  mapInPlace(decoding.green.data(), false);
  mapInPlace(decoding.blue.data(), false);
  narrow();
  const bool eight = decoding.depth == GreyDepth::Eight;
  const std::size_t colour =
      eight
          ? FirstColour(static_cast<const std::uint8_t*>(levels), decoding.green.data(), decoding.blue.data(), count)
          : FirstColour(static_cast<const std::uint16_t*>(levels), decoding.green.data(), decoding.blue.data(), count);
  if (colour != count) {
    const int red =
        eight ? static_cast<const std::uint8_t*>(levels)[colour] : static_cast<const std::uint16_t*>(levels)[colour];
    throw NotGrey(name_, x(colour), y(colour), red, decoding.green[colour], decoding.blue[colour]);
  }
}

void SceneChannel::ReadValues(const PixelWindow& window, int bufferWidth, int bufferHeight, double* values) {
  const auto count = static_cast<std::size_t>(bufferWidth) * static_cast<std::size_t>(bufferHeight);
  const double scale = calibration_.scale, offset = calibration_.offset;
  if (decoding_->kind != Decoding::Kind::Raw) {
    // A grey picture's levels, 8 or 16 bits each, as values.
    const bool eight = decoding_->depth == GreyDepth::Eight;
    std::vector<std::uint16_t> levels(eight ? (count + 1) / 2 : count);
    ReadLevels(window, bufferWidth, bufferHeight, levels.data());
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(levels.data());
    for (std::size_t i = 0; i < count; ++i) values[i] = (eight ? bytes[i] : levels[i]) * scale + offset;
    return;
  }
  ReadRaw(*band_, window, bufferWidth, bufferHeight, GDT_Float64, values);
  const double noData = calibration_.noData ? NoDataAsStored(*calibration_.noData, calibration_.type)
                                            : std::numeric_limits<double>::quiet_NaN();
  for (std::size_t i = 0; i < count; ++i) {
    const double raw = values[i];
    values[i] = (std::isnan(raw) || raw == noData) ? std::numeric_limits<double>::quiet_NaN() : raw * scale + offset;
  }
}

}  // namespace palettor

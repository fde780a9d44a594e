#pragma once
// One channel of a satellite scene: a band of anything GDAL opens (a file, or a subdataset as
// GDAL names it: NETCDF:"file.nc":CMI, HDF5:"file.h5"://group/var), read a window at a time.
//
// Grey pictures keep reading as they always have: a palette image gives the grey levels its
// colours stand for, an RGB image whose red, green and blue are equal gives that level (one
// with a colour pixel is refused), 1-, 2- and 4-bit grey is spread over 0 ... 255, alpha is
// ignored. Such a channel, or any 8- or 16-bit band without a unit, scale or offset, is a
// channel of levels; every other band gives values in its unit (BandCalibration.h).
//
// Nothing is allocated for the whole image: a read fills the caller's buffer for a window,
// optionally at a reduced resolution (nearest neighbour).
#include <gdal_priv.h>
#include <ogr_spatialref.h>

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "BandCalibration.h"
#include "GreyImage.h"

namespace palettor {

struct ChannelRequest {
  std::string name;
  int band = 0;  // 1 ... band count; 0: the first, or an RGB image's three together
  // The drivers GDAL may use (their short names); empty for all of them.
  std::vector<std::string> drivers;
};

struct PixelWindow {
  int x = 0, y = 0, width = 0, height = 0;
};

class SceneChannel {
 public:
  // Throws RasterError: Unreadable for a name that cannot be opened (the reason the system or
  // GDAL gave), Refused for a file that opens but holds no single band to read (several
  // variables, a band number beyond its bands).
  static SceneChannel Open(const ChannelRequest& request);
  // A copy of levels already in memory (the demo scene), read as a file of them would be.
  static SceneChannel FromLevels(const GreyImage& image, const std::string& name);

  SceneChannel(SceneChannel&&) noexcept;
  SceneChannel& operator=(SceneChannel&&) noexcept;
  ~SceneChannel();

  const std::string& Name() const { return name_; }
  int BandNumber() const { return bandNumber_; }
  int BandCount() const { return dataset_->GetRasterCount(); }
  int Width() const { return width_; }
  int Height() const { return height_; }
  const BandCalibration& Calibration() const { return calibration_; }
  // The depth of a channel of levels; nothing for a channel of values.
  std::optional<GreyDepth> LevelDepth() const;

  // Georeferencing, when the file has it.
  std::optional<std::array<double, 6>> GeoTransform() const;
  const OGRSpatialReference* SpatialReference() const;

  // Levels (std::uint8_t or std::uint16_t by LevelDepth(), even for a channel of values whose
  // band is 8 or 16-bit) of `window`, `bufferWidth` × `bufferHeight` of them, rows packed.
  // Throws RasterError: Refused for a colour pixel, Unreadable for a damaged file.
  void ReadLevels(const PixelWindow& window, int bufferWidth, int bufferHeight, void* levels);
  // Values in the band's unit (raw × scale + offset), NaN where there is no data.
  void ReadValues(const PixelWindow& window, int bufferWidth, int bufferHeight, double* values);

  // The bytes of one row of the band's blocks (of the three bands of an RGB picture): what
  // GDAL's block cache must hold for reads a few rows at a time not to decode a block again.
  std::int64_t BlockRowBytes() const;

  // The raw level or value that a no-data value stands for, as a level read compares with it;
  // nothing when the band has none.
  std::optional<double> NoDataLevel() const;

 private:
  SceneChannel() = default;
  struct Decoding;
  void ReadRaw(GDALRasterBand& band, const PixelWindow& window, int bufferWidth, int bufferHeight, GDALDataType type,
               void* buffer);
  [[noreturn]] void FailRead();

  std::string name_;
  GDALDatasetUniquePtr dataset_;
  GDALRasterBand* band_ = nullptr;
  int bandNumber_ = 1;
  int width_ = 0;
  int height_ = 0;
  BandCalibration calibration_;
  std::unique_ptr<Decoding> decoding_;
};

}  // namespace palettor

#pragma once
// A coloured scene into a file, any size, through GDAL (raster/SceneFileCopy.h), with the rules
// of every other file Palettor writes (OutputFile.h): standard output for "-", a device or FIFO
// written into, anything else replaced only once complete.
//
// GDAL writes by file name and may go back to what it wrote (a TIFF's directory, a BMP's
// header), so it writes straight into the file OutputFile prepares when that is a regular file
// (the temporary file beside the target, or the target itself where only the file is
// writable), and otherwise into a temporary file of its own that is then copied to standard
// output or the device.
#include <QString>
#include <string>

#include "FileWriter.h"

namespace palettor {

class ColouredScene;

class ColouredSceneWriter final : public FileWriter {
 public:
  // `driver`: a GDAL driver's name (raster/SceneFileFormat.h). False, with ErrorString(), when
  // the file could not be written; throws RasterError when a channel could not be read. Either
  // way an earlier file stays as it was.
  bool Write(ColouredScene& scene, const std::string& driver, const QString& target);
};

}  // namespace palettor

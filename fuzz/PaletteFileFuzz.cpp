// Any bytes are a candidate palette file. Whatever is accepted must write out as a file that
// reads back as the same palette, byte for byte the same text, and must give a GIMP palette.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "GimpPaletteWriter.h"
#include "PaletteFile.h"
#include "PaletteFileWriter.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace palettor;
  const QByteArrayView bytes(data, static_cast<qsizetype>(size));
  const PaletteReadResult read = ParsePalette(bytes);
  if (!read.document) {
    if (read.error.reason.isEmpty()) std::abort();  // every refusal says why
    return 0;
  }
  const QByteArray text = PaletteFileWriter::Encode(read.document->palette, read.document->name);
  const PaletteReadResult again = ParsePalette(text);
  if (!again.document || !(*again.document == *read.document) ||
      PaletteFileWriter::Encode(again.document->palette, again.document->name) != text)
    std::abort();
  if (!GimpPaletteWriter::Encode(read.document->palette, read.document->name).startsWith("GIMP Palette\n"))
    std::abort();
  return 0;
}

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "BuiltInPalettes.h"
#include "EmbeddedPresets.h"
#include "PaletteFile.h"
#include "PaletteFileWriter.h"

namespace palettor {
namespace {

std::vector<std::string> Names() {
  std::vector<std::string> names;
  for (const NamedPalette& p : BuiltInPalettes()) names.push_back(p.name.toStdString());
  return names;
}

const Palette& BuiltIn(const std::string& name) {
  for (const NamedPalette& p : BuiltInPalettes()) {
    if (p.name.toStdString() == name) return p.palette;
  }
  ADD_FAILURE() << "no built-in palette " << name;
  return BuiltInPalettes().front().palette;
}

TEST(BuiltInPalettes, FactoryFirstThenTheOthers) {
  EXPECT_EQ(Names(), (std::vector<std::string>{"factory", "greyscale", "infrared-contrast", "colour-blind-safe"}));
  for (const NamedPalette& p : BuiltInPalettes()) EXPECT_TRUE(p.IsBuiltIn());
}

TEST(BuiltInPalettes, FilesAreTidyAndNamedAsListed) {
  for (const EmbeddedPreset& preset : EmbeddedPresets()) {
    const PaletteReadResult read = ParsePalette(preset.text);
    ASSERT_TRUE(read.document) << preset.name << ": " << read.error.Message().toStdString();
    EXPECT_EQ(read.document->name.toStdString(), preset.name);
    EXPECT_EQ(PaletteFileWriter::Encode(read.document->palette, read.document->name), preset.text.toByteArray())
        << preset.name << " is not laid out as written";
  }
}

TEST(BuiltInPalettes, FactoryIsTheFactoryPaletteWithStartUpOptions) {
  EXPECT_EQ(BuiltIn("factory"), (Palette{FactoryPalette(), 12, true, true}));
}

TEST(BuiltInPalettes, EachGivesItsOwnTable) {
  const auto& palettes = BuiltInPalettes();
  std::vector<std::unique_ptr<LutPixels>> tables;
  for (const NamedPalette& p : palettes) {
    tables.push_back(std::make_unique<LutPixels>());
    GenerateTable(TableInputsOf(p.palette), *tables.back());
  }
  for (std::size_t i = 0; i < tables.size(); ++i) {
    for (std::size_t j = i + 1; j < tables.size(); ++j) {
      EXPECT_NE(*tables[i], *tables[j]) << palettes[i].name.toStdString() << " = " << palettes[j].name.toStdString();
    }
  }
}

TEST(BuiltInPalettes, GreyscaleHasNoColourAnywhere) {
  auto table = std::make_unique<LutPixels>();
  GenerateTable(TableInputsOf(BuiltIn("greyscale")), *table);
  for (std::size_t i = 0; i < table->size(); ++i) {
    const PackedColour c = (*table)[i];
    ASSERT_TRUE(RedOf(c) == GreenOf(c) && GreenOf(c) == BlueOf(c)) << "pixel " << i << std::hex << " " << c;
  }
}

int HueDistance(int a, int b) {
  const int d = std::abs(a - b) % 360;
  return std::min(d, 360 - d);
}

// Cloud tops from -60 to -20 degrees: strong colours, each hue far from every other.
TEST(BuiltInPalettes, InfraredContrastSetsColdBandsApart) {
  const Palette& ir = BuiltIn("infrared-contrast");
  EXPECT_FALSE(ir.smoothColours);
  for (int i = -6; i <= -2; ++i) {
    const AnchorValue a = ir.anchors[AnchorSlot(i)];
    EXPECT_GE(a.saturation, 90) << i;
    for (int j = i + 1; j <= -2; ++j) EXPECT_GE(HueDistance(a.hue, ir.anchors[AnchorSlot(j)].hue), 50) << i << " " << j;
  }
}

// Without red-green vision colours differ by blue against yellow and by strength: every anchor
// is a blue (180-250), a yellow to orange (20-70) or colourless, and neighbours differ in strength.
TEST(BuiltInPalettes, ColourBlindSafeStaysOnTheBlueYellowAxis) {
  const Palette& safe = BuiltIn("colour-blind-safe");
  for (int i = kFirstAnchor; i <= kLastAnchor; ++i) {
    const AnchorValue a = safe.anchors[AnchorSlot(i)];
    const bool blue = a.hue >= 180 && a.hue <= 250, yellow = a.hue >= 20 && a.hue <= 70;
    EXPECT_TRUE(a.saturation == 0 || blue || yellow) << AnchorSuffix(i) << " hue " << a.hue;
  }
  for (int i = -6; i < 4; ++i) {
    EXPECT_GE(std::abs(safe.anchors[AnchorSlot(i)].saturation - safe.anchors[AnchorSlot(i + 1)].saturation), 15)
        << AnchorSuffix(i);
  }
}

}  // namespace
}  // namespace palettor

#include <gtest/gtest.h>

#include <QList>

#include "GimpPaletteWriter.h"

namespace palettor {
namespace {

TEST(GimpPalette, FactoryPaletteGivesThePatchColoursByTemperature) {
  const Palette factory{FactoryPalette(), 12, true, true};
  EXPECT_EQ(GimpPaletteWriter::Encode(factory, QStringLiteral("My IR")).toStdString(),
            "GIMP Palette\n"
            "Name: My IR\n"
            "Columns: 11\n"
            "#\n"
            "255 237 252\t-60 °C\n"
            "240 224 255\t-50 °C\n"
            "225 219 255\t-40 °C\n"
            "219 228 255\t-30 °C\n"
            "224 242 255\t-20 °C\n"
            "232 253 255\t-10 °C\n"
            "255 255 255\t0 °C\n"
            "242 255 224\t+10 °C\n"
            "255 251 207\t+20 °C\n"
            "255 228 191\t+30 °C\n"
            "255 207 191\t+40 °C\n"
            " 77 136 255\tBlue tail\n");
}

TEST(GimpPalette, StrongColoursAndRounding) {
  Palette palette{FactoryPalette(), 12, true, true};
  palette.anchors[AnchorSlot(-6)] = {0, 100};
  palette.anchors[AnchorSlot(-5)] = {120, 100};
  palette.anchors[AnchorSlot(-4)] = {240, 100};
  palette.anchors[AnchorSlot(-3)] = {200, 100};
  palette.anchors[AnchorSlot(-2)] = {30, 50};  // blue 127.5 rounds up
  const std::string text = GimpPaletteWriter::Encode(palette, {}).toStdString();
  for (const char* line : {"\n255   0   0\t-60 °C\n", "\n  0 255   0\t-50 °C\n", "\n  0   0 255\t-40 °C\n",
                           "\n  0 170 255\t-30 °C\n", "\n255 191 128\t-20 °C\n"}) {
    EXPECT_NE(text.find(line), std::string::npos) << line << " in\n" << text;
  }
}

TEST(GimpPalette, NameIsOneLine) {
  const Palette factory{FactoryPalette(), 12, true, true};
  const auto nameLine = [&](const QString& name) {
    const QByteArray text = GimpPaletteWriter::Encode(factory, name);
    return text.split('\n').at(1).toStdString();
  };
  EXPECT_EQ(nameLine(QStringLiteral(" Storm\nwatch\r\n  ☀ ")), "Name: Storm watch ☀");
  EXPECT_EQ(nameLine(QString()), "Name: Palettor");
  EXPECT_EQ(nameLine(QStringLiteral(" \n ")), "Name: Palettor");
}

}  // namespace
}  // namespace palettor

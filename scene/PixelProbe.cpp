#include "PixelProbe.h"

#include "SceneColouriser.h"

namespace palettor {

std::optional<PixelProbe> ProbePixel(const GreyImage& ir, const GreyImage& vis, IrScale scale, const TableInputs& table,
                                     int x, int y) {
  if (!SameSize(ir, vis) || x < 0 || y < 0 || x >= ir.Width() || y >= ir.Height()) return std::nullopt;
  PixelProbe probe;
  probe.x = x;
  probe.y = y;
  probe.irLevel = ir.Level(x, y);
  probe.celsius = TemperatureOfLevel(scale, probe.irLevel, ir.MaxLevel());
  probe.visLevel = vis.Level(x, y);
  probe.column = ColumnOfTemperature(probe.celsius);
  probe.brightness = BrightnessOfLevel(probe.visLevel, vis.Depth());
  probe.tableRow = kTableHeight - 1 - probe.brightness;
  probe.anchors = AnchorsOfCell(probe.column, probe.brightness, table);
  return probe;
}

}  // namespace palettor

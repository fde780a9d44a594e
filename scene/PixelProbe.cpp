#include "PixelProbe.h"

#include "SceneColouriser.h"

namespace palettor {

std::optional<PixelProbe> ProbePixel(const GreyImage& ir, const GreyImage& vis, IrScale scale, const TableInputs& table,
                                     int x, int y) {
  if (!SameSize(ir, vis) || x < 0 || y < 0 || x >= ir.width() || y >= ir.height()) return std::nullopt;
  PixelProbe probe;
  probe.x = x;
  probe.y = y;
  probe.irLevel = ir.level(x, y);
  probe.celsius = TemperatureOfLevel(scale, probe.irLevel, ir.maxLevel());
  probe.visLevel = vis.level(x, y);
  probe.column = ColumnOfTemperature(probe.celsius);
  probe.brightness = BrightnessOfLevel(probe.visLevel, vis.depth());
  probe.tableRow = kTableHeight - 1 - probe.brightness;
  probe.anchors = AnchorsOfCell(probe.column, probe.brightness, table);
  return probe;
}

}  // namespace palettor

#include "PaletteFileWriter.h"

#include <QList>
#include <algorithm>

#include "AnchorPalette.h"

namespace palettor {

namespace {

// Text in double quotes with JSON's escapes; everything else stays as UTF-8.
QByteArray QuotedJson(const QString& text) {
  QByteArray out = "\"";
  for (const char byte : text.toUtf8()) {
    switch (byte) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\t': out += "\\t"; break;
      case '\r': out += "\\r"; break;
      default:
        if (static_cast<unsigned char>(byte) < 0x20)
          out += QStringLiteral("\\u%1").arg(static_cast<int>(byte), 4, 16, QLatin1Char('0')).toLatin1();
        else
          out += byte;
    }
  }
  return out + '"';
}

QByteArray Quoted(const QByteArray& name) { return '"' + name + '"'; }

// "anchors.M70.hue" as its parts: the objects it lies in, then its own name.
QList<QByteArray> MemberPath(SettingId id) { return QByteArray(Setting(id).fileMember).split('.'); }

// A value as the file holds it. Numbers a hand-edited store may hold outside their range are
// written as the table uses them: hues wrapped, the others clamped.
QByteArray FileValue(const Palette& palette, SettingId id) {
  const SettingEntry& row = Setting(id);
  const std::int32_t value = PaletteValue(palette, id);
  switch (row.Kind()) {
    case SettingKind::Option: return value != 0 ? "true" : "false";
    case SettingKind::Hue: return QByteArray::number(WrapHueDegrees(value));
    default: return QByteArray::number(std::clamp(value, row.min, row.max));
  }
}

}  // namespace

QByteArray PaletteFileWriter::Encode(const Palette& palette, const QString& name) {
  const auto number = [](std::int32_t value) { return QByteArray::number(value); };
  QByteArray out = "{\n";
  out += "  \"format\": \"" + QByteArray(kPaletteFileFormat) + "\",\n";
  out += "  \"version\": " + number(kPaletteFileVersion) + ",\n";
  if (!name.isEmpty()) out += "  \"name\": " + QuotedJson(name) + ",\n";
  // The whole-palette members each on a line, then the anchors' object with a line per anchor.
  for (const SettingId id : kPaletteFileOrder) {
    const QList<QByteArray> path = MemberPath(id);
    if (IsOptionalMember(id) && PaletteValue(palette, id) == Setting(id).defaultValue) continue;
    if (path.size() == 1) out += "  " + Quoted(path[0]) + ": " + FileValue(palette, id) + ",\n";
  }
  out += "  " + Quoted(MemberPath(HueSetting(kFirstAnchor))[0]) + ": {\n";
  for (int index = kFirstAnchor; index <= kLastAnchor; ++index) {
    const QList<QByteArray> hue = MemberPath(HueSetting(index));
    const QList<QByteArray> saturation = MemberPath(SaturationSetting(index));
    out += "    " + Quoted(hue[1]) + ": {" + Quoted(hue[2]) + ": " + FileValue(palette, HueSetting(index)) + ", " +
           Quoted(saturation[2]) + ": " + FileValue(palette, SaturationSetting(index)) +
           (index < kLastAnchor ? "},\n" : "}\n");
  }
  out += "  }\n}\n";
  return out;
}

bool PaletteFileWriter::Write(const Palette& palette, const QString& name, const QString& target) {
  return WriteBytes(Encode(palette, name), target);
}

}  // namespace palettor

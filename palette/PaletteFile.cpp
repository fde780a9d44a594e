#include "PaletteFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <QJsonObject>
#include <QList>
#include <algorithm>
#include <array>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <limits>

#include "NativeFileName.h"
#include "RegularFile.h"
#include "SettingsCatalogue.h"
#include "StrictJson.h"

namespace palettor {

namespace {

constexpr char kFormatName[] = "palettor-palette";

QString JoinPath(const QString& parent, const QString& name) {
  return parent.isEmpty() ? name : parent + QLatin1Char('.') + name;
}

// What a refused value was, short enough for one line of a message.
QString Describe(const QJsonValue& value) {
  switch (value.type()) {
    case QJsonValue::Bool: return value.toBool() ? QStringLiteral("true") : QStringLiteral("false");
    case QJsonValue::Double:
      if (!std::isfinite(value.toDouble())) return QStringLiteral("a number out of range");
      return QString::number(value.toDouble(), 'g', 15);
    case QJsonValue::String: {
      QString text = value.toString().simplified();
      if (text.size() > 24) text = text.left(24) + QStringLiteral("...");
      return QLatin1Char('"') + text + QLatin1Char('"');
    }
    case QJsonValue::Array: return QStringLiteral("an array");
    case QJsonValue::Object: return QStringLiteral("an object");
    default: return QStringLiteral("null");
  }
}

bool IsWholeNumberIn(const QJsonValue& value, double low, double high) {
  if (!value.isDouble()) return false;
  const double number = value.toDouble();
  return std::isfinite(number) && number == std::floor(number) && number >= low && number <= high;
}

// Reads members one after another and keeps the first fault; after a fault every read gives a
// default and the caller reports the fault once at the end.
class MemberReader {
 public:
  bool Failed() const { return failed_; }
  const PaletteFileError& Error() const { return error_; }

  void Fail(const QString& member, const QString& reason) {
    if (failed_) return;
    failed_ = true;
    error_.member = member;
    error_.reason = reason;
  }

  std::optional<QJsonValue> Required(const QJsonObject& object, const QString& parent, const QString& name,
                                     const QString& expected) {
    if (failed_) return std::nullopt;
    const auto it = object.constFind(name);
    if (it == object.constEnd()) {
      Fail(JoinPath(parent, name), QStringLiteral("missing, expected %1").arg(expected));
      return std::nullopt;
    }
    return it.value();
  }

  void Refuse(const QString& member, const QString& expected, const QJsonValue& found) {
    Fail(member, QStringLiteral("expected %1, found %2").arg(expected, Describe(found)));
  }

  std::int32_t WholeNumber(const QJsonObject& object, const QString& parent, const QString& name, int low, int high) {
    const QString expected = QStringLiteral("a whole number from %1 to %2").arg(low).arg(high);
    const auto value = Required(object, parent, name, expected);
    if (!value) return 0;
    if (!IsWholeNumberIn(*value, low, high)) {
      Refuse(JoinPath(parent, name), expected, *value);
      return 0;
    }
    return static_cast<std::int32_t>(value->toDouble());
  }

  bool Boolean(const QJsonObject& object, const QString& parent, const QString& name) {
    const QString expected = QStringLiteral("true or false");
    const auto value = Required(object, parent, name, expected);
    if (!value) return false;
    if (!value->isBool()) Refuse(JoinPath(parent, name), expected, *value);
    return value->toBool();
  }

  QJsonObject Object(const QJsonObject& object, const QString& parent, const QString& name) {
    const QString expected = QStringLiteral("an object");
    const auto value = Required(object, parent, name, expected);
    if (!value) return {};
    if (!value->isObject()) Refuse(JoinPath(parent, name), expected, *value);
    return value->toObject();
  }

 private:
  bool failed_ = false;
  PaletteFileError error_;
};

// "format" and "version" come first: a file that is not a palette, or is a newer one, gets
// that said rather than a complaint about the first member it lacks.
void CheckFormatAndVersion(const QJsonObject& root, MemberReader& reader) {
  const QString expectedFormat = QStringLiteral("\"%1\"").arg(QLatin1String(kFormatName));
  if (const auto format = reader.Required(root, {}, QStringLiteral("format"), expectedFormat);
      format && format->toString() != QLatin1String(kFormatName)) {
    reader.Refuse(QStringLiteral("format"), expectedFormat, *format);
  }
  const QString expectedVersion = QStringLiteral("a whole number from 1");
  const auto version = reader.Required(root, {}, QStringLiteral("version"), expectedVersion);
  if (!version) return;
  if (!IsWholeNumberIn(*version, 1, std::numeric_limits<double>::max())) {
    reader.Refuse(QStringLiteral("version"), expectedVersion, *version);
  } else if (version->toDouble() > kPaletteFileVersion) {
    reader.Fail(QStringLiteral("version"), QStringLiteral("%1 is newer than this program reads (up to %2)")
                                               .arg(Describe(*version))
                                               .arg(kPaletteFileVersion));
  }
}

PaletteReadResult Refused(const PaletteFileError& error) { return {std::nullopt, error}; }

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

// The order of the members in a file: the switches and the tail percent, then each anchor's hue
// and saturation from the blue tail on.
constexpr std::array<SettingId, kSettingCount> FileOrder() {
  std::array<SettingId, kSettingCount> order{SettingId::WhiteTop, SettingId::SmoothColours, SettingId::TailPercent};
  for (std::size_t i = 0; i < 2 * kAnchorCount; ++i) order[3 + i] = static_cast<SettingId>(i);
  return order;
}
constexpr std::array<SettingId, kSettingCount> kFileOrder = FileOrder();

// "anchors.M70.hue" as its parts: the objects it lies in, then its own name.
QList<QByteArray> MemberPath(const SettingEntry& row) { return QByteArray(row.fileMember).split('.'); }

// Reads the row's member into the palette, through the objects its path names.
void ReadMember(const QJsonObject& root, const SettingEntry& row, MemberReader& reader, Palette& palette) {
  const QList<QByteArray> path = MemberPath(row);
  QJsonObject object = root;
  QString parent;
  for (qsizetype i = 0; i + 1 < path.size(); ++i) {
    const QString name = QString::fromLatin1(path[i]);
    object = reader.Object(object, parent, name);
    parent = JoinPath(parent, name);
  }
  const QString name = QString::fromLatin1(path.back());
  const std::int32_t value = row.Kind() == SettingKind::Option
                                 ? reader.Boolean(object, parent, name)
                                 : reader.WholeNumber(object, parent, name, row.min, row.max);
  SetPaletteValue(palette, row.id, value);
}

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

QString PaletteFileError::Message() const {
  QString message;
  for (const QString* part : {&source, &member}) {
    if (!part->isEmpty()) message += *part + QStringLiteral(": ");
  }
  return message + reason;
}

PaletteReadResult ParsePalette(QByteArrayView text) {
  if (text.size() > kMaxPaletteFileBytes) {
    return Refused(
        {PaletteFileError::Kind::Invalid,
         {},
         {},
         QStringLiteral("larger than %1 KiB, too large for a palette file").arg(kMaxPaletteFileBytes / 1024)});
  }
  JsonError jsonError;
  const auto json = ParseStrictJson(text, &jsonError);
  if (!json) return Refused({PaletteFileError::Kind::Invalid, {}, jsonError.member, jsonError.reason});
  if (!json->isObject()) {
    return Refused({PaletteFileError::Kind::Invalid,
                    {},
                    {},
                    QStringLiteral("expected a JSON object, found %1").arg(Describe(*json))});
  }
  const QJsonObject root = json->toObject();
  MemberReader reader;
  CheckFormatAndVersion(root, reader);

  PaletteDocument document;
  if (const auto name = root.constFind(QStringLiteral("name")); name != root.constEnd() && !reader.Failed()) {
    if (name->isString())
      document.name = name->toString();
    else
      reader.Refuse(QStringLiteral("name"), QStringLiteral("text"), *name);
  }
  for (const SettingId id : kFileOrder) ReadMember(root, Setting(id), reader, document.palette);
  if (reader.Failed()) return Refused(reader.Error());
  return {document, {}};
}

QByteArray FormatPalette(const PaletteDocument& document) {
  const Palette& palette = document.palette;
  const auto number = [](std::int32_t value) { return QByteArray::number(value); };
  QByteArray out = "{\n";
  out += "  \"format\": \"" + QByteArray(kFormatName) + "\",\n";
  out += "  \"version\": " + number(kPaletteFileVersion) + ",\n";
  if (!document.name.isEmpty()) out += "  \"name\": " + QuotedJson(document.name) + ",\n";
  // The whole-palette members each on a line, then the anchors' object with a line per anchor.
  for (const SettingId id : kFileOrder) {
    const QList<QByteArray> path = MemberPath(Setting(id));
    if (path.size() == 1) out += "  " + Quoted(path[0]) + ": " + FileValue(palette, id) + ",\n";
  }
  out += "  " + Quoted(MemberPath(Setting(HueSetting(kFirstAnchor)))[0]) + ": {\n";
  for (int index = kFirstAnchor; index <= kLastAnchor; ++index) {
    const QList<QByteArray> hue = MemberPath(Setting(HueSetting(index)));
    const QList<QByteArray> saturation = MemberPath(Setting(SaturationSetting(index)));
    out += "    " + Quoted(hue[1]) + ": {" + Quoted(hue[2]) + ": " + FileValue(palette, HueSetting(index)) + ", " +
           Quoted(saturation[2]) + ": " + FileValue(palette, SaturationSetting(index)) +
           (index < kLastAnchor ? "},\n" : "}\n");
  }
  out += "  }\n}\n";
  return out;
}

PaletteReadResult ReadPalette(QIODevice& device, const QString& source) {
  QByteArray text;
  char chunk[16 * 1024];
  // Pipes hand data over in pieces; read to the end, or to one byte past the limit.
  while (text.size() <= kMaxPaletteFileBytes) {
    const qint64 got = device.read(chunk, sizeof chunk);
    if (got < 0) return Refused({PaletteFileError::Kind::Unreadable, source, {}, device.errorString()});
    if (got == 0) break;
    text.append(chunk, static_cast<qsizetype>(got));
  }
  PaletteReadResult result = ParsePalette(text);
  result.error.source = source;
  return result;
}

PaletteReadResult ReadPaletteFile(const QString& path, SpecialFiles specials) {
  const auto unreadable = [&](const QString& reason) {
    return Refused({PaletteFileError::Kind::Unreadable, path, {}, reason});
  };
  const auto systemReason = [] { return QString::fromLocal8Bit(std::strerror(errno)); };
  const QByteArray name = EncodeFileName(path);
  // Looked at before it is opened: opening a FIFO waits for a writer, and opening a device may
  // do more than read it.
  struct stat info {};
  if (::stat(name.constData(), &info) != 0) return unreadable(systemReason());
  if (S_ISDIR(info.st_mode)) return unreadable(NotRegularFileReason(info.st_mode));
  const bool refuse = specials == SpecialFiles::Refuse;
  if (refuse && !S_ISREG(info.st_mode)) return unreadable(NotRegularFileReason(info.st_mode));
  // Without waiting, in case a FIFO took the file's place since it was looked at.
  const int descriptor = ::open(name.constData(), O_RDONLY | O_CLOEXEC | (refuse ? O_NONBLOCK : 0));
  if (descriptor < 0) return unreadable(systemReason());
  QFile file;
  if (refuse && (::fstat(descriptor, &info) != 0 || !S_ISREG(info.st_mode))) {
    ::close(descriptor);
    return unreadable(NotRegularFileReason(info.st_mode));
  }
  if (!file.open(descriptor, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
    ::close(descriptor);
    return unreadable(file.errorString());
  }
  return ReadPalette(file, path);
}

}  // namespace palettor

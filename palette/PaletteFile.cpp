#include "PaletteFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <QJsonObject>
#include <QList>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <limits>

#include "NativeFileName.h"
#include "PaletteFileWriter.h"
#include "RegularFile.h"
#include "SettingsCatalogue.h"
#include "StrictJson.h"

namespace palettor {

namespace {

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
  const QString expectedFormat = QStringLiteral("\"%1\"").arg(QLatin1String(kPaletteFileFormat));
  if (const auto format = reader.Required(root, {}, QStringLiteral("format"), expectedFormat);
      format && format->toString() != QLatin1String(kPaletteFileFormat)) {
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
  if (IsOptionalMember(row.id) && !object.contains(name)) {
    SetPaletteValue(palette, row.id, row.defaultValue);
    return;
  }
  const std::int32_t value = row.Kind() == SettingKind::Option
                                 ? reader.Boolean(object, parent, name)
                                 : reader.WholeNumber(object, parent, name, row.min, row.max);
  SetPaletteValue(palette, row.id, value);
}

}  // namespace

PaletteReadResult ParsePalette(QByteArrayView text) {
  if (text.size() > kMaxPaletteFileBytes) {
    return Refused(
        {PaletteFileError::Kind::Invalid,
         {},
         {},
         QStringLiteral("larger than %1 KiB, too large for a palette file").arg(kMaxPaletteFileBytes / 1024)});
  }
  const StrictJsonResult parsed = ParseStrictJson(text);
  if (!parsed.value) return Refused(parsed.error);
  const std::optional<QJsonValue>& json = parsed.value;
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
  for (const SettingId id : kPaletteFileOrder) ReadMember(root, Setting(id), reader, document.palette);
  if (reader.Failed()) return Refused(reader.Error());
  return {document, {}};
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

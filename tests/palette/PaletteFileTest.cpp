#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QFile>
#include <QTemporaryDir>

#include "PaletteFile.h"
#include "PaletteFileWriter.h"

namespace palettor {
namespace {

// The factory palette under a name, written out by hand: the layout other tools and people see.
const char kMyIr[] = R"({
  "format": "palettor-palette",
  "version": 1,
  "name": "My IR",
  "whiteTop": true,
  "smoothColours": true,
  "tailPercent": 12,
  "anchors": {
    "M70": {"hue": 220, "saturation": 70},
    "M60": {"hue": 310, "saturation": 7},
    "M50": {"hue": 270, "saturation": 12},
    "M40": {"hue": 250, "saturation": 14},
    "M30": {"hue": 225, "saturation": 14},
    "M20": {"hue": 205, "saturation": 12},
    "M10": {"hue": 185, "saturation": 9},
    "O0": {"hue": 100, "saturation": 0},
    "P10": {"hue": 85, "saturation": 12},
    "P20": {"hue": 55, "saturation": 19},
    "P30": {"hue": 35, "saturation": 25},
    "P40": {"hue": 15, "saturation": 25}
  }
}
)";

PaletteDocument MyIr() {
  PaletteDocument document;
  document.name = QStringLiteral("My IR");
  document.palette = {FactoryPalette(), 12, true, true};
  return document;
}

QByteArray Format(const PaletteDocument& document) {
  return PaletteFileWriter::Encode(document.palette, document.name);
}

// kMyIr with its first `from` replaced by `to`.
std::string Edited(const std::string& from, const std::string& to) {
  std::string text = kMyIr;
  const auto at = text.find(from);
  if (at == std::string::npos)
    ADD_FAILURE() << "not in the file: " << from;
  else
    text.replace(at, from.size(), to);
  return text;
}

TEST(PaletteFile, WritesTheDocumentedLayout) { EXPECT_EQ(Format(MyIr()).toStdString(), kMyIr); }

TEST(PaletteFile, ReadsWhatItWrites) {
  PaletteDocument document = MyIr();
  document.name = QStringLiteral("\"Quoted\" \\ back\nslash\ttab \x01 Ünïcode ☀ 🌩");
  document.palette.anchors[AnchorSlot(-3)] = {360, 100};
  document.palette.anchors[AnchorSlot(4)] = {0, 0};
  document.palette = {document.palette.anchors, 0, false, true};
  const QByteArray text = Format(document);
  const PaletteReadResult read = ParsePalette(text);
  ASSERT_TRUE(read.document) << read.error.Message().toStdString();
  EXPECT_EQ(*read.document, document);
  EXPECT_EQ(Format(*read.document), text);

  document.name.clear();
  EXPECT_FALSE(Format(document).contains("\"name\""));
  EXPECT_EQ(ParsePalette(Format(document)).document, document);
}

TEST(PaletteFile, CarriesANightFloorOnlyWhenThereIsOne) {
  PaletteDocument document = MyIr();
  document.palette.nightFloorPercent = 30;
  const std::string text = Edited("\"tailPercent\": 12,", "\"tailPercent\": 12,\n  \"nightFloorPercent\": 30,");
  EXPECT_EQ(Format(document).toStdString(), text);
  EXPECT_EQ(ParsePalette(QByteArray::fromStdString(text)).document, document);
  EXPECT_EQ(ParsePalette(QByteArray(kMyIr)).document->palette.nightFloorPercent, 0);
}

TEST(PaletteFile, WritesHandEditedValuesAsTheTableUsesThem) {
  PaletteDocument document = MyIr();
  document.palette.anchors[AnchorSlot(-7)] = {-10, 150};
  document.palette.anchors[AnchorSlot(0)] = {370, -5};
  document.palette.tailPercent = 300;
  document.palette.nightFloorPercent = 80;
  const PaletteReadResult read = ParsePalette(Format(document));
  ASSERT_TRUE(read.document) << read.error.Message().toStdString();
  EXPECT_EQ(read.document->palette.anchors[AnchorSlot(-7)], (AnchorValue{350, 100}));
  EXPECT_EQ(read.document->palette.anchors[AnchorSlot(0)], (AnchorValue{10, 0}));
  EXPECT_EQ(read.document->palette.tailPercent, 100);
  EXPECT_EQ(read.document->palette.nightFloorPercent, 50);
}

// `depth` arrays, one inside the other.
std::string Nested(int depth) {
  const auto n = static_cast<std::size_t>(depth);
  return std::string(n, '[') + std::string(n, ']');
}

struct AcceptedCase {
  const char* what;
  std::string text;
};

class AcceptedFiles : public testing::TestWithParam<AcceptedCase> {};

TEST_P(AcceptedFiles, ReadAsTheSamePalette) {
  const PaletteReadResult read = ParsePalette(QByteArray::fromStdString(GetParam().text));
  ASSERT_TRUE(read.document) << read.error.Message().toStdString();
  EXPECT_EQ(read.document->palette, MyIr().palette);
}

INSTANTIATE_TEST_SUITE_P(
    Variants, AcceptedFiles,
    testing::Values(
        AcceptedCase{"ByteOrderMark", "\xEF\xBB\xBF" + std::string(kMyIr)},
        AcceptedCase{"NoName", Edited("\"name\": \"My IR\",", "")},
        AcceptedCase{"UnknownMembersAtEveryLevel",
                     Edited("\"version\": 1,", "\"version\": 1, \"comment\": {\"deep\": [1, {\"x\": null}]},")},
        AcceptedCase{"UnknownAnchorAndAnchorMember",
                     Edited("\"M70\": {\"hue\": 220,", "\"M80\": 5, \"M70\": {\"alpha\": 0.5, \"hue\": 220,")},
        AcceptedCase{"NestedToTheLimit", Edited("\"version\": 1,", "\"version\": 1, \"x\": " + Nested(63) + ",")},
        AcceptedCase{"WholeNumbersWrittenAsDecimals", Edited("\"tailPercent\": 12,", "\"tailPercent\": 12.0,")},
        AcceptedCase{"NightFloorOfZeroGiven",
                     Edited("\"tailPercent\": 12,", "\"tailPercent\": 12, \"nightFloorPercent\": 0,")},
        AcceptedCase{"WholeNumbersWithExponents", Edited("\"tailPercent\": 12,", "\"tailPercent\": 1.2E1,")},
        AcceptedCase{"MembersInAnyOrder", Edited("\"format\": \"palettor-palette\",\n  \"version\": 1,",
                                                 "\"version\": 1,\n  \"format\": \"palettor-palette\",")},
        AcceptedCase{"ThousandsOfMembersInReverseOrder",
                     [] {
                       std::string members;
                       for (int i = 9999; i >= 1000; --i) members += "\"u" + std::to_string(i) + "\": {},";
                       return Edited("\"version\": 1,", "\"version\": 1, " + members);
                     }()},
        AcceptedCase{"OneLine",
                     [] {
                       std::string text = kMyIr;
                       std::erase(text, '\n');
                       return text;
                     }()}),
    [](const auto& param) { return std::string(param.param.what); });

struct RefusedCase {
  const char* what;
  std::string text;
  const char* message;
};

class RefusedFiles : public testing::TestWithParam<RefusedCase> {};

TEST_P(RefusedFiles, NameTheMemberAndTheFault) {
  const PaletteReadResult read = ParsePalette(QByteArray::fromStdString(GetParam().text));
  ASSERT_FALSE(read.document);
  EXPECT_EQ(read.error.kind, PaletteFileError::Kind::Invalid);
  EXPECT_EQ(read.error.Message().toStdString(), GetParam().message);
}

INSTANTIATE_TEST_SUITE_P(
    Faults, RefusedFiles,
    testing::Values(
        // Not JSON, or not one JSON object.
        RefusedCase{"Empty", "", "not valid JSON at line 1, column 1: the file holds no JSON value"},
        RefusedCase{"OnlyAByteOrderMark", "\xEF\xBB\xBF ",
                    "not valid JSON at line 1, column 2: the file holds no JSON value"},
        RefusedCase{"PlainText", "GIMP Palette\n", "not valid JSON at line 1, column 1: expected a value"},
        RefusedCase{"Array", "[1, 2]", "expected a JSON object, found an array"},
        RefusedCase{"TrailingGarbage", std::string(kMyIr) + "x",
                    "not valid JSON at line 23, column 1: unexpected text after the end of the JSON value"},
        RefusedCase{"SecondObject", std::string(kMyIr) + "{}",
                    "not valid JSON at line 23, column 1: unexpected text after the end of the JSON value"},
        RefusedCase{"Truncated", std::string(kMyIr).substr(0, 100),
                    "not valid JSON at line 6, column 12: a string has no closing '\"'"},
        RefusedCase{"TrailingComma", Edited("\"saturation\": 25}\n  }", "\"saturation\": 25},\n  }"),
                    "not valid JSON at line 21, column 3: expected a member name in double quotes"},
        RefusedCase{"NaN", Edited("\"tailPercent\": 12", "\"tailPercent\": NaN"),
                    "not valid JSON at line 7, column 18: expected a value"},
        RefusedCase{"LeadingZero", Edited("\"tailPercent\": 12", "\"tailPercent\": 012"),
                    "not valid JSON at line 7, column 19: a number may not start with 0"},
        RefusedCase{"NotUtf8", Edited("My IR", "My \xFF"),
                    "not valid JSON at line 4, column 15: the text is not UTF-8"},
        RefusedCase{"OverlongUtf8", Edited("My IR", "My \xC0\xAF"),
                    "not valid JSON at line 4, column 15: the text is not UTF-8"},
        RefusedCase{"LoneSurrogate", Edited("My IR", "My \\ud800"),
                    "not valid JSON at line 4, column 21: a \\u escape is half a surrogate pair"},
        RefusedCase{"RawControlCharacter", Edited("My IR", "My\tIR"),
                    "not valid JSON at line 4, column 14: a control character inside a string (write it as an escape)"},
        RefusedCase{"TooDeep", Edited("\"version\": 1,", "\"version\": 1, \"x\": " + Nested(64) + ","),
                    "not valid JSON at line 3, column 85: nested more than 64 levels deep"},
        RefusedCase{"WayTooDeep", std::string(100000, '['),
                    "not valid JSON at line 1, column 65: nested more than 64 levels deep"},
        // Ambiguous: which of two values would count?
        RefusedCase{"DuplicateOption", Edited("\"tailPercent\": 12,", "\"tailPercent\": 12, \"tailPercent\": 90,"),
                    "tailPercent: given more than once"},
        RefusedCase{"DuplicateAnchorValue", Edited("\"M30\": {\"hue\": 225,", "\"M30\": {\"hue\": 225, \"hue\": 0,"),
                    "anchors.M30.hue: given more than once"},
        RefusedCase{"DuplicateAmongManyMembers",
                    [] {
                      std::string members;
                      for (int i = 2000; i >= 1000; --i) members += "\"u" + std::to_string(i) + "\": 0,";
                      return Edited("\"version\": 1,", "\"version\": 1, " + members + "\"u1500\": 1,");
                    }(),
                    "u1500: given more than once"},
        RefusedCase{"DuplicateUnknownMember",
                    Edited("\"version\": 1,", "\"version\": 1, \"x\": [{\"a\": 1, \"a\": 1}],"),
                    "x[0].a: given more than once"},
        // Another format or version.
        RefusedCase{"NoFormatIsCheckedFirst", "{}", "format: missing, expected \"palettor-palette\""},
        RefusedCase{"OtherFormat", Edited("palettor-palette", "palettor-settings"),
                    "format: expected \"palettor-palette\", found \"palettor-settings\""},
        RefusedCase{"NewerVersion", Edited("\"version\": 1", "\"version\": 2"),
                    "version: 2 is newer than this program reads (up to 1)"},
        RefusedCase{"VersionZero", Edited("\"version\": 1", "\"version\": 0"),
                    "version: expected a whole number from 1, found 0"},
        RefusedCase{"VersionAsText", Edited("\"version\": 1", "\"version\": \"1\""),
                    "version: expected a whole number from 1, found \"1\""},
        // Missing, mistyped and out-of-range values.
        RefusedCase{"NameNotText", Edited("\"My IR\"", "7"), "name: expected text, found 7"},
        RefusedCase{"NoWhiteTop", Edited("\"whiteTop\": true,", ""), "whiteTop: missing, expected true or false"},
        RefusedCase{"WhiteTopAsNumber", Edited("\"whiteTop\": true", "\"whiteTop\": 1"),
                    "whiteTop: expected true or false, found 1"},
        RefusedCase{"SmoothAsText", Edited("\"smoothColours\": true", "\"smoothColours\": \"yes\""),
                    "smoothColours: expected true or false, found \"yes\""},
        RefusedCase{"NoTailPercent", Edited("\"tailPercent\": 12,", ""),
                    "tailPercent: missing, expected a whole number from 0 to 100"},
        RefusedCase{"TailPercentTooLarge", Edited("\"tailPercent\": 12", "\"tailPercent\": 101"),
                    "tailPercent: expected a whole number from 0 to 100, found 101"},
        RefusedCase{"TailPercentFractional", Edited("\"tailPercent\": 12", "\"tailPercent\": 12.5"),
                    "tailPercent: expected a whole number from 0 to 100, found 12.5"},
        RefusedCase{"TailPercentNull", Edited("\"tailPercent\": 12", "\"tailPercent\": null"),
                    "tailPercent: expected a whole number from 0 to 100, found null"},
        RefusedCase{"NightFloorTooLarge",
                    Edited("\"tailPercent\": 12,", "\"nightFloorPercent\": 51, \"tailPercent\": 12,"),
                    "nightFloorPercent: expected a whole number from 0 to 50, found 51"},
        RefusedCase{"NightFloorFractional", Edited("\"anchors\"", "\"nightFloorPercent\": 12.5, \"anchors\""),
                    "nightFloorPercent: expected a whole number from 0 to 50, found 12.5"},
        RefusedCase{"NightFloorNull", Edited("\"anchors\"", "\"nightFloorPercent\": null, \"anchors\""),
                    "nightFloorPercent: expected a whole number from 0 to 50, found null"},
        RefusedCase{"NoAnchors", Edited("\"anchors\"", "\"anchor\""), "anchors: missing, expected an object"},
        RefusedCase{"AnchorsAsArray", R"({"format": "palettor-palette", "version": 1, "whiteTop": true,
                     "smoothColours": true, "tailPercent": 12, "anchors": []})",
                    "anchors: expected an object, found an array"},
        RefusedCase{"NoAnchor", Edited("\"M30\"", "\"m30\""), "anchors.M30: missing, expected an object"},
        RefusedCase{"AnchorAsNumber", Edited("\"O0\": {\"hue\": 100, \"saturation\": 0}", "\"O0\": 0"),
                    "anchors.O0: expected an object, found 0"},
        RefusedCase{"NoHue", Edited("\"M30\": {\"hue\": 225, ", "\"M30\": {"),
                    "anchors.M30.hue: missing, expected a whole number from 0 to 360"},
        RefusedCase{"HueTooLarge", Edited("\"hue\": 225", "\"hue\": 361"),
                    "anchors.M30.hue: expected a whole number from 0 to 360, found 361"},
        RefusedCase{"HueNegative", Edited("\"hue\": 220", "\"hue\": -1"),
                    "anchors.M70.hue: expected a whole number from 0 to 360, found -1"},
        RefusedCase{"HueHuge", Edited("\"hue\": 15", "\"hue\": 1e400"),
                    "anchors.P40.hue: expected a whole number from 0 to 360, found a number out of range"},
        RefusedCase{"HueBeyondInt", Edited("\"hue\": 15", "\"hue\": 4294967296"),
                    "anchors.P40.hue: expected a whole number from 0 to 360, found 4294967296"},
        RefusedCase{"HueAsText", Edited("\"hue\": 15", "\"hue\": \"15\""),
                    "anchors.P40.hue: expected a whole number from 0 to 360, found \"15\""},
        RefusedCase{"SaturationTooLarge", Edited("\"saturation\": 0}", "\"saturation\": 101}"),
                    "anchors.O0.saturation: expected a whole number from 0 to 100, found 101"},
        RefusedCase{"SaturationFractional", Edited("\"saturation\": 7}", "\"saturation\": 7.25}"),
                    "anchors.M60.saturation: expected a whole number from 0 to 100, found 7.25"},
        RefusedCase{"TooLarge", std::string(kMyIr) + std::string(kMaxPaletteFileBytes, ' '),
                    "larger than 1024 KiB, too large for a palette file"}),
    [](const auto& param) { return std::string(param.param.what); });

class PaletteFiles : public testing::Test {
 protected:
  QString Write(const QString& name, const QByteArray& bytes) {
    const QString path = dir_.filePath(name);
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
    return path;
  }
  QTemporaryDir dir_;
};

TEST_F(PaletteFiles, ReadsAFileUpToTheSizeLimit) {
  QByteArray text = kMyIr;
  text += QByteArray(kMaxPaletteFileBytes - text.size(), ' ');
  const PaletteReadResult read = ReadPaletteFile(Write(QStringLiteral("big.json"), text));
  ASSERT_TRUE(read.document) << read.error.Message().toStdString();
  EXPECT_EQ(*read.document, MyIr());

  const QString tooBig = Write(QStringLiteral("too-big.json"), text + ' ');
  EXPECT_EQ(ReadPaletteFile(tooBig).error.Message(),
            tooBig + QStringLiteral(": larger than 1024 KiB, too large for a palette file"));
}

TEST_F(PaletteFiles, InvalidFileMessageStartsWithTheFile) {
  const QString path =
      Write(QStringLiteral("p.json"), QByteArray::fromStdString(Edited("\"hue\": 225", "\"hue\": 999")));
  const PaletteReadResult read = ReadPaletteFile(path);
  EXPECT_EQ(read.error.kind, PaletteFileError::Kind::Invalid);
  EXPECT_EQ(read.error.Message(),
            path + QStringLiteral(": anchors.M30.hue: expected a whole number from 0 to 360, found 999"));
}

TEST_F(PaletteFiles, MissingFileOrFolderIsUnreadableWithTheReason) {
  const QString missing = dir_.filePath(QStringLiteral("none.json"));
  const PaletteReadResult read = ReadPaletteFile(missing);
  EXPECT_EQ(read.error.kind, PaletteFileError::Kind::Unreadable);
  EXPECT_EQ(read.error.Message(), missing + QStringLiteral(": No such file or directory"));

  const PaletteReadResult folder = ReadPaletteFile(dir_.path());
  EXPECT_EQ(folder.error.kind, PaletteFileError::Kind::Unreadable);
  EXPECT_EQ(folder.error.Message(), dir_.path() + QStringLiteral(": is a folder"));
}

// The window reads palette files without ever waiting: a FIFO or a device, named or behind a
// symlink, is refused before it is opened. palettor-cli reads them as they come.
TEST_F(PaletteFiles, SpecialFilesAreRefusedUnopenedWhereAsked) {
  const QString fifo = dir_.filePath(QStringLiteral("fifo.json")), link = dir_.filePath(QStringLiteral("link.json"));
  ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
  ASSERT_TRUE(QFile::link(fifo, link));
  for (const QString& path : {fifo, link}) {
    const PaletteReadResult read = ReadPaletteFile(path, SpecialFiles::Refuse);
    EXPECT_EQ(read.error.kind, PaletteFileError::Kind::Unreadable);
    EXPECT_EQ(read.error.Message(), path + QStringLiteral(": is a FIFO, not a regular file"));
  }
  EXPECT_EQ(ReadPaletteFile(QStringLiteral("/dev/null"), SpecialFiles::Refuse).error.Message(),
            QStringLiteral("/dev/null: is a device, not a regular file"));
  EXPECT_EQ(ReadPaletteFile(QStringLiteral("/dev/null")).error.Message(),
            QStringLiteral("/dev/null: not valid JSON at line 1, column 1: the file holds no JSON value"));
  const QString file = Write(QStringLiteral("p.json"), kMyIr);
  EXPECT_EQ(ReadPaletteFile(file, SpecialFiles::Refuse).document, MyIr());
}

}  // namespace
}  // namespace palettor

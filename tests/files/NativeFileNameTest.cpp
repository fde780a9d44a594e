#include <gtest/gtest.h>

#include <QFile>

#include "NativeFileName.h"

namespace palettor {
namespace {

struct NameCase {
  const char* what;
  QByteArray bytes;
  QString decoded;  // written out here unit by unit
};

class FileNames : public testing::TestWithParam<NameCase> {};

TEST_P(FileNames, DecodeToTheirCharactersAndEncodeBackToTheSameBytes) {
  EXPECT_EQ(DecodeFileName(GetParam().bytes), GetParam().decoded);
  EXPECT_EQ(EncodeFileName(GetParam().decoded), GetParam().bytes);
}

QString Units(std::initializer_list<char16_t> units) {
  return QString(reinterpret_cast<const QChar*>(units.begin()), static_cast<qsizetype>(units.size()));
}

INSTANTIATE_TEST_SUITE_P(
    Names, FileNames,
    testing::Values(NameCase{"Ascii", "tables/out.bmp", QStringLiteral("tables/out.bmp")},
                    NameCase{"Utf8", "caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x8C\xA9",
                             Units({'c', 'a', 'f', 0xE9, ' ', 0x20AC, ' ', 0xD83C, 0xDF29})},
                    NameCase{"Latin1", "caf\xE9.bmp", Units({'c', 'a', 'f', 0xDCE9, '.', 'b', 'm', 'p'})},
                    NameCase{"CutOffSequence", "a\xE2\x82", Units({'a', 0xDCE2, 0xDC82})},
                    NameCase{"LoneContinuation", "\x80\xBF", Units({0xDC80, 0xDCBF})},
                    NameCase{"Overlong", "\xC0\xAF", Units({0xDCC0, 0xDCAF})},
                    NameCase{"EncodedSurrogate", "\xED\xA0\x80", Units({0xDCED, 0xDCA0, 0xDC80})},
                    NameCase{"BeyondUnicode", "\xF4\x90\x80\x80", Units({0xDCF4, 0xDC90, 0xDC80, 0xDC80})},
                    NameCase{"EveryHighByte", "\xFE\xFF", Units({0xDCFE, 0xDCFF})}),
    [](const auto& param) { return std::string(param.param.what); });

TEST(FileNames, AgreeWithQtOnUtf8AndWriteOtherLoneSurrogatesAsReplacementCharacters) {
  const QString text = QStringLiteral("Sturm \u00fcber K\u00f6ln \u2603");
  EXPECT_EQ(EncodeFileName(text), QFile::encodeName(text));
  EXPECT_EQ(DecodeFileName(text.toUtf8()), text);
  EXPECT_EQ(EncodeFileName(Units({'a', 0xD800, 'b', 0xDC7F})),
            "a\xEF\xBF\xBD"
            "b\xEF\xBF\xBD");
}

}  // namespace
}  // namespace palettor

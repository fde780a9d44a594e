#include "StrictJson.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QSet>
#include <QStringList>
#include <algorithm>
#include <charconv>
#include <limits>
#include <utility>
#include <vector>

namespace palettor {

namespace {

class Reader {
 public:
  explicit Reader(QByteArrayView text) : text_(text) {}

  StrictJsonResult Document() {
    static constexpr char kByteOrderMark[] = "\xEF\xBB\xBF";
    if (text_.startsWith(QByteArrayView(kByteOrderMark, 3))) start_ = pos_ = 3;
    SkipSpace();
    std::optional<QJsonValue> value;
    if (AtEnd())
      Fail("the file holds no JSON value");
    else
      value = Value(0);
    if (value) {
      SkipSpace();
      if (!AtEnd()) Fail("unexpected text after the end of the JSON value");
    }
    if (failed_) return {std::nullopt, error_};
    return {value, {}};
  }

 private:
  bool AtEnd() const { return pos_ >= text_.size(); }
  char Peek() const { return AtEnd() ? '\0' : text_[pos_]; }

  void SkipSpace() {
    while (!AtEnd() && (Peek() == ' ' || Peek() == '\t' || Peek() == '\n' || Peek() == '\r')) ++pos_;
  }

  // A syntax error: where it is, counted in characters as an editor shows them.
  std::nullopt_t Fail(const QString& what) {
    if (failed_) return std::nullopt;
    qsizetype line = 1, column = 1;
    for (qsizetype i = start_; i < pos_ && i < text_.size(); ++i) {
      const auto byte = static_cast<unsigned char>(text_[i]);
      if (byte == '\n') {
        ++line;
        column = 1;
      } else if ((byte & 0xC0) != 0x80) {
        ++column;
      }
    }
    failed_ = true;
    error_.reason = QStringLiteral("not valid JSON at line %1, column %2: %3").arg(line).arg(column).arg(what);
    return std::nullopt;
  }

  // "anchors.M30.hue", "list[2].name".
  std::nullopt_t FailAtMember(const QString& reason) {
    QString member;
    for (const QString& step : path_) {
      if (!member.isEmpty() && !step.startsWith(QLatin1Char('['))) member += QLatin1Char('.');
      member += step;
    }
    failed_ = true;
    error_.member = member;
    error_.reason = reason;
    return std::nullopt;
  }

  std::optional<QJsonValue> Value(int depth) {
    switch (Peek()) {
      case '{': return Object(depth + 1);
      case '[': return Array(depth + 1);
      case '"': {
        auto text = String();
        if (!text) return std::nullopt;
        return QJsonValue(*text);
      }
      case 't': return Literal("true", QJsonValue(true));
      case 'f': return Literal("false", QJsonValue(false));
      case 'n': return Literal("null", QJsonValue(QJsonValue::Null));
      default:
        if (Peek() == '-' || (Peek() >= '0' && Peek() <= '9')) return Number();
        return Fail(QStringLiteral("expected a value"));
    }
  }

  std::optional<QJsonValue> Literal(QByteArrayView word, QJsonValue value) {
    if (text_.sliced(pos_).startsWith(word)) {
      pos_ += word.size();
      return value;
    }
    return Fail(QStringLiteral("expected a value"));
  }

  std::optional<QJsonValue> Object(int depth) {
    if (depth > kMaxJsonDepth) return Fail(QStringLiteral("nested more than %1 levels deep").arg(kMaxJsonDepth));
    ++pos_;  // '{'
    // QJsonObject keeps its members sorted, so inserting them in the file's order moves half of
    // them each time: quadratic in the number of members. They are collected first and inserted
    // in order, each at the end.
    std::vector<std::pair<QString, QJsonValue>> members;
    QSet<QString> names;
    SkipSpace();
    if (Peek() == '}') {
      ++pos_;
      return QJsonObject();
    }
    for (;;) {
      SkipSpace();
      if (Peek() != '"') return Fail(QStringLiteral("expected a member name in double quotes"));
      auto name = String();
      if (!name) return std::nullopt;
      SkipSpace();
      if (Peek() != ':') return Fail(QStringLiteral("expected ':' after a member name"));
      ++pos_;
      SkipSpace();
      path_.append(*name);
      if (names.contains(*name)) return FailAtMember(QStringLiteral("given more than once"));
      names.insert(*name);
      auto value = Value(depth);
      if (!value) return std::nullopt;
      path_.removeLast();
      members.emplace_back(std::move(*name), std::move(*value));
      SkipSpace();
      if (Peek() == ',') {
        ++pos_;
        continue;
      }
      if (Peek() == '}') {
        ++pos_;
        return SortedObject(members);
      }
      return Fail(QStringLiteral("expected ',' or '}'"));
    }
  }

  // Names are unique here; QJsonObject orders them as QString compares them.
  static QJsonObject SortedObject(std::vector<std::pair<QString, QJsonValue>>& members) {
    std::sort(members.begin(), members.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    QJsonObject object;
    for (auto& [name, value] : members) object.insert(name, value);
    return object;
  }

  std::optional<QJsonValue> Array(int depth) {
    if (depth > kMaxJsonDepth) return Fail(QStringLiteral("nested more than %1 levels deep").arg(kMaxJsonDepth));
    ++pos_;  // '['
    QJsonArray array;
    SkipSpace();
    if (Peek() == ']') {
      ++pos_;
      return array;
    }
    for (;;) {
      SkipSpace();
      path_.append(QStringLiteral("[%1]").arg(array.size()));
      auto value = Value(depth);
      if (!value) return std::nullopt;
      path_.removeLast();
      array.append(*value);
      SkipSpace();
      if (Peek() == ',') {
        ++pos_;
        continue;
      }
      if (Peek() == ']') {
        ++pos_;
        return array;
      }
      return Fail(QStringLiteral("expected ',' or ']'"));
    }
  }

  bool Digits() {
    const qsizetype start = pos_;
    while (Peek() >= '0' && Peek() <= '9') ++pos_;
    return pos_ > start;
  }

  std::optional<QJsonValue> Number() {
    const qsizetype start = pos_;
    if (Peek() == '-') ++pos_;
    if (Peek() == '0') {
      ++pos_;
      if (Peek() >= '0' && Peek() <= '9') return Fail(QStringLiteral("a number may not start with 0"));
    } else if (!Digits()) {
      return Fail(QStringLiteral("expected a digit"));
    }
    if (Peek() == '.') {
      ++pos_;
      if (!Digits()) return Fail(QStringLiteral("expected a digit after '.'"));
    }
    if (Peek() == 'e' || Peek() == 'E') {
      ++pos_;
      if (Peek() == '+' || Peek() == '-') ++pos_;
      if (!Digits()) return Fail(QStringLiteral("expected a digit in the exponent"));
    }
    double number = 0;
    const char* first = text_.data() + start;
    const auto [end, status] = std::from_chars(first, text_.data() + pos_, number);
    if (status != std::errc() || end != text_.data() + pos_) number = std::numeric_limits<double>::quiet_NaN();
    return QJsonValue(number);
  }

  // Four hex digits after "\u".
  std::optional<char32_t> HexQuad() {
    if (pos_ + 4 > text_.size()) return std::nullopt;
    char32_t unit = 0;
    for (int i = 0; i < 4; ++i) {
      const char c = text_[pos_ + i];
      unit <<= 4;
      if (c >= '0' && c <= '9')
        unit |= static_cast<char32_t>(c - '0');
      else if (c >= 'a' && c <= 'f')
        unit |= static_cast<char32_t>(c - 'a' + 10);
      else if (c >= 'A' && c <= 'F')
        unit |= static_cast<char32_t>(c - 'A' + 10);
      else
        return std::nullopt;
    }
    pos_ += 4;
    return unit;
  }

  std::optional<char32_t> Escape() {
    ++pos_;  // '\\'
    const char c = Peek();
    ++pos_;
    switch (c) {
      case '"': return U'"';
      case '\\': return U'\\';
      case '/': return U'/';
      case 'b': return U'\b';
      case 'f': return U'\f';
      case 'n': return U'\n';
      case 'r': return U'\r';
      case 't': return U'\t';
      case 'u': {
        const auto high = HexQuad();
        if (!high) return Fail(QStringLiteral("expected four hex digits after \\u"));
        if (*high >= 0xDC00 && *high <= 0xDFFF) return Fail(QStringLiteral("a \\u escape is half a surrogate pair"));
        if (*high < 0xD800 || *high > 0xDBFF) return *high;
        if (Peek() != '\\' || pos_ + 1 >= text_.size() || text_[pos_ + 1] != 'u')
          return Fail(QStringLiteral("a \\u escape is half a surrogate pair"));
        pos_ += 2;
        const auto low = HexQuad();
        if (!low || *low < 0xDC00 || *low > 0xDFFF)
          return Fail(QStringLiteral("a \\u escape is half a surrogate pair"));
        return 0x10000 + ((*high - 0xD800) << 10) + (*low - 0xDC00);
      }
      default: --pos_; return Fail(QStringLiteral("unknown escape in a string"));
    }
  }

  // One UTF-8 encoded character, checked as RFC 3629 defines it: no overlong forms, no
  // surrogates, nothing beyond U+10FFFF.
  std::optional<char32_t> Utf8Character() {
    const auto lead = static_cast<unsigned char>(text_[pos_]);
    int length = 0;
    char32_t code = 0, minimum = 0;
    if (lead < 0x80) {
      length = 1, code = lead;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
      length = 2, code = lead & 0x1Fu, minimum = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      length = 3, code = lead & 0x0Fu, minimum = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
      length = 4, code = lead & 0x07u, minimum = 0x10000;
    } else {
      return Fail(QStringLiteral("the text is not UTF-8"));
    }
    if (pos_ + length > text_.size()) return Fail(QStringLiteral("the text is not UTF-8"));
    for (int i = 1; i < length; ++i) {
      const auto next = static_cast<unsigned char>(text_[pos_ + i]);
      if ((next & 0xC0) != 0x80) return Fail(QStringLiteral("the text is not UTF-8"));
      code = (code << 6) | (next & 0x3Fu);
    }
    if (code < minimum || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
      return Fail(QStringLiteral("the text is not UTF-8"));
    pos_ += length;
    return code;
  }

  std::optional<QString> String() {
    ++pos_;  // '"'
    QString text;
    for (;;) {
      if (AtEnd()) return Fail(QStringLiteral("a string has no closing '\"'"));
      const char c = Peek();
      if (c == '"') {
        ++pos_;
        return text;
      }
      if (static_cast<unsigned char>(c) < 0x20)
        return Fail(QStringLiteral("a control character inside a string (write it as an escape)"));
      const auto code = c == '\\' ? Escape() : Utf8Character();
      if (!code) return std::nullopt;
      if (QChar::requiresSurrogates(*code)) {
        text.append(QChar(QChar::highSurrogate(*code)));
        text.append(QChar(QChar::lowSurrogate(*code)));
      } else {
        text.append(QChar(static_cast<char16_t>(*code)));
      }
    }
  }

  QByteArrayView text_;
  qsizetype start_ = 0;  // past the byte-order mark, which editors do not show
  qsizetype pos_ = 0;
  QStringList path_;  // names and [indices] from the root to the value being read
  bool failed_ = false;
  PaletteFileError error_;
};

}  // namespace

StrictJsonResult ParseStrictJson(QByteArrayView text) { return Reader(text).Document(); }

}  // namespace palettor

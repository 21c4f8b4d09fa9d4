#include "base/text.h"

#include <unicode/uchar.h>
#include <unicode/ustring.h>
#include <unicode/utf8.h>

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "base/error.h"
#include "base/format_settings.h"

namespace morvel {
namespace {

bool IsBlank(char c) { return static_cast<unsigned char>(c) <= ' '; }

bool IsAscii(std::string_view s) {
  for (char c : s) {
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  }
  return true;
}

// Maps every code point through `map`; invalid bytes are kept as they are.
template <typename Map>
std::string MapCodePoints(std::string_view s, Map map) {
  std::string out;
  out.reserve(s.size());
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(s.data());
  const auto length = static_cast<std::int32_t>(s.size());
  std::int32_t i = 0;
  while (i < length) {
    const std::int32_t start = i;
    UChar32 c;
    U8_NEXT(bytes, i, length, c);
    if (c < 0) {
      out.append(s.substr(static_cast<std::size_t>(start), static_cast<std::size_t>(i - start)));
      continue;
    }
    const UChar32 m = map(c);
    char buf[4];
    std::int32_t n = 0;
    U8_APPEND_UNSAFE(reinterpret_cast<std::uint8_t*>(buf), n, m);
    out.append(buf, static_cast<std::size_t>(n));
  }
  return out;
}

std::size_t Utf8Offset(std::string_view s, std::size_t index) {
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(s.data());
  const auto length = static_cast<std::int32_t>(s.size());
  std::int32_t i = 0;
  for (std::size_t k = 0; k < index && i < length; ++k) U8_FWD_1(bytes, i, length);
  return static_cast<std::size_t>(i);
}

}  // namespace

std::string Trim(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return std::string(s);
}

std::string TrimLeft(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  return std::string(s);
}

std::string TrimRight(std::string_view s) {
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return std::string(s);
}

std::string UpperCase(std::string_view s) {
  if (IsAscii(s)) {
    std::string out(s);
    for (char& c : out) {
      if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
    }
    return out;
  }
  return MapCodePoints(s, [](UChar32 c) { return u_toupper(c); });
}

std::string LowerCase(std::string_view s) {
  if (IsAscii(s)) {
    std::string out(s);
    for (char& c : out) {
      if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
    }
    return out;
  }
  return MapCodePoints(s, [](UChar32 c) { return u_tolower(c); });
}

int CompareTextCI(std::string_view a, std::string_view b) {
  const auto* pa = reinterpret_cast<const std::uint8_t*>(a.data());
  const auto* pb = reinterpret_cast<const std::uint8_t*>(b.data());
  const auto la = static_cast<std::int32_t>(a.size());
  const auto lb = static_cast<std::int32_t>(b.size());
  std::int32_t i = 0, j = 0;
  while (i < la && j < lb) {
    UChar32 ca, cb;
    U8_NEXT(pa, i, la, ca);
    U8_NEXT(pb, j, lb, cb);
    ca = u_foldCase(ca, U_FOLD_CASE_DEFAULT);
    cb = u_foldCase(cb, U_FOLD_CASE_DEFAULT);
    if (ca != cb) return ca < cb ? -1 : 1;
  }
  if (i < la) return 1;
  if (j < lb) return -1;
  return 0;
}

bool SameTextCI(std::string_view a, std::string_view b) { return CompareTextCI(a, b) == 0; }

std::string ReplaceAll(std::string_view text, std::string_view from, std::string_view to) {
  if (from.empty()) return std::string(text);
  std::string out;
  std::size_t pos = 0;
  while (true) {
    const std::size_t hit = text.find(from, pos);
    if (hit == std::string_view::npos) break;
    out.append(text.substr(pos, hit - pos));
    out.append(to);
    pos = hit + from.size();
  }
  out.append(text.substr(pos));
  return out;
}

std::string ReplaceAllAsciiCI(std::string_view text, std::string_view from, std::string_view to) {
  if (from.empty()) return std::string(text);
  auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
  std::string out;
  std::size_t i = 0;
  while (i < text.size()) {
    bool hit = i + from.size() <= text.size();
    for (std::size_t k = 0; hit && k < from.size(); ++k) hit = lower(text[i + k]) == lower(from[k]);
    if (hit) {
      out.append(to);
      i += from.size();
    } else {
      out += text[i++];
    }
  }
  return out;
}

std::vector<std::string> Split(std::string_view text, char delimiter) {
  std::vector<std::string> parts;
  std::size_t pos = 0;
  while (true) {
    const std::size_t hit = text.find(delimiter, pos);
    if (hit == std::string_view::npos) {
      parts.emplace_back(text.substr(pos));
      return parts;
    }
    parts.emplace_back(text.substr(pos, hit - pos));
    pos = hit + 1;
  }
}

std::vector<std::string> SplitWords(std::string_view text) {
  std::vector<std::string> words;
  std::size_t i = 0;
  while (i < text.size()) {
    while (i < text.size() && text[i] == ' ') ++i;
    const std::size_t start = i;
    while (i < text.size() && text[i] != ' ') ++i;
    if (i > start) words.emplace_back(text.substr(start, i - start));
  }
  return words;
}

std::size_t Utf8Length(std::string_view s) {
  std::size_t n = 0;
  for (char c : s) {
    if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++n;
  }
  return n;
}

std::string Utf8Substr(std::string_view s, std::size_t start, std::size_t count) {
  const std::size_t from = Utf8Offset(s, start);
  if (count == std::string::npos) return std::string(s.substr(from));
  const std::size_t to = from + Utf8Offset(s.substr(from), count);
  return std::string(s.substr(from, to - from));
}

std::string Utf8ReplaceAt(std::string_view s, std::size_t index, std::string_view replacement) {
  const std::size_t from = Utf8Offset(s, index);
  if (from >= s.size()) return std::string(s);
  const std::size_t to = from + Utf8Offset(s.substr(from), 1);
  std::string out(s.substr(0, from));
  out.append(replacement);
  out.append(s.substr(to));
  return out;
}

std::string IntToStr(long long value) { return std::to_string(value); }

bool TryStrToInt(std::string_view text, int& value) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  bool negative = false;
  if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  if (text.empty() || text.size() > 10) return false;
  long long v = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    v = v * 10 + (c - '0');
  }
  if (negative) v = -v;
  if (v < -2147483648LL || v > 2147483647LL) return false;
  value = static_cast<int>(v);
  return true;
}

int StrToInt(std::string_view text) {
  int value = 0;
  if (!TryStrToInt(text, value)) {
    throw EConvertError("'" + QuotedInput(text) + "' is not a valid integer value");
  }
  return value;
}

int StrToIntDef(std::string_view text, int fallback) {
  int value = 0;
  return TryStrToInt(text, value) ? value : fallback;
}

bool TryStrToFloatPoint(std::string_view text, double& value) {
  const std::string t = Trim(text);
  if (t.empty()) return false;
  const char* first = t.data();
  const char* last = first + t.size();
  if (*first == '+') {  // from_chars takes a minus sign only
    ++first;
    if (first == last || *first == '-') return false;
  }
  // from_chars, unlike strtod, never reads the decimal separator of the C locale,
  // which the windowed mode's toolkit sets from the user's environment.
  double v = 0;
  const auto [end, ec] = std::from_chars(first, last, v, std::chars_format::general);
  if (ec != std::errc() || end != last || !std::isfinite(v)) return false;
  value = v;
  return true;
}

bool TryStrToFloat(std::string_view text, double& value) {
  const char sep = FormatSettings().DecimalSeparator;
  if (sep == '.') return TryStrToFloatPoint(text, value);
  // Only the process's separator counts; a point makes the text invalid.
  if (text.find('.') != std::string_view::npos) return false;
  std::string normal(text);
  for (char& c : normal) {
    if (c == sep) c = '.';
  }
  return TryStrToFloatPoint(normal, value);
}

double StrToFloat(std::string_view text) {
  double value = 0;
  if (!TryStrToFloat(text, value)) {
    throw EConvertError("'" + QuotedInput(text) + "' is not a valid floating point value");
  }
  return value;
}

std::string FloatToStr(double value) {
  if (value == 0 || !std::isfinite(value)) return value == 0 ? "0" : (std::isnan(value) ? "NAN" : (value > 0 ? "INF" : "-INF"));
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.14e", value);  // 15 significant digits, correctly rounded
  // buf: [-]d.dddddddddddddde[+-]xx
  std::string s(buf);
  const bool negative = s[0] == '-';
  if (negative) s.erase(0, 1);
  const std::size_t e = s.find('e');
  const int exponent = std::atoi(s.c_str() + e + 1);
  std::string digits = s.substr(0, 1) + s.substr(2, e - 2);
  while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
  const char sep = FormatSettings().DecimalSeparator;
  std::string out = negative ? "-" : "";
  if (exponent >= 15 || exponent < -5) {
    out += digits[0];
    if (digits.size() > 1) {
      out += sep;
      out += digits.substr(1);
    }
    out += 'E';
    if (exponent < 0) out += '-';
    out += std::to_string(std::abs(exponent));
  } else if (exponent < 0) {
    out += '0';
    out += sep;
    out.append(static_cast<std::size_t>(-exponent - 1), '0');
    out += digits;
  } else {
    const std::size_t intDigits = static_cast<std::size_t>(exponent) + 1;
    if (digits.size() <= intDigits) {
      out += digits;
      out.append(intDigits - digits.size(), '0');
    } else {
      out += digits.substr(0, intDigits);
      out += sep;
      out += digits.substr(intDigits);
    }
  }
  return out;
}

std::string QuotedInput(std::string_view text, std::size_t maxBytes) {
  if (text.size() <= maxBytes) return std::string(text);
  std::size_t cut = maxBytes;
  // Back to the start of a character, never into the middle of its bytes.
  while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) --cut;
  return std::string(text.substr(0, cut)) + "… (всего " + IntToStr(static_cast<long long>(text.size())) + " байт)";
}

std::string HtmlEscape(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      default: out += c;
    }
  }
  return out;
}

}  // namespace morvel

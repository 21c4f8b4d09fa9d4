#include "base/encoding.h"

#include <unicode/ucnv.h>
#include <unicode/ustring.h>

#include <memory>
#include <vector>

#include "base/error.h"

namespace morvel {
namespace {

struct ConverterCloser {
  void operator()(UConverter* c) const { ucnv_close(c); }
};
using Converter = std::unique_ptr<UConverter, ConverterCloser>;

Converter OpenConverter() {
  UErrorCode status = U_ZERO_ERROR;
  Converter conv(ucnv_open("windows-1251", &status));
  if (U_FAILURE(status)) throw EMorvelError("windows-1251 converter unavailable");
  ucnv_setSubstChars(conv.get(), "?", 1, &status);
  return conv;
}

UConverter* Cp1251() {
  static Converter converter = OpenConverter();
  return converter.get();
}

}  // namespace

std::string Cp1251ToUtf8(std::string_view bytes) {
  bool ascii = true;
  for (char c : bytes) {
    if (static_cast<unsigned char>(c) >= 0x80) {
      ascii = false;
      break;
    }
  }
  if (ascii) return std::string(bytes);
  UErrorCode status = U_ZERO_ERROR;
  std::vector<UChar> wide(bytes.size() + 1);
  const int32_t n = ucnv_toUChars(Cp1251(), wide.data(), static_cast<int32_t>(wide.size()), bytes.data(),
                                  static_cast<int32_t>(bytes.size()), &status);
  if (U_FAILURE(status)) throw EMorvelError("windows-1251 decoding failed");
  std::string out;
  out.reserve(static_cast<std::size_t>(n) * 2);
  for (int32_t i = 0; i < n; ++i) {
    const UChar c = wide[static_cast<std::size_t>(i)];
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (c < 0x800) {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      out += static_cast<char>(0xE0 | (c >> 12));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}

std::string Utf8ToCp1251(std::string_view text) {
  bool ascii = true;
  for (char c : text) {
    if (static_cast<unsigned char>(c) >= 0x80) {
      ascii = false;
      break;
    }
  }
  if (ascii) return std::string(text);
  UErrorCode status = U_ZERO_ERROR;
  // UTF-8 to UTF-16 first; every code point takes at most two UTF-16 units.
  std::vector<UChar> wide(text.size() + 1);
  int32_t wideLength = 0;
  u_strFromUTF8Lenient(wide.data(), static_cast<int32_t>(wide.size()), &wideLength, text.data(),
                       static_cast<int32_t>(text.size()), &status);
  if (U_FAILURE(status)) throw EMorvelError("UTF-8 decoding failed");
  std::string out(static_cast<std::size_t>(wideLength) * 2 + 1, '\0');
  status = U_ZERO_ERROR;
  const int32_t n = ucnv_fromUChars(Cp1251(), out.data(), static_cast<int32_t>(out.size()), wide.data(),
                                    wideLength, &status);
  if (U_FAILURE(status)) throw EMorvelError("windows-1251 encoding failed");
  out.resize(static_cast<std::size_t>(n));
  return out;
}

std::optional<std::string> TryUtf8ToCp1251(std::string_view text) {
  std::string bytes = Utf8ToCp1251(text);
  // A character that was replaced (or a malformed sequence that was read leniently)
  // does not come back as it was.
  if (Cp1251ToUtf8(bytes) != text) return std::nullopt;
  return bytes;
}

std::string DecodeAnsiOrUtf8(std::string_view bytes) {
  if (bytes.starts_with(kUtf8ByteOrderMark)) return std::string(bytes.substr(kUtf8ByteOrderMark.size()));
  return Cp1251ToUtf8(bytes);
}

}  // namespace morvel

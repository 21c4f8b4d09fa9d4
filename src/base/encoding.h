// Conversions at the file boundaries: the text lists, the configuration file and
// the protocol are windows-1251; the program works in UTF-8.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace morvel {

std::string Cp1251ToUtf8(std::string_view bytes);
// Characters that windows-1251 lacks become '?'.
std::string Utf8ToCp1251(std::string_view text);
// The windows-1251 bytes of the text, or nothing when some character of it (or a
// byte that is not UTF-8) has no windows-1251 form.
std::optional<std::string> TryUtf8ToCp1251(std::string_view text);

inline constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";
// A text file's bytes: UTF-8 when they start with its byte-order mark (which is
// dropped), windows-1251 otherwise.
std::string DecodeAnsiOrUtf8(std::string_view bytes);

}  // namespace morvel

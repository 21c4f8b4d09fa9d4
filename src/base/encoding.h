// Conversions at the file boundaries: the text lists, the configuration file and
// the protocol are windows-1251; the program works in UTF-8.
#pragma once

#include <string>
#include <string_view>

namespace morvel {

std::string Cp1251ToUtf8(std::string_view bytes);
// Characters that windows-1251 lacks become '?'.
std::string Utf8ToCp1251(std::string_view text);
// A text file's bytes: UTF-8 when they start with its byte-order mark (which is
// dropped), windows-1251 otherwise.
std::string DecodeAnsiOrUtf8(std::string_view bytes);

}  // namespace morvel

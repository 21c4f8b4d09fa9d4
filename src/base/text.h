// Text helpers. Text inside the program is UTF-8; letter case and case-insensitive
// comparison follow Unicode (ICU), so Cyrillic and Latin letters both work.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace morvel {

// Removes leading and trailing characters of code 32 and below.
std::string Trim(std::string_view s);
std::string TrimLeft(std::string_view s);
std::string TrimRight(std::string_view s);

std::string UpperCase(std::string_view s);
std::string LowerCase(std::string_view s);
// <0, 0, >0 like strcmp, ignoring letter case.
int CompareTextCI(std::string_view a, std::string_view b);
bool SameTextCI(std::string_view a, std::string_view b);

inline bool Contains(std::string_view text, std::string_view part) {
  return text.find(part) != std::string_view::npos;
}
std::string ReplaceAll(std::string_view text, std::string_view from, std::string_view to);
// Replaces `from` wherever it occurs ignoring the case of ASCII letters.
std::string ReplaceAllAsciiCI(std::string_view text, std::string_view from, std::string_view to);
std::vector<std::string> Split(std::string_view text, char delimiter);
// Splits at runs of blanks; leading and trailing blanks give no empty words.
std::vector<std::string> SplitWords(std::string_view text);

// Code points of a UTF-8 text.
std::size_t Utf8Length(std::string_view s);
// `count` code points from code point `start` (0-based); clipped to the text.
std::string Utf8Substr(std::string_view s, std::size_t start, std::size_t count = std::string::npos);
// Replaces the code point at `index` (0-based); a text shorter than that is unchanged.
std::string Utf8ReplaceAt(std::string_view s, std::size_t index, std::string_view replacement);

std::string IntToStr(long long value);
// Decimal integer with an optional sign and optional leading blanks.
bool TryStrToInt(std::string_view text, int& value);
// As TryStrToInt, raising EConvertError.
int StrToInt(std::string_view text);
int StrToIntDef(std::string_view text, int fallback);

// A number with the process's decimal separator, an optional sign and exponent;
// blanks around it are allowed.
bool TryStrToFloat(std::string_view text, double& value);
// The same with a decimal point whatever the process's separator: the form the
// List and the individual records write numbers in.
bool TryStrToFloatPoint(std::string_view text, double& value);
double StrToFloat(std::string_view text);
// The general conversion: up to 15 significant digits, no trailing zeros, the
// process's decimal separator, scientific notation only for very large or very
// small values.
std::string FloatToStr(double value);

// Input text as a message quotes it: whole when short, otherwise its first
// `maxBytes` bytes (cut between characters; some 500 Cyrillic letters by
// default) and the length of the whole. A malformed line of a hundred
// megabytes must not be copied into the log, the trace and standard error.
inline constexpr std::size_t kQuotedInputBytes = 1000;
std::string QuotedInput(std::string_view text, std::size_t maxBytes = kQuotedInputBytes);

// Escapes &, <, > and " so that a text from an input file can stand in HTML.
std::string HtmlEscape(std::string_view text);

}  // namespace morvel

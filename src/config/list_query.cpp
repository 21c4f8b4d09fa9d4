// The request the searcher sends to the List server for one registration number,
// year and quarter.
#include <string>
#include <string_view>

#include "base/encoding.h"
#include "base/text.h"
#include "config/credentials.h"
#include "config/settings.h"

namespace morvel {
namespace {

bool IsUnreserved(unsigned char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
         c == '.' || c == '_' || c == '~';
}

// Every byte except the unreserved characters becomes %XX. The bytes are those of
// the system's code page, windows-1251, which is what the server reads: a name
// in Cyrillic reaches it as the text it holds, and a password holding "&", "#",
// "+" or "=" cannot cut the query short or change its meaning. Ordinary
// registration numbers, years and quarters are made of unreserved characters
// only and go out exactly as they always did.
std::string PercentEncode(std::string_view cp1251) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(cp1251.size());
  for (char ch : cp1251) {
    const auto c = static_cast<unsigned char>(ch);
    if (IsUnreserved(c)) {
      out += ch;
    } else {
      out += '%';
      out += kHex[c >> 4];
      out += kHex[c & 0x0F];
    }
  }
  return out;
}

std::string QueryValue(std::string_view utf8) { return PercentEncode(Utf8ToCp1251(utf8)); }

}  // namespace

// The credentials are held encoded and decoded only here, just before they go
// into the address; they decode to windows-1251 bytes, which go out as they are.
// The application name is one path segment: a blank or a "/" in it is escaped
// rather than breaking the address.
std::string TSettings::GetULQueryURL(const std::string& regNum, int year, int period) const {
  const std::string user = Decrypt(FULLogin, kUserNameKey);
  const std::string password = Decrypt(FULPass, kPasswordKey);
  return "http://" + FULMachine + ":" + FULPort + "/" + QueryValue(FULAppName) + "/GetList?user=" +
         PercentEncode(user) + "&pass=" + PercentEncode(password) + "&regNum=" + QueryValue(regNum) +
         "&year=" + IntToStr(year) + "&quarter=" + IntToStr(period);
}

}  // namespace morvel

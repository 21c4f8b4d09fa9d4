// The request the searcher sends to the List server for one registration number,
// year and quarter.
#include <string>
#include <string_view>

#include "base/text.h"
#include "config/credentials.h"
#include "config/settings.h"

namespace morvel {
namespace {

bool IsUnreserved(unsigned char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
         c == '.' || c == '_' || c == '~';
}

// Every byte of the UTF-8 text except the unreserved characters becomes %XX. A
// password holding "&", "#", "+" or "=" would otherwise cut the query short or
// change its meaning; ordinary registration numbers, years and quarters are made
// of unreserved characters only and go out exactly as they always did.
std::string QueryValue(std::string_view value) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(value.size());
  for (char ch : value) {
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

}  // namespace

// The credentials are held encoded and decoded only here, just before they go
// into the address.
std::string TSettings::GetULQueryURL(const std::string& regNum, int year, int period) const {
  const std::string user = DecryptText(FULLogin, kUserNameKey);
  const std::string password = DecryptText(FULPass, kPasswordKey);
  return "http://" + FULMachine + ":" + FULPort + "/" + FULAppName + "/GetList?user=" + QueryValue(user) +
         "&pass=" + QueryValue(password) + "&regNum=" + QueryValue(regNum) + "&year=" + IntToStr(year) +
         "&quarter=" + IntToStr(period);
}

}  // namespace morvel

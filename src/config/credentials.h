// The light obfuscation the List-server and re-registration credentials are held
// in: a 16-bit running-key scrambler followed by a six-bit text encoding. The
// format is fixed; credentials stored by every earlier version must keep decoding.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace morvel {

inline constexpr std::uint16_t kUserNameKey = 51973;
inline constexpr std::uint16_t kPasswordKey = 51974;

// `bytes` are the windows-1251 bytes of the clear text.
std::string Encrypt(std::string_view bytes, std::uint16_t key);
// Returns the windows-1251 bytes of the clear text.
std::string Decrypt(std::string_view text, std::uint16_t key);

// Conveniences for UTF-8 texts: converted to and from windows-1251 around the above.
std::string EncryptText(std::string_view text, std::uint16_t key);
std::string DecryptText(std::string_view encoded, std::uint16_t key);

}  // namespace morvel

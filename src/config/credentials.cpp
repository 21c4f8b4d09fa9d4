#include "config/credentials.h"

#include <cstddef>

#include "base/encoding.h"

namespace morvel {
namespace {

constexpr std::uint16_t kMultiplier = 39821;
constexpr std::uint16_t kAddend = 38501;

constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

// The register is always advanced with the scrambled byte, in both directions;
// that is what makes unscrambling the exact inverse of scrambling.
std::uint16_t NextKey(std::uint16_t key, unsigned char scrambled) {
  const unsigned next = (static_cast<unsigned>(key) + scrambled) * kMultiplier + kAddend;
  return static_cast<std::uint16_t>(next & 0xFFFFu);
}

unsigned char HighByte(std::uint16_t key) { return static_cast<unsigned char>(key >> 8); }

// Characters outside the alphabet count as 0, as they always have; stored texts
// edited by hand therefore decode to something rather than failing.
unsigned SixBitValue(char c) {
  if (c >= 'A' && c <= 'Z') return static_cast<unsigned>(c - 'A');
  if (c >= 'a' && c <= 'z') return static_cast<unsigned>(c - 'a') + 26;
  if (c >= '0' && c <= '9') return static_cast<unsigned>(c - '0') + 52;
  if (c == '+') return 62;
  if (c == '/') return 63;
  return 0;
}

// Blocks of up to three bytes, read little-endian, written as block length + 1
// characters with the least significant six bits first; no fill character.
std::string Encode(std::string_view bytes) {
  std::string out;
  out.reserve((bytes.size() + 2) / 3 * 4);
  for (std::size_t pos = 0; pos < bytes.size(); pos += 3) {
    const std::size_t length = bytes.size() - pos < 3 ? bytes.size() - pos : 3;
    std::uint32_t v = 0;
    for (std::size_t j = 0; j < length; ++j) {
      v |= static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[pos + j])) << (8 * j);
    }
    for (std::size_t j = 0; j <= length; ++j) out += kAlphabet[(v >> (6 * j)) & 63u];
  }
  return out;
}

// Blocks of up to four characters; a block of n characters gives n - 1 bytes, so a
// lone trailing character gives nothing.
std::string Decode(std::string_view text) {
  std::string out;
  out.reserve(text.size() / 4 * 3 + 2);
  for (std::size_t pos = 0; pos < text.size(); pos += 4) {
    const std::size_t length = text.size() - pos < 4 ? text.size() - pos : 4;
    std::uint32_t v = 0;
    for (std::size_t j = 0; j < length; ++j) v |= SixBitValue(text[pos + j]) << (6 * j);
    for (std::size_t j = 0; j + 1 < length; ++j) out += static_cast<char>((v >> (8 * j)) & 0xFFu);
  }
  return out;
}

}  // namespace

std::string Encrypt(std::string_view bytes, std::uint16_t key) {
  std::string scrambled;
  scrambled.reserve(bytes.size());
  for (char b : bytes) {
    const auto c = static_cast<unsigned char>(static_cast<unsigned char>(b) ^ HighByte(key));
    scrambled += static_cast<char>(c);
    key = NextKey(key, c);
  }
  return Encode(scrambled);
}

std::string Decrypt(std::string_view text, std::uint16_t key) {
  std::string bytes = Decode(text);
  for (char& b : bytes) {
    const auto c = static_cast<unsigned char>(b);
    b = static_cast<char>(c ^ HighByte(key));
    key = NextKey(key, c);
  }
  return bytes;
}

std::string EncryptText(std::string_view text, std::uint16_t key) { return Encrypt(Utf8ToCp1251(text), key); }

// The stored text goes through the code page as well, so that a stray non-ASCII
// character counts as one character (of value 0), not as the two or three bytes
// of its UTF-8 form, and the blocks after it stay aligned.
std::string DecryptText(std::string_view encoded, std::uint16_t key) {
  return Cp1251ToUtf8(Decrypt(Utf8ToCp1251(encoded), key));
}

}  // namespace morvel

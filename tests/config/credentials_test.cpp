#include <gtest/gtest.h>

#include <random>
#include <string>

#include "base/encoding.h"
#include "config/credentials.h"

namespace morvel {
namespace {

// Worked by hand, so that a change of the stored format cannot pass unnoticed.
// Each step: c = b XOR high byte of k; k' = ((k + c) * 39821 + 38501) mod 65536.
//
// "user" (windows-1251 75 73 65 72), user-name key 51973 = 0xCB05:
//   b=75 k=CB05 c=75^CB=BE k'=(51973+190)*39821+38501 mod 65536 = E1CC
//   b=73 k=E1CC c=73^E1=92 k'=2E2B
//   b=65 k=2E2B c=65^2E=4B k'=9F63
//   b=72 k=9F63 c=72^9F=ED k'=5275
// Blocks: BE 92 4B -> v=4B92BE -> six-bit groups (lowest first) 62 10 57 18 -> "+K5S"
//         ED       -> v=ED     -> 45 3                                      -> "tD"
constexpr char kUserEncoded[] = "+K5StD";
//
// "user" with the password key 51974 = 0xCB06:
//   b=75 k=CB06 c=BE k'=7D59;  b=73 k=7D59 c=0E k'=0520
//   b=65 k=0520 c=60 k'=1DE5;  b=72 k=1DE5 c=6F k'=26A9
// Blocks: BE 0E 60 -> v=600EBE -> 62 58 0 24 -> "+6AY";  6F -> 47 1 -> "vB"
constexpr char kUserWithPasswordKey[] = "+6AYvB";
//
// "Пароль" (windows-1251 CF E0 F0 EE EB FC), password key 0xCB06:
//   b=CF k=CB06 c=04 k'=78E7;  b=E0 k=78E7 c=98 k'=6658;  b=F0 k=6658 c=96 k'=617B
//   b=EE k=617B c=8F k'=A3E7;  b=EB k=A3E7 c=48 k'=7948;  b=FC k=7948 c=85 k'=CB4E
// Blocks: 04 98 96 -> v=969804 -> 4 32 41 37 -> "Egpl"
//         8F 48 85 -> v=85488F -> 15 34 20 33 -> "PiUh"
constexpr char kPasswordEncoded[] = "EgplPiUh";

TEST(Credentials, MatchesTheHandWorkedVectors) {
  EXPECT_EQ(Encrypt("user", kUserNameKey), kUserEncoded);
  EXPECT_EQ(Decrypt(kUserEncoded, kUserNameKey), "user");
  EXPECT_EQ(Encrypt("user", kPasswordKey), kUserWithPasswordKey);
  EXPECT_EQ(Decrypt(kUserWithPasswordKey, kPasswordKey), "user");
  EXPECT_EQ(Encrypt(Utf8ToCp1251("Пароль"), kPasswordKey), kPasswordEncoded);
  // The UTF-8 conveniences go through windows-1251 on both sides.
  EXPECT_EQ(EncryptText("Пароль", kPasswordKey), kPasswordEncoded);
  EXPECT_EQ(DecryptText(kPasswordEncoded, kPasswordKey), "Пароль");
  EXPECT_EQ(EncryptText("user", kUserNameKey), kUserEncoded);
  EXPECT_EQ(DecryptText(kUserEncoded, kUserNameKey), "user");
}

TEST(Credentials, EncodedLengthsHaveNoFill) {
  EXPECT_EQ(Encrypt("", kUserNameKey), "");
  EXPECT_EQ(Decrypt("", kUserNameKey), "");
  EXPECT_EQ(Encrypt("a", kUserNameKey).size(), 2u);
  EXPECT_EQ(Encrypt("ab", kUserNameKey).size(), 3u);
  EXPECT_EQ(Encrypt("abc", kUserNameKey).size(), 4u);
  EXPECT_EQ(Encrypt("abcd", kUserNameKey).size(), 6u);
  EXPECT_EQ(Encrypt("abcdefg", kUserNameKey).size(), 10u);
  // The first block carries the first three scrambled bytes whatever follows.
  EXPECT_EQ(Encrypt("use", kUserNameKey), "+K5S");
}

TEST(Credentials, ShortBlocksAndForeignCharactersDecodeAsBefore) {
  // Five characters: one full block and a lone character that yields nothing.
  EXPECT_EQ(Decrypt("+K5St", kUserNameKey), "use");
  EXPECT_EQ(Decrypt("+", kUserNameKey), "");
  // Three characters: two bytes.
  EXPECT_EQ(Decrypt("+K5", kUserNameKey).size(), 2u);
  EXPECT_EQ(Decrypt("+K5", kUserNameKey), "us");
  // A character outside the alphabet has the value of "A".
  EXPECT_EQ(Decrypt("+K5S*D", kUserNameKey), Decrypt("+K5SAD", kUserNameKey));
  EXPECT_EQ(Decrypt("=K5StD", kUserNameKey), Decrypt("AK5StD", kUserNameKey));
  // A non-ASCII character in a stored text counts as one character, so the
  // blocks after it keep their places.
  EXPECT_EQ(DecryptText("ЖK5StD+K5S", kUserNameKey), DecryptText("AK5StD+K5S", kUserNameKey));
}

TEST(Credentials, TheOtherKeyDoesNotDecode) {
  EXPECT_NE(Decrypt(kUserEncoded, kPasswordKey), "user");
  EXPECT_NE(Decrypt(kPasswordEncoded, kUserNameKey), Utf8ToCp1251("Пароль"));
  EXPECT_NE(Encrypt("user", kUserNameKey), Encrypt("user", kPasswordKey));
}

TEST(Credentials, EveryByteStringRoundTrips) {
  std::mt19937 random(20190401);
  std::uniform_int_distribution<int> byte(0, 255);
  for (std::uint16_t key : {kUserNameKey, kPasswordKey, std::uint16_t{0}, std::uint16_t{65535}}) {
    for (std::size_t length = 0; length < 40; ++length) {
      std::string bytes;
      for (std::size_t i = 0; i < length; ++i) bytes += static_cast<char>(byte(random));
      const std::string encoded = Encrypt(bytes, key);
      EXPECT_EQ(encoded.find_first_not_of(
                    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/"),
                std::string::npos);
      EXPECT_EQ(Decrypt(encoded, key), bytes) << "key " << key << ", length " << length;
    }
  }
  std::string all;
  for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
  EXPECT_EQ(Decrypt(Encrypt(all, kPasswordKey), kPasswordKey), all);
}

}  // namespace
}  // namespace morvel

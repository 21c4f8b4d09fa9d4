#include <gtest/gtest.h>

#include "base/encoding.h"
#include "base/error.h"
#include "base/format_settings.h"
#include "base/text.h"

namespace morvel {
namespace {

TEST(Text, CaseFollowsUnicodeForCyrillicAndLatin) {
  EXPECT_EQ(UpperCase("иванов ivanov ё"), "ИВАНОВ IVANOV Ё");
  EXPECT_EQ(LowerCase("/BPI"), "/bpi");
  EXPECT_TRUE(SameTextCI("Перечень", "ПЕРЕЧЕНЬ"));
  EXPECT_LT(CompareTextCI("27-1", "27-гд"), 0);
  EXPECT_EQ(CompareTextCI("дт", "ДТ"), 0);
  EXPECT_GT(CompareTextCI("б", "А"), 0);
}

TEST(Text, TrimRemovesControlCharactersAndBlanks) {
  EXPECT_EQ(Trim("\t\r\n x y \r\n"), "x y");
  EXPECT_EQ(Trim(""), "");
  EXPECT_EQ(TrimLeft("  a "), "a ");
}

TEST(Text, Utf8PositionsCountCharactersNotBytes) {
  EXPECT_EQ(Utf8Length("Ж1"), 2u);
  EXPECT_EQ(Utf8Substr("Иванов", 0, 1), "И");
  EXPECT_EQ(Utf8ReplaceAt("123-456-789-01", 11, " "), "123-456-789 01");
  EXPECT_EQ(Utf8ReplaceAt("12", 11, " "), "12");
}

TEST(Text, IntegersAreDecimalOnly) {
  int v = 0;
  EXPECT_TRUE(TryStrToInt("2019", v));
  EXPECT_EQ(v, 2019);
  EXPECT_TRUE(TryStrToInt("-3", v));
  EXPECT_EQ(v, -3);
  EXPECT_FALSE(TryStrToInt("yes", v));
  EXPECT_FALSE(TryStrToInt("", v));
  EXPECT_FALSE(TryStrToInt("12 ", v));
  EXPECT_FALSE(TryStrToInt("99999999999", v));
  EXPECT_THROW(StrToInt("1x"), EConvertError);
  EXPECT_EQ(StrToIntDef("x", 7), 7);
}

TEST(Text, FloatsUseThePointAndTheGeneralConversion) {
  double v = 0;
  EXPECT_TRUE(TryStrToFloat("0.5", v));
  EXPECT_DOUBLE_EQ(v, 0.5);
  EXPECT_FALSE(TryStrToFloat("0,5", v));
  EXPECT_FALSE(TryStrToFloat("", v));
  EXPECT_FALSE(TryStrToFloat("nan", v));
  EXPECT_EQ(FloatToStr(0.5), "0.5");
  EXPECT_EQ(FloatToStr(1), "1");
  EXPECT_EQ(FloatToStr(15.5), "15.5");
  EXPECT_EQ(FloatToStr(0), "0");
  EXPECT_EQ(FloatToStr(-2.25), "-2.25");
  EXPECT_EQ(FloatToStr(0.1 + 0.2), "0.3");  // 15 digits hide the binary artefact
  EXPECT_EQ(FloatToStr(1.0 / 3), "0.333333333333333");
  EXPECT_EQ(FloatToStr(123456789012345.0), "123456789012345");
  EXPECT_EQ(FloatToStr(1e15), "1E15");
  EXPECT_EQ(FloatToStr(0.00001), "0.00001");
  EXPECT_EQ(FloatToStr(0.000001), "1E-6");
}

TEST(Text, FloatSeparatorIsTheProcesssNotTheLocales) {
  double v = 0;
  FormatSettings().DecimalSeparator = ',';
  EXPECT_TRUE(TryStrToFloat("0,5", v));
  EXPECT_DOUBLE_EQ(v, 0.5);
  EXPECT_FALSE(TryStrToFloat("0.5", v));
  EXPECT_TRUE(TryStrToFloatPoint(" +1.25 ", v));  // files always write a point
  EXPECT_DOUBLE_EQ(v, 1.25);
  FormatSettings().DecimalSeparator = '.';
  EXPECT_FALSE(TryStrToFloatPoint("1e999", v));
  EXPECT_FALSE(TryStrToFloatPoint("+-1", v));
}

TEST(Text, SplittingAndReplacing) {
  EXPECT_EQ(Split("a/b//c", '/'), (std::vector<std::string>{"a", "b", "", "c"}));
  EXPECT_EQ(SplitWords("  a  b c "), (std::vector<std::string>{"a", "b", "c"}));
  EXPECT_EQ(ReplaceAll("a\r\nb\r\n", "\r\n", ""), "ab");
  EXPECT_EQ(ReplaceAllAsciiCI("x<BR>y<br>z", "<br>", " "), "x y z");
  EXPECT_EQ(HtmlEscape("a<b & \"c\">"), "a&lt;b &amp; &quot;c&quot;&gt;");
}

TEST(Encoding, Windows1251RoundTripAndReplacement) {
  const std::string text = "Протокол №1";
  const std::string bytes = Utf8ToCp1251(text);
  EXPECT_EQ(bytes.size(), Utf8Length(text));
  EXPECT_EQ(static_cast<unsigned char>(bytes[0]), 0xCF);  // П
  EXPECT_EQ(Cp1251ToUtf8(bytes), text);
  EXPECT_EQ(Utf8ToCp1251("漢"), "?");
  EXPECT_EQ(DecodeAnsiOrUtf8("\xEF\xBB\xBFЖ"), "Ж");
  EXPECT_EQ(DecodeAnsiOrUtf8("\xC6"), "Ж");
}

}  // namespace
}  // namespace morvel

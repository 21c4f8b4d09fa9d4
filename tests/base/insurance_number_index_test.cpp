#include "base/insurance_number_index.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <unordered_map>
#include <vector>

namespace morvel {
namespace {

constexpr std::size_t npos = TInsuranceNumberIndex::npos;

TEST(InsuranceNumberIndexTest, SeparatorsAndDigitsAreAllPartOfTheKey) {
  TInsuranceNumberIndex index;
  const std::string nul(1, '\0');
  const std::vector<std::string> texts = {
      "123-456-789 01", "123-456-789-01", "123 456 789 01", "123-456-789 10", "023-456-789 01",
      "123" + nul + "456" + nul + "789" + nul + "01",  // NUL separators still make the shape
      "123-456-789 0",  "123-456-789 012", "",
      "12З-456-789 01",  // a Cyrillic letter: two bytes, so 15 of them
  };
  for (std::size_t i = 0; i < texts.size(); ++i) EXPECT_TRUE(index.TryEmplace(texts[i], i).second) << i;
  EXPECT_EQ(index.Size(), texts.size());
  for (std::size_t i = 0; i < texts.size(); ++i) EXPECT_EQ(index.Find(texts[i]), i) << i;
  EXPECT_EQ(index.Find("123-456-789_01"), npos);
  EXPECT_EQ(index.Find("99999999999999"), npos);
  EXPECT_EQ(index.Find("123-456-789 01 "), npos);
}

TEST(InsuranceNumberIndexTest, KeepsTheFirstPositionAndSurvivesGrowthAndClearing) {
  TInsuranceNumberIndex index;
  EXPECT_EQ(index.Find("123-456-789 01"), npos);  // an empty table answers too
  index.Reserve(3);
  // Numbers given out in sequence, as an employer's often are, through several
  // doublings of the table.
  auto number = [](int i) {
    std::string digits = std::to_string(10'000'000'000LL + i).substr(0, 11);
    return digits.substr(0, 3) + "-" + digits.substr(3, 3) + "-" + digits.substr(6, 3) + " " + digits.substr(9, 2);
  };
  for (int i = 0; i < 5000; ++i) ASSERT_TRUE(index.TryEmplace(number(i), static_cast<std::size_t>(i)).second);
  EXPECT_EQ(index.TryEmplace(number(42), 7), std::make_pair(std::size_t{42}, false));
  EXPECT_EQ(index.TryEmplace("bad", 1), std::make_pair(std::size_t{1}, true));
  EXPECT_EQ(index.TryEmplace("bad", 2), std::make_pair(std::size_t{1}, false));
  for (int i = 0; i < 5000; ++i) ASSERT_EQ(index.Find(number(i)), static_cast<std::size_t>(i));
  EXPECT_EQ(index.Size(), 5001u);

  index.Clear();
  EXPECT_TRUE(index.Empty());
  EXPECT_EQ(index.Find(number(42)), npos);
  EXPECT_EQ(index.Find("bad"), npos);
  EXPECT_TRUE(index.TryEmplace(number(42), 9).second);
  EXPECT_EQ(index.Find(number(42)), 9u);
}

// A random text near the shape of a number: well formed, or with one fault.
std::string RandomText(std::mt19937& random) {
  auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
  // A small digit alphabet makes near neighbours frequent.
  std::string text;
  for (int i = 0; i < 14; ++i) {
    if (i == 3 || i == 7 || i == 11)
      text += "- "[pick(2)];
    else
      text += static_cast<char>('0' + pick(3));
  }
  const std::size_t at = static_cast<std::size_t>(pick(14));
  switch (pick(10)) {
    case 0: text[at] = "- _"[pick(3)]; break;       // a separator changed, or one in a digit's place
    case 1: text[at] = 'A'; break;                  // a letter instead of a digit
    case 2: text.pop_back(); break;                 // 13 bytes
    case 3: text += static_cast<char>('0' + pick(3)); break;  // 15 bytes
    case 4: text.clear(); break;
    case 5: text.replace(at, 1, "З"); break;        // Cyrillic bytes
    case 6: text[at] = '\0'; break;                 // an embedded NUL
    default: break;                                 // well formed
  }
  return text;
}

TEST(InsuranceNumberIndexTest, AnswersLikeAMapOfStrings) {
  for (unsigned seed = 1; seed <= 20; ++seed) {
    std::mt19937 random(seed);
    TInsuranceNumberIndex index;
    std::unordered_map<std::string, std::size_t> expected;
    if (seed % 2 == 0) index.Reserve(300);
    std::vector<std::string> met;
    for (std::size_t step = 0; step < 3000; ++step) {
      // Half of the texts are met again.
      if (met.empty() || random() % 2 == 0) met.push_back(RandomText(random));
      const std::string text = met[random() % met.size()];
      if (random() % 2 == 0) {
        const auto [it, added] = expected.try_emplace(text, step);
        ASSERT_EQ(index.TryEmplace(text, step), std::make_pair(it->second, added)) << seed << " " << step;
      } else {
        const auto found = expected.find(text);
        ASSERT_EQ(index.Find(text), found != expected.end() ? found->second : npos) << seed << " " << step;
      }
      if (step == 2000 && seed % 3 == 0) {
        index.Clear();
        expected.clear();
      }
    }
    ASSERT_EQ(index.Size(), expected.size());
    for (const auto& [text, position] : expected) ASSERT_EQ(index.Find(text), position);
  }
}

}  // namespace
}  // namespace morvel

#include "base/shared_text.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

namespace morvel {
namespace {

TEST(SharedText, CopiesShareOneTextAndChangesNeverReachTheOthers) {
  TSharedText a(std::string("Электрогазосварщик ручной сварки"));
  TSharedText b = a;
  EXPECT_EQ(a.c_str(), b.c_str());  // one text, not a copy

  b += ", 5 разряд";
  EXPECT_EQ(a, "Электрогазосварщик ручной сварки");
  EXPECT_EQ(b, "Электрогазосварщик ручной сварки, 5 разряд");

  TSharedText c = a;
  a = "другой";
  EXPECT_EQ(c, "Электрогазосварщик ручной сварки");
  a = a;  // NOLINT: assigning a text to itself keeps it
  EXPECT_EQ(a, "другой");
  a += a;
  EXPECT_EQ(a, "другойдругой");

  TSharedText moved = std::move(c);
  EXPECT_EQ(moved, "Электрогазосварщик ручной сварки");
  c = "после переноса";
  EXPECT_EQ(c, "после переноса");
}

TEST(SharedText, EmptyAndDigitTextsBehaveLikeAnyOther) {
  TSharedText empty;
  EXPECT_TRUE(empty.empty());
  EXPECT_EQ(empty.size(), 0u);
  EXPECT_EQ(empty, "");
  EXPECT_EQ(TSharedText(""), empty);
  EXPECT_STREQ(empty.c_str(), "");

  // Digits are shared by the whole process; changing one copy leaves the rest.
  TSharedText zero = "0";
  TSharedText otherZero = std::string("0");
  EXPECT_EQ(zero.c_str(), otherZero.c_str());
  zero += "5";
  EXPECT_EQ(zero, "05");
  EXPECT_EQ(otherZero, "0");
  EXPECT_EQ(TSharedText("0"), "0");
  otherZero.clear();
  EXPECT_TRUE(otherZero.empty());
  EXPECT_EQ(TSharedText("7"), "7");
  EXPECT_EQ(TSharedText("07"), "07");
  EXPECT_EQ(TSharedText(std::string(1, '\0')).size(), 1u);
}

TEST(SharedText, ComparesAndJoinsLikeAString) {
  const TSharedText code = "27-1";
  const std::string same = "27-1";
  EXPECT_TRUE(code == same);
  EXPECT_TRUE(same == code);
  EXPECT_TRUE(code == std::string_view("27-1"));
  EXPECT_TRUE("27-1" == code);
  EXPECT_TRUE(code != "27-10");
  EXPECT_TRUE(code == TSharedText(same));
  EXPECT_TRUE(TSharedText("27-1") < TSharedText("27-2"));

  EXPECT_EQ("(" + code + ")", "(27-1)");
  EXPECT_EQ(same + code, "27-127-1");
  EXPECT_EQ(code + ';' + code, "27-1;27-1");
  EXPECT_EQ(code + code, "27-127-1");
  EXPECT_EQ(std::string("a") + code, "a27-1");

  const std::string& asString = code;
  std::string_view asView = code;
  EXPECT_EQ(asString, "27-1");
  EXPECT_EQ(asView, "27-1");
}

TEST(SharedText, PoolSharesRepeatedValuesUpToItsCapacityAndItsTextsOutliveIt) {
  TSharedText kept;
  {
    TSharedTextPool pool(2);
    const std::string first = "Электрогазосварщик";
    TSharedText a = pool.Get(first);
    TSharedText b = pool.Get(std::string_view("Электрогазосварщик"));
    EXPECT_EQ(a.c_str(), b.c_str());
    EXPECT_NE(a.c_str(), first.c_str());  // the pool holds its own copy

    EXPECT_TRUE(pool.Get("").empty());
    TSharedText c = pool.Get("27-2");
    // Full: further values are handed out as they are, each its own.
    TSharedText d = pool.Get("27-ГД");
    TSharedText e = pool.Get("27-ГД");
    EXPECT_EQ(d, e);
    EXPECT_NE(d.c_str(), e.c_str());
    EXPECT_EQ(pool.Get("27-2").c_str(), c.c_str());  // kept values stay shared

    // Changing a text from the pool leaves the pool's value as it was.
    a += " ручной сварки";
    EXPECT_EQ(pool.Get(first), "Электрогазосварщик");
    kept = pool.Get(first);
  }
  EXPECT_EQ(kept, "Электрогазосварщик");
}

// Copies of one text are made and dropped by several threads at once (the
// windows read results while a worker thread builds them); every text must be
// freed exactly once, which the sanitizer build checks.
TEST(SharedText, CopiesMadeAndDroppedFromSeveralThreads) {
  const TSharedText shared = std::string("Медицинская сестра палатная");
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([&shared] {
      for (int i = 0; i < 20000; ++i) {
        TSharedText copy = shared;
        TSharedText another = copy;
        copy = another;
      }
    });
  }
  for (std::thread& thread : threads) thread.join();
  EXPECT_EQ(shared, "Медицинская сестра палатная");
}

}  // namespace
}  // namespace morvel

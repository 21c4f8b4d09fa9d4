#include <gtest/gtest.h>

#include "config/credentials.h"
#include "config/settings.h"

namespace morvel {
namespace {

class ListQuery : public ::testing::Test {
 protected:
  void SetUp() override {
    TSingleton::DestroyInstance<TSettings>();
    TSettings& s = TSettings::GetInstance();
    s.FULMachine = "velano.local";
    s.FULPort = "8080";
    s.FULAppName = "list4";
  }
  void TearDown() override { TSingleton::DestroyInstance<TSettings>(); }
  TSettings& Settings() { return TSettings::GetInstance(); }
};

TEST_F(ListQuery, DecodesTheStoredCredentialsWithTheirOwnKeys) {
  Settings().FULLogin = "+K5StD";  // "user" with the user-name key
  Settings().FULPass = EncryptText("secret-1", kPasswordKey);
  EXPECT_EQ(Settings().GetULQueryURL("087-001-012345", 2019, 4),
            "http://velano.local:8080/list4/GetList?user=user&pass=secret-1&regNum=087-001-012345"
            "&year=2019&quarter=4");
  // The password key does not decode a user name, and the other way round.
  Settings().FULLogin = EncryptText("user", kPasswordKey);
  Settings().FULPass = EncryptText("secret-1", kUserNameKey);
  const std::string url = Settings().GetULQueryURL("087-001-012345", 2019, 4);
  EXPECT_EQ(url.find("user=user&"), std::string::npos);
  EXPECT_EQ(url.find("pass=secret-1&"), std::string::npos);
}

TEST_F(ListQuery, ValuesAreEscapedSoTheyCannotBreakTheQuery) {
  // Cyrillic goes out as the percent-encoded windows-1251 bytes the server reads:
  // И = C8, в = E2, а = E0, н = ED, о = EE.
  Settings().FULLogin = EncryptText("Иванов И.", kUserNameKey);
  Settings().FULPass = EncryptText("a&b#c+d=e%f/g~h_i", kPasswordKey);
  EXPECT_EQ(Settings().GetULQueryURL("087 001&x=1", 2020, 2),
            "http://velano.local:8080/list4/GetList?user=%C8%E2%E0%ED%EE%E2%20%C8."
            "&pass=a%26b%23c%2Bd%3De%25f%2Fg~h_i&regNum=087%20001%26x%3D1&year=2020&quarter=2");
}

TEST_F(ListQuery, TheApplicationNameIsOnePathSegment) {
  Settings().FULAppName = "Велано ЛП";
  EXPECT_EQ(Settings().GetULQueryURL("1234567890", 2019, 4),
            "http://velano.local:8080/%C2%E5%EB%E0%ED%EE%20%CB%CF/GetList?user=&pass=&regNum=1234567890"
            "&year=2019&quarter=4");
  Settings().FULAppName = "a/b?c";
  EXPECT_EQ(Settings().GetULQueryURL("1", 2019, 4),
            "http://velano.local:8080/a%2Fb%3Fc/GetList?user=&pass=&regNum=1&year=2019&quarter=4");
}

TEST_F(ListQuery, EmptyCredentialsGiveEmptyValues) {
  EXPECT_EQ(Settings().GetULQueryURL("1234567890", 2010, 1),
            "http://velano.local:8080/list4/GetList?user=&pass=&regNum=1234567890&year=2010&quarter=1");
}

}  // namespace
}  // namespace morvel

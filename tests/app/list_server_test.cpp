// The reference List server as the program meets it: started as a child process,
// asked over HTTP, its answers read into the element tree.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>

#include "config/credentials.h"
#include "config/settings.h"
#include "app/server_process.h"
#include "support/test_support.h"
#include "xml/http_get.h"
#include "xml/my_node.h"

namespace morvel {
namespace {

using namespace std::chrono_literals;

std::string Attr(TMyNode* node, const char* name) {
  const TMyAttrib* a = node != nullptr ? node->Attributes().getNamedItem(name) : nullptr;
  return a != nullptr ? std::string(a->text()) : "<absent>";
}

// The first "Перечень" of an answer, or nullptr.
TMyNode* List(const TMyTree& tree) {
  if (!tree) return nullptr;
  const TMyNodeList& lists = tree->GetElementsByTagName("Перечень");
  return lists.empty() ? nullptr : lists[0];
}

std::string FirstText(const TMyTree& tree, const char* name) {
  if (!tree) return "<no tree>";
  const TMyNodeList& found = tree->GetElementsByTagName(name);
  return found.empty() ? "<absent>" : std::string(found[0]->text());
}

const std::string kNothingFound = "По запрашиваемым параметрам ничего найдено не было";

class ListServerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const auto& e : std::filesystem::directory_iterator(test::TestData("list-server"))) {
      std::filesystem::copy_file(e.path(), lists / e.path().filename());
    }
    // A broken file is skipped; a file of two Lists is searched in document order.
    test::WriteFile(lists / "00-broken.xml", "<?xml version=\"1.0\"?>\n<Перечень ОтчетныйГод=\"2019\"");
    test::WriteFile(lists / "04-two.xml",
                    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Пакет>\n"
                    "<Перечень ОтчетныйГод=\"2021\" ОтчетныйПериод=\"9\"><Предприятие РегНомер=\"087-003-000500\"/>"
                    "</Перечень>\n"
                    "<Перечень ОтчетныйГод=\"2021\" ОтчетныйПериод=\"3\"><Предприятие РегНомер=\"087-003-000500\"/>"
                    "</Перечень>\n</Пакет>\n");
  }
  test::TempDir dir;
  std::filesystem::path lists = dir.path();
};

TEST_F(ListServerTest, AnswersTheFirstListThatFitsTheRequest) {
  ServerProcess server({"--lists", lists.string()});
  const auto ask = [&](const std::string& query) { return LoadXMLTree(server.Base() + "user=&pass=&" + query); };

  auto tree = ask("regNum=087-001-000001&year=2019&quarter=2");
  TMyNode* list = List(tree);
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(Attr(list, "ОтчетныйГод"), "2019");
  EXPECT_EQ(Attr(list, "ОтчетныйПериод"), "6");
  EXPECT_EQ(Attr(list, "НакопитИтогом"), "0");
  EXPECT_EQ(Attr(list, "Тип"), "ИСХОДНЫЙ");
  TMyNode* enterprise = list->SelectSingleNode("Предприятие");
  EXPECT_EQ(Attr(enterprise, "РегНомер"), "087-001-000001");
  EXPECT_EQ(Attr(enterprise, "Наименование"), "АО \"Северный механический завод\"");
  EXPECT_EQ(list->GetElementsByTagName("Работник").size(), 1u);

  // Without collect only the exact period fits; with it every period from collect up.
  EXPECT_EQ(Attr(List(ask("regNum=087-001-000001&year=2019&quarter=4")), "ОтчетныйПериод"), "12");
  EXPECT_EQ(Attr(List(ask("regNum=087-001-000001&year=2019&quarter=4&collect=2")), "ОтчетныйПериод"), "6");
  EXPECT_EQ(Attr(List(ask("regNum=087-001-000001&year=2019&quarter=4&collect=3")), "ОтчетныйПериод"), "12");
  EXPECT_EQ(FirstText(ask("regNum=087-001-000001&year=2019&quarter=3&collect=3"), "Пояснение").find(kNothingFound),
            0u);
  EXPECT_EQ(List(ask("regNum=087-001-000001&year=2020&quarter=2")), nullptr);
  EXPECT_EQ(List(ask("regNum=087-001-00000&year=2019&quarter=2")), nullptr);

  // The second number, a windows-1251 file, and an absent period meaning the year.
  tree = ask("regNum=0870020077&year=2020&quarter=4");
  list = List(tree);
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(Attr(list, "ОтчетныйПериод"), "<absent>");
  EXPECT_EQ(Attr(list->SelectSingleNode("Предприятие"), "Наименование"), "ГБУЗ \"Городская больница №2\"");

  // Within one file, document order.
  EXPECT_EQ(Attr(List(ask("regNum=087-003-000500&year=2021&quarter=3&collect=1")), "ОтчетныйПериод"), "9");
  EXPECT_EQ(Attr(List(ask("regNum=087-003-000500&year=2021&quarter=1")), "ОтчетныйПериод"), "3");

  EXPECT_NE(server.Errors().find("00-broken.xml"), std::string::npos) << server.Errors();
  EXPECT_FALSE(HttpGet("http://127.0.0.1:" + std::to_string(server.Port()) + "/list4/Other"));
}

TEST_F(ListServerTest, ErrorAnswersAndTheExactRequestLog) {
  const std::filesystem::path log = dir / "requests.log";
  ServerProcess server({"--lists", lists.string(), "--user", "оператор", "--password", "p&ss #1", "--log",
                        log.string()});
  // The query as the program builds it, from the encoded credentials.
  TSingleton::DestroyInstance<TSettings>();
  TSettings& settings = TSettings::GetInstance();
  settings.FULMachine = "127.0.0.1";
  settings.FULPort = std::to_string(server.Port());
  settings.FULAppName = "list4";
  settings.FULLogin = EncryptText("оператор", kUserNameKey);
  settings.FULPass = EncryptText("p&ss #1", kPasswordKey);
  const std::string good = settings.GetULQueryURL("087-001-000001", 2019, 4) + "&collect=2";
  settings.FULPass = EncryptText("p&ss #2", kPasswordKey);
  const std::string wrong = settings.GetULQueryURL("087-001-000001", 2019, 4);
  TSingleton::DestroyInstance<TSettings>();

  EXPECT_EQ(Attr(List(LoadXMLTree(good)), "ОтчетныйПериод"), "6");

  auto tree = LoadXMLTree(wrong);
  EXPECT_EQ(List(tree), nullptr);
  EXPECT_NE(FirstText(tree, "ОсновноеСообщение"), "<absent>");
  EXPECT_NE(FirstText(tree, "ВерсияПК"), "<absent>");
  EXPECT_NE(FirstText(tree, "Пояснение"), "<absent>");
  EXPECT_EQ(FirstText(tree, "Пояснение").find(kNothingFound), std::string::npos);

  const std::string credentials = "user=%D0%BE%D0%BF%D0%B5%D1%80%D0%B0%D1%82%D0%BE%D1%80&pass=p%26ss%20%231";
  tree = LoadXMLTree(server.Base() + credentials + "&regNum=087-001-000001&year=2018&quarter=4");
  EXPECT_NE(FirstText(tree, "ОсновноеСообщение"), "<absent>");
  EXPECT_NE(FirstText(tree, "Пояснение").find(kNothingFound), std::string::npos);

  tree = LoadXMLTree(server.Base() + credentials + "&year=2019&quarter=4");  // no regNum
  EXPECT_NE(FirstText(tree, "ОсновноеСообщение"), "<absent>");
  EXPECT_EQ(List(tree), nullptr);

  // The program sends the windows-1251 bytes of "оператор"; the server takes the
  // UTF-8 spelling typed by hand as well.
  const std::string expected =
      "GET /list4/GetList?user=%EE%EF%E5%F0%E0%F2%EE%F0&pass=p%26ss%20%231"
      "&regNum=087-001-000001&year=2019&quarter=4&collect=2\n"
      "GET /list4/GetList?user=%EE%EF%E5%F0%E0%F2%EE%F0&pass=p%26ss%20%232"
      "&regNum=087-001-000001&year=2019&quarter=4\n"
      "GET /list4/GetList?" + credentials + "&regNum=087-001-000001&year=2018&quarter=4\n"
      "GET /list4/GetList?" + credentials + "&year=2019&quarter=4\n";
  EXPECT_EQ(test::ReadFile(log), expected);
  EXPECT_EQ(server.Output(), std::to_string(server.Port()) + "\n" + expected);
}

TEST(ListServerFaults, EveryFaultGivesNoTree) {
  const std::string query = "user=&pass=&regNum=087-001-000001&year=2019&quarter=2";
  for (const char* fault : {"http-error", "not-xml", "truncated"}) {
    ServerProcess server({"--lists", test::TestData("list-server").string(), "--fault", fault});
    EXPECT_EQ(LoadXMLTree(server.Base() + query), nullptr) << fault;
    const std::optional<std::string> body = HttpGet(server.Base() + query);
    // Only the body that is not XML arrives as a successful answer.
    EXPECT_EQ(body.has_value(), std::string(fault) == "not-xml") << fault;
  }

  ServerProcess server({"--fault", "hang"});
  SetHttpTimeouts(1000ms, 1500ms);
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(LoadXMLTree(server.Base() + query), nullptr);
  EXPECT_LT(std::chrono::steady_clock::now() - start, 30s);  // given up, not waited for ever
  SetHttpTimeouts(10s, 60s);
  EXPECT_NE(server.Output().find("GET /list4/GetList?" + query + "\n"), std::string::npos);
}

TEST(ListServerOptions, HelpAndBadOptions) {
  const test::ProcessResult help = test::RunProcess(test::BuiltProgram("morvel-list-server"), {"--help"});
  EXPECT_EQ(help.exitCode, 0);
  for (const char* option : {"--lists", "--port", "--user", "--password", "--fault", "--log", "collect"}) {
    EXPECT_NE(help.output.find(option), std::string::npos) << option;
  }
  EXPECT_EQ(test::RunProcess(test::BuiltProgram("morvel-list-server"), {"--fault", "slow"}).exitCode, 2);
  EXPECT_EQ(test::RunProcess(test::BuiltProgram("morvel-list-server"), {"--port", "x"}).exitCode, 2);
  // A port in use is refused rather than shared with the server already on it.
  ServerProcess first({});
  const test::ProcessResult second =
      test::RunProcess(test::BuiltProgram("morvel-list-server"), {"--port", std::to_string(first.Port())});
  EXPECT_EQ(second.exitCode, 1) << second.output;
}

}  // namespace
}  // namespace morvel

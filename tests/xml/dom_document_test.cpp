#include "xml/dom_document.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/test_support.h"

namespace morvel {
namespace {

using test::TempDir;
using test::WriteFile;

std::vector<std::string> Names(const std::vector<xmlNode*>& nodes) {
  std::vector<std::string> names;
  for (const xmlNode* node : nodes) names.push_back(DOMNodeName(node) + "=" + DOMAttribute(node, "n").value_or("-"));
  return names;
}

std::string Content(const xmlNode* node) {
  xmlChar* text = xmlNodeGetContent(node);
  std::string result = text == nullptr ? std::string() : reinterpret_cast<const char*>(text);
  xmlFree(text);
  return result;
}

TEST(DOMDocument, LoadsAndNavigatesByExactNames) {
  TempDir dir;
  WriteFile(dir / "d.xml",
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
            "<Корень xmlns:п=\"urn:p\" n=\"root\">\n"
            "  <А n=\"1\"><Б n=\"deep\"><В n=\"deeper\"/></Б></А>\n"
            "  <Б n=\"2\"/>\n"
            "  <п:Б n=\"prefixed\"/>\n"
            "  <А n=\"3\" пусто=\"\" ссылки=\"x &amp; &#1044;\" п:атр=\"p\"/>\n"
            "</Корень>\n");
  xmlNode* root = reinterpret_cast<xmlNode*>(1);
  const TDOMDocument doc = LoadDOMDocument(dir / "d.xml", root);
  ASSERT_TRUE(doc);
  ASSERT_NE(root, nullptr);
  EXPECT_EQ(DOMNodeName(root), "Корень");

  // Document order is pre-order: the nested Б comes before the later sibling.
  EXPECT_EQ(DOMAttribute(DOMFirstDescendant(root, "Б"), "n"), "deep");
  EXPECT_EQ(DOMAttribute(DOMFirstDescendant(root, "В"), "n"), "deeper");
  EXPECT_EQ(DOMAttribute(DOMFirstDescendant(root, "п:Б"), "n"), "prefixed");
  EXPECT_EQ(DOMFirstDescendant(root, "Корень"), nullptr);
  EXPECT_EQ(DOMFirstDescendant(DOMFirstDescendant(root, "В"), "В"), nullptr);
  EXPECT_EQ(DOMFirstDescendant(root, "Г"), nullptr);
  // A search below an inner element stays inside it.
  EXPECT_EQ(DOMFirstDescendant(DOMFirstDescendant(root, "В")->parent, "А"), nullptr);

  EXPECT_EQ(Names(DOMChildElements(root, "А")), (std::vector<std::string>{"А=1", "А=3"}));
  EXPECT_EQ(Names(DOMChildElements(root, "Б")), (std::vector<std::string>{"Б=2"}));
  EXPECT_EQ(Names(DOMChildElements(root, "п:Б")), (std::vector<std::string>{"п:Б=prefixed"}));
  EXPECT_TRUE(DOMChildElements(root, "В").empty());

  const xmlNode* last = DOMChildElements(root, "А").back();
  EXPECT_EQ(DOMAttribute(last, "пусто"), "");
  EXPECT_EQ(DOMAttribute(last, "нет"), std::nullopt);
  EXPECT_EQ(DOMAttribute(last, "ссылки"), "x & Д");
  EXPECT_EQ(DOMAttribute(last, "п:атр"), "p");
  EXPECT_EQ(DOMAttribute(last, "атр"), std::nullopt);
  EXPECT_EQ(DOMLineNumber(last), 6);
}

TEST(DOMDocument, BadFilesGiveNoRoot) {
  TempDir dir;
  WriteFile(dir / "broken.xml", "<a><b></a>");
  WriteFile(dir / "empty.xml", "");
  WriteFile(dir / "text.xml", "not xml at all");
  for (const std::filesystem::path& file :
       {dir / "missing.xml", dir / "broken.xml", dir / "empty.xml", dir / "text.xml", dir.path()}) {
    xmlNode* root = reinterpret_cast<xmlNode*>(1);
    const TDOMDocument doc = LoadDOMDocument(file, root);
    EXPECT_EQ(root, nullptr) << file;
    EXPECT_FALSE(doc) << file;
  }
}

TEST(DOMDocument, DecodesTheDeclaredEncoding) {
  TempDir dir;
  // "Ёж" in windows-1251.
  WriteFile(dir / "cp.xml", "<?xml version=\"1.0\" encoding=\"windows-1251\"?><r a=\"\xA8\xE6\"/>");
  xmlNode* root = nullptr;
  const TDOMDocument doc = LoadDOMDocument(dir / "cp.xml", root);
  ASSERT_NE(root, nullptr);
  EXPECT_EQ(DOMAttribute(root, "a"), "Ёж");
}

TEST(DOMDocument, NeverReadsExternalEntities) {
  TempDir dir;
  WriteFile(dir / "secret.txt", "SECRET");
  WriteFile(dir / "decl.dtd", "<!ENTITY inner \"FROMDTD\">");
  const std::string secret = (dir / "secret.txt").string();
  WriteFile(dir / "general.xml",
            "<?xml version=\"1.0\"?>\n"
            "<!DOCTYPE r [\n"
            "  <!ENTITY ext SYSTEM \"file://" + secret + "\">\n"
            "  <!ENTITY rel SYSTEM \"secret.txt\">\n"
            "]>\n"
            "<r>&ext;<c>&rel;</c></r>\n");
  xmlNode* root = nullptr;
  const TDOMDocument doc = LoadDOMDocument(dir / "general.xml", root);
  ASSERT_NE(root, nullptr);
  EXPECT_EQ(Content(root).find("SECRET"), std::string::npos);

  // A declaration from an external parameter entity is never seen: the document
  // is refused for its undeclared entity, or loads without the declared text.
  WriteFile(dir / "parameter.xml",
            "<?xml version=\"1.0\"?>\n"
            "<!DOCTYPE r [ <!ENTITY % pe SYSTEM \"decl.dtd\"> %pe; ]>\n"
            "<r a=\"&inner;\">&inner;</r>\n");
  xmlNode* root2 = nullptr;
  const TDOMDocument doc2 = LoadDOMDocument(dir / "parameter.xml", root2);
  if (root2 != nullptr) {
    EXPECT_EQ(Content(root2).find("FROMDTD"), std::string::npos);
    EXPECT_EQ(DOMAttribute(root2, "a").value_or("").find("FROMDTD"), std::string::npos);
  }
}

TEST(DOMDocument, EntityExpansionStaysLimited) {
  TempDir dir;
  std::string dtd = "<!ENTITY l0 \"lollollollollollollollollollol\">\n";
  for (int i = 1; i <= 9; ++i) {
    dtd += "<!ENTITY l" + std::to_string(i) + " \"";
    for (int k = 0; k < 10; ++k) dtd += "&l" + std::to_string(i - 1) + ";";
    dtd += "\">\n";
  }
  WriteFile(dir / "bomb.xml", "<?xml version=\"1.0\"?>\n<!DOCTYPE r [\n" + dtd + "]>\n<r a=\"&l9;\">&l9;</r>\n");
  xmlNode* root = nullptr;
  const TDOMDocument doc = LoadDOMDocument(dir / "bomb.xml", root);
  // Refused, or kept as references: never a document of billions of characters.
  if (root != nullptr) {
    EXPECT_LT(DOMAttribute(root, "a").value_or("").size(), 1000000u);
  }
}

TEST(DOMDocument, SchemaEnumerationValues) {
  TempDir dir;
  WriteFile(dir / "s.xsd",
            "<s:schema xmlns:s=\"http://www.w3.org/2001/XMLSchema\" xmlns:o=\"urn:other\">\n"
            "  <s:simpleType name=\"Пустой\"><s:restriction base=\"s:string\"/></s:simpleType>\n"
            "  <o:simpleType name=\"Т\"><o:restriction><o:enumeration value=\"чужой\"/></o:restriction></o:simpleType>\n"
            "  <s:complexType name=\"Т\"/>\n"
            "  <s:simpleType name=\"Т\">\n"
            "    <s:restriction base=\"s:string\">\n"
            "      <s:enumeration value=\"В\"/><s:enumeration value=\"А\"/><s:enumeration value=\"Б\"/>\n"
            "    </s:restriction>\n"
            "  </s:simpleType>\n"
            "</s:schema>\n");
  WriteFile(dir / "not-schema.xml",
            "<schema><simpleType name=\"Т\"><restriction><enumeration value=\"А\"/></restriction></simpleType>"
            "</schema>");
  xmlNode* root = nullptr;
  const TDOMDocument doc = LoadDOMDocument(dir / "s.xsd", root);
  ASSERT_NE(root, nullptr);
  EXPECT_EQ(SchemaEnumerationValues(root, "Т"), (std::vector<std::string>{"В", "А", "Б"}));
  EXPECT_EQ(SchemaEnumerationValues(root, "Пустой"), std::vector<std::string>{});
  EXPECT_EQ(SchemaEnumerationValues(root, "Нет"), std::nullopt);
  EXPECT_EQ(SchemaEnumerationValues(nullptr, "Т"), std::nullopt);

  xmlNode* otherRoot = nullptr;
  const TDOMDocument other = LoadDOMDocument(dir / "not-schema.xml", otherRoot);
  ASSERT_NE(otherRoot, nullptr);
  EXPECT_EQ(SchemaEnumerationValues(otherRoot, "Т"), std::nullopt);
}

}  // namespace
}  // namespace morvel

#include <libxml/globals.h>

#include "xml/my_parser.h"

#include <gtest/gtest.h>
#include <unicode/unistr.h>

#include <functional>
#include <string>

#include "base/encoding.h"
#include "xml/node_access.h"
#include "xml_test_util.h"

namespace morvel {
namespace {

using test::ParseText;
using test::TempDir;
using test::WriteFile;

// Every text, name and attribute value of the tree, to look for leaked content.
void CollectTexts(TMyNode* node, std::string& out) {
  out += std::string(node->NodeName()) + "|" + std::string(node->text()) + "|";
  for (TMyNode* child : node->ChildNodes()) CollectTexts(child, out);
}

TEST(MyParser, LineNumbersFollowOneElementPerLine) {
  for (const std::string eol : {"\n", "\r\n"}) {
    const std::string doc = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>" + eol + "<R>" + eol + "  <A>1</A>" + eol +
                            "  <B/>" + eol + "  <C>" + eol + "    <D x=\"1\">t</D>" + eol + "  </C>" + eol +
                            "  <E></E>" + eol + "  <A>2</A>" + eol + "</R>" + eol;
    auto root = ParseText(doc);
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(root->LineNumber, 2);
    EXPECT_EQ(root->SelectNodes("A")[0]->LineNumber, 3);
    EXPECT_EQ(root->SelectSingleNode("B")->LineNumber, 4);
    EXPECT_EQ(root->SelectSingleNode("C")->LineNumber, 5);
    EXPECT_EQ(root->GetElementsByTagName("D")[0]->LineNumber, 6);
    EXPECT_EQ(root->SelectSingleNode("E")->LineNumber, 8);
    EXPECT_EQ(root->SelectNodes("A")[1]->LineNumber, 9);
    EXPECT_EQ(root->GetElementsByTagName("D")[0]->text(), "t");
    EXPECT_EQ(root->SelectSingleNode("C")->text(), "");
  }
}

// A location shown to the user must point at the element's start tag whatever
// came before it: blank lines, texts and CDATA sections of several lines, a tag
// whose attributes span lines, no declaration at all.
TEST(MyParser, LineNumberIsTheLineOfTheStartTag) {
  auto root = ParseText("<?xml version=\"1.0\"?>\n<R>\n\n\n<A/>\n</R>");
  ASSERT_NE(root, nullptr);
  EXPECT_EQ(root->SelectSingleNode("A")->LineNumber, 5);

  root = ParseText(
      "<?xml version=\"1.0\"?>\n"  // 1
      "<R>\n"                       // 2
      "  <Note><![CDATA[first\n"    // 3
      "second\n"                    // 4
      "third]]></Note>\n"           // 5
      "  <X/>\n"                    // 6
      "  <Text>a\n"                 // 7
      "b</Text>\n"                  // 8
      "  <Y/>\n"                    // 9
      "  <Z a=\"1\"\n"              // 10
      "     b=\">\"/>\n"             // 11
      "</R>\n");
  ASSERT_NE(root, nullptr);
  EXPECT_EQ(root->LineNumber, 2);
  EXPECT_EQ(root->SelectSingleNode("Note")->LineNumber, 3);
  EXPECT_EQ(root->SelectSingleNode("X")->LineNumber, 6);
  EXPECT_EQ(root->SelectSingleNode("Text")->LineNumber, 7);
  EXPECT_EQ(root->SelectSingleNode("Y")->LineNumber, 9);
  EXPECT_EQ(root->SelectSingleNode("Z")->LineNumber, 10);
  EXPECT_EQ(root->SelectSingleNode("Note")->text(), "first\r\nsecond\r\nthird");

  root = ParseText("<R><A/>\n<B/></R>");
  ASSERT_NE(root, nullptr);
  EXPECT_EQ(root->LineNumber, 1);
  EXPECT_EQ(root->SelectSingleNode("A")->LineNumber, 1);
  EXPECT_EQ(root->SelectSingleNode("B")->LineNumber, 2);
}

TEST(MyParser, TextIsTheTrimmedLastRunWithPiecesJoined) {
  auto root = ParseText(
      "<?xml version=\"1.0\"?>\n"
      "<!DOCTYPE R [<!ENTITY org \"ООО &#34;Ромашка&#34;\">]>\n"
      "<R>\n"
      "<P>x &amp; y</P>\n"
      "<Q>  x\n</Q>\n"
      "<A>t<B/>\n</A>\n"
      "<K>t<B/></K>\n"
      "<S>x<![CDATA[ & <b> ]]>y</S>\n"
      "<T>\n  <![CDATA[v]]>\n</T>\n"
      "<U>x<!-- note -->y<?pi data?>z</U>\n"
      "<V>&#x410;&#1041;&#9;</V>\n"
      "<W>&org;</W>\n"
      "<X>&lt;&gt;&apos;&quot;</X>\n"
      "<Y>\n  x\r\ny\nz\rw\n</Y>\n"
      "</R>\n");
  ASSERT_NE(root, nullptr);
  EXPECT_EQ(ChildText(root.get(), "P"), "x & y");
  EXPECT_EQ(ChildText(root.get(), "Q"), "x");
  // The run after the child replaces the run before it.
  EXPECT_EQ(ChildText(root.get(), "A"), "");
  EXPECT_NE(root->SelectSingleNode("A")->SelectSingleNode("B"), nullptr);
  EXPECT_EQ(ChildText(root.get(), "K"), "t");
  // CDATA sections, comments and processing instructions do not cut the text.
  EXPECT_EQ(ChildText(root.get(), "S"), "x & <b> y");
  EXPECT_EQ(ChildText(root.get(), "T"), "v");
  EXPECT_EQ(ChildText(root.get(), "U"), "xyz");
  EXPECT_EQ(ChildText(root.get(), "V"), "АБ");
  EXPECT_EQ(ChildText(root.get(), "W"), "ООО \"Ромашка\"");
  EXPECT_EQ(ChildText(root.get(), "X"), "<>'\"");
  // Line breaks inside a text come as CR LF, however the file wrote them.
  EXPECT_EQ(ChildText(root.get(), "Y"), "x\r\ny\r\nz\r\nw");
  EXPECT_EQ(root->text(), "");
}

TEST(MyParser, AttributesKeepTheirWrittenNames) {
  auto root = ParseText(
      "<?xml version=\"1.0\"?>\n"
      "<!DOCTYPE ЕФС:Root [<!ENTITY e \"развёрнуто\">]>\n"
      "<ЕФС:Root xmlns:ЕФС=\"urn:efs\" xmlns=\"urn:default\" xmlns:xsi=\"urn:xsi\" xsi:type=\"Тип\""
      " a=\"1 &lt; 2\" b='&e;' c=\"&#1040;\">\n"
      "<Item id=\"7\"/>\n"
      "</ЕФС:Root>\n");
  ASSERT_NE(root, nullptr);
  const TMyAttribs at = root->Attributes();
  EXPECT_EQ(at.Count(), 7);
  ASSERT_NE(at.getNamedItem("xmlns:ЕФС"), nullptr);
  EXPECT_EQ(at.getNamedItem("xmlns:ЕФС")->text(), "urn:efs");
  ASSERT_NE(at.getNamedItem("xmlns"), nullptr);
  EXPECT_EQ(at.getNamedItem("xmlns")->text(), "urn:default");
  EXPECT_EQ(at.getNamedItem("xsi:type")->text(), "Тип");
  EXPECT_EQ(at.getNamedItem("type"), nullptr);
  EXPECT_EQ(at.getNamedItem("a")->text(), "1 < 2");
  EXPECT_EQ(at.getNamedItem("b")->text(), "развёрнуто");
  EXPECT_EQ(at.getNamedItem("c")->text(), "А");
  // Unprefixed children of a default namespace keep their plain names.
  ASSERT_NE(root->SelectSingleNode("Item"), nullptr);
  EXPECT_EQ(root->SelectSingleNode("Item")->Attributes().getNamedItem("id")->text(), "7");
}

TEST(MyParser, EntitiesWithElementsAddElements) {
  auto root = ParseText(
      "<?xml version=\"1.0\"?>\n<!DOCTYPE R [<!ENTITY block \"<Я a='&#1041;'>1</Я><Я>2</Я>\">]>\n"
      "<R>&block;<Ю/>&block;</R>");
  ASSERT_NE(root, nullptr);
  const TMyNodeList& ya = root->SelectNodes("Я");
  ASSERT_EQ(ya.size(), 4u);
  EXPECT_EQ(ya[3]->text(), "2");
  EXPECT_EQ(ya[3]->GetXPath(), "/R/Я[4]");
  EXPECT_EQ(ya[2]->Attributes().getNamedItem("a")->text(), "Б");
  EXPECT_EQ(root->GetElementsByTagName("Я").size(), 4u);
  EXPECT_NE(root->SelectSingleNode("Ю"), nullptr);
}

TEST(MyParser, ReadingStopsAfterTheRootElement) {
  auto root = ParseText("<R><A>1</A></R>\nextra text <junk");
  ASSERT_NE(root, nullptr);
  EXPECT_EQ(root->SelectNodes("A").size(), 1u);
  auto first = ParseText("<R/><S><T/></S>");
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(first->NodeName(), "R");
  EXPECT_TRUE(first->ChildNodes().empty());
}

std::string Utf16(const std::string& utf8, bool bigEndian) {
  const icu::UnicodeString u = icu::UnicodeString::fromUTF8(utf8);
  std::string out = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
  for (int32_t i = 0; i < u.length(); ++i) {
    const char16_t c = u.charAt(i);
    const char hi = static_cast<char>(c >> 8);
    const char lo = static_cast<char>(c & 0xFF);
    out += bigEndian ? hi : lo;
    out += bigEndian ? lo : hi;
  }
  return out;
}

// A calling system reads the program's standard error as its own: bytes the
// declared encoding lacks, or a byte-order mark that contradicts the declaration,
// must not make libxml2 print there. Such a document ends where the bad byte
// stands, like any other that is not well-formed.
TEST(MyParser, EncodingFaultsStayOffStandardErrorAndEndTheDocument) {
  ::testing::internal::CaptureStderr();
  auto unknownByte = ParseText("<?xml version=\"1.0\" encoding=\"windows-1251\"?>\n<R><A>x\x98y</A><B>z</B></R>\n");
  auto badUtf8 = ParseText("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<R><A>x\xff\xfey</A><B>z</B></R>\n");
  auto markAgainstDeclaration =
      ParseText("\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"windows-1251\"?>\n<R><A>\xd0\x90</A></R>\n");
  auto utf16MarkUtf8Declared = ParseText(Utf16("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<R><A>Ё</A></R>", false));
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");

  ASSERT_NE(unknownByte, nullptr);
  EXPECT_EQ(unknownByte->SelectSingleNode("B"), nullptr);
  ASSERT_NE(badUtf8, nullptr);
  EXPECT_EQ(badUtf8->SelectSingleNode("B"), nullptr);
  // The mark tells how the bytes were written; the declaration cannot overrule it.
  ASSERT_NE(markAgainstDeclaration, nullptr);
  EXPECT_EQ(markAgainstDeclaration->SelectSingleNode("A")->text(), "А");
  ASSERT_NE(utf16MarkUtf8Declared, nullptr);
  EXPECT_EQ(utf16MarkUtf8Declared->SelectSingleNode("A")->text(), "Ё");

  // The process-wide handlers are back once the reading is over.
  ::testing::internal::CaptureStderr();
  xmlGenericError(xmlGenericErrorContext, "visible\n");
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), "visible\n");
}

TEST(MyParser, DocumentEncodings) {
  const auto make = [](const std::string& encoding) {
    return "<?xml version=\"1.0\" encoding=\"" + encoding +
           "\"?>\n<Корень атр=\"значение №1\">\n<Имя>Пётр Ёлкин</Имя>\n</Корень>\n";
  };
  struct Case {
    std::string name;
    std::string bytes;
  };
  const Case cases[] = {
      {"utf-8", make("UTF-8")},
      {"utf-8 with mark", "\xEF\xBB\xBF" + make("UTF-8")},
      {"no declaration", "<Корень атр=\"значение №1\">\n\n<Имя>Пётр Ёлкин</Имя>\n</Корень>"},
      {"utf-16le", Utf16(make("UTF-16"), false)},
      {"utf-16be", Utf16(make("UTF-16"), true)},
      {"windows-1251", Utf8ToCp1251(make("windows-1251"))},
      {"WINDOWS-1251", Utf8ToCp1251(make("WINDOWS-1251"))},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto root = ParseText(c.bytes);
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(root->NodeName(), "Корень");
    ASSERT_NE(root->Attributes().getNamedItem("атр"), nullptr);
    EXPECT_EQ(root->Attributes().getNamedItem("атр")->text(), "значение №1");
    TMyNode* name = root->SelectSingleNode("Имя");
    ASSERT_NE(name, nullptr);
    EXPECT_EQ(name->text(), "Пётр Ёлкин");
    EXPECT_EQ(name->LineNumber, 3);
  }
}

TEST(MyParser, BrokenDocumentsGiveTheTreeSoFar) {
  // Cut in the middle of an element's text.
  auto cut = ParseText("<?xml version=\"1.0\"?>\n<R>\n<A>1</A>\n<B><C>2</C></B>\n<D>tru");
  ASSERT_NE(cut, nullptr);
  EXPECT_EQ(ChildText(cut.get(), "A"), "1");
  EXPECT_EQ(cut->GetElementsByTagName("C")[0]->text(), "2");
  ASSERT_NE(cut->SelectSingleNode("D"), nullptr);
  EXPECT_EQ(cut->SelectSingleNode("D")->text(), "");

  // A repeated attribute ends the document before its element.
  auto repeated = ParseText("<R><A>1</A><B x=\"1\" x=\"2\">2</B><C>3</C></R>");
  ASSERT_NE(repeated, nullptr);
  EXPECT_EQ(repeated->SelectNodes("A").size(), 1u);
  EXPECT_TRUE(repeated->SelectNodes("B").empty());
  EXPECT_TRUE(repeated->SelectNodes("C").empty());

  // An undeclared entity and bytes that are not UTF-8 end it too.
  auto undeclared = ParseText("<R><A>1</A><B>&nothing;</B><C/></R>");
  ASSERT_NE(undeclared, nullptr);
  EXPECT_EQ(undeclared->SelectNodes("A").size(), 1u);
  EXPECT_TRUE(undeclared->SelectNodes("C").empty());
  auto badBytes = ParseText("<?xml version=\"1.0\" encoding=\"UTF-8\"?><R><A>1</A><B>\xFF\xFE</B><C/></R>");
  ASSERT_NE(badBytes, nullptr);
  EXPECT_EQ(badBytes->SelectNodes("A").size(), 1u);
  EXPECT_TRUE(badBytes->SelectNodes("C").empty());

  // Nothing that is an element at all.
  EXPECT_EQ(ParseText("just some text, not a document"), nullptr);
  EXPECT_EQ(ParseText(std::string("\x00\x01\x02\x89PNG\r\n", 9)), nullptr);
  EXPECT_EQ(ParseText(""), nullptr);
  EXPECT_EQ(ParseText("<?xml version=\"1.0\"?>\n<!-- only a comment -->\n"), nullptr);

  TempDir dir;
  EXPECT_EQ(LoadXMLTree((dir / "missing.xml").string()), nullptr);
  EXPECT_EQ(LoadXMLTree(dir.path().string()), nullptr);  // a folder
  EXPECT_EQ(LoadXMLTree(""), nullptr);
}

TEST(MyParser, EntityExpansionBombIsRefused) {
  std::string doc = "<?xml version=\"1.0\"?>\n<!DOCTYPE R [\n<!ENTITY l0 \"lol\">\n";
  for (int i = 1; i <= 9; ++i) {
    doc += "<!ENTITY l" + std::to_string(i) + " \"";
    for (int k = 0; k < 10; ++k) doc += "&l" + std::to_string(i - 1) + ";";
    doc += "\">\n";
  }
  doc += "]>\n<R><A>ok</A><B>&l9;</B><C/></R>\n";
  auto root = ParseText(doc);
  ASSERT_NE(root, nullptr);
  EXPECT_EQ(ChildText(root.get(), "A"), "ok");
  // The expansion is cut off long before its three thousand million characters.
  TMyNode* b = root->SelectSingleNode("B");
  if (b != nullptr) {
    EXPECT_LT(b->text().size(), 100u * 1000 * 1000);
  }
  EXPECT_EQ(root->SelectSingleNode("C"), nullptr);

  // Many references to one large entity, each of them harmless on its own.
  std::string wide = "<?xml version=\"1.0\"?>\n<!DOCTYPE R [<!ENTITY big \"" + std::string(100000, 'x') + "\">]>\n<R>";
  for (int i = 0; i < 20000; ++i) wide += "<T>&big;</T>";
  wide += "<End/></R>";
  auto wideRoot = ParseText(wide);
  ASSERT_NE(wideRoot, nullptr);
  EXPECT_EQ(wideRoot->SelectSingleNode("End"), nullptr);
  EXPECT_LT(wideRoot->SelectNodes("T").size(), 20000u);

  // The same with elements instead of text.
  std::string many = "<?xml version=\"1.0\"?>\n<!DOCTYPE R [<!ENTITY els \"";
  for (int i = 0; i < 10000; ++i) many += "<e/>";
  many += "\">]>\n<R>";
  for (int i = 0; i < 2000; ++i) many += "<T>&els;</T>";
  many += "<End/></R>";
  auto manyRoot = ParseText(many);
  ASSERT_NE(manyRoot, nullptr);
  EXPECT_EQ(manyRoot->SelectSingleNode("End"), nullptr);
  EXPECT_LT(manyRoot->GetElementsByTagName("e").size(), 10000u * 2000u);

  // A dense document of tiny elements is no attack.
  std::string dense = "<R>";
  for (int i = 0; i < 200000; ++i) dense += "<a/>";
  dense += "<End/></R>";
  auto denseRoot = ParseText(dense);
  ASSERT_NE(denseRoot, nullptr);
  EXPECT_NE(denseRoot->SelectSingleNode("End"), nullptr);
}

TEST(MyParser, ExternalEntitiesAreNeverLoaded) {
  TempDir dir;
  const auto secret = dir / "secret.txt";
  WriteFile(secret, "SECRET-TEXT");
  const auto dtd = dir / "secret.dtd";
  WriteFile(dtd, "<!ENTITY leak \"SECRET-DTD\">");
  const std::string secretUri = "file://" + secret.string();
  const std::string dtdUri = "file://" + dtd.string();

  // A general entity: the reference expands to nothing, the rest is read.
  auto general = ParseText("<?xml version=\"1.0\"?>\n<!DOCTYPE R [<!ENTITY ext SYSTEM \"" + secretUri +
                           "\">]>\n<R><A>[&ext;]</A><B>after</B></R>");
  ASSERT_NE(general, nullptr);
  EXPECT_EQ(ChildText(general.get(), "A"), "[]");
  EXPECT_EQ(ChildText(general.get(), "B"), "after");

  // A parameter entity and an external document type declaration are not read.
  auto parameter = ParseText("<?xml version=\"1.0\"?>\n<!DOCTYPE R [<!ENTITY % pe SYSTEM \"" + dtdUri +
                             "\"> %pe;]>\n<R><A>&leak;</A><B>after</B></R>");
  auto external = ParseText("<?xml version=\"1.0\"?>\n<!DOCTYPE R SYSTEM \"" + dtdUri +
                            "\">\n<R><A>&leak;</A><B>after</B></R>");
  for (TMyNode* root : {general.get(), parameter.get(), external.get()}) {
    if (root == nullptr) continue;
    std::string all;
    CollectTexts(root, all);
    EXPECT_EQ(all.find("SECRET"), std::string::npos) << all;
  }
}

}  // namespace
}  // namespace morvel

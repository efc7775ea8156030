#include <gtest/gtest.h>

#include "lxpo/PoFile.h"
#include "lxpo/XmlText.h"
#include "support/Raised.h"

namespace lx::tools {
namespace {

TEST(XmlTextTest, EscapesWhatXmlWouldReadOtherwise) {
  for (const auto& [text, attribute, escaped] :
       {std::tuple<std::string, bool, std::string>{"a & <b> \"c\"", false,
                                                   "a &amp; &lt;b&gt; \"c\""},
        {"a & \"c\"", true, "a &amp; &quot;c&quot;"},
        {"one\r\ntwo\tthree", false, "one&#13;\ntwo\tthree"},
        {"one\r\ntwo\tthree", true, "one&#13;&#10;two&#9;three"},
        {"Größe 日本", false, "Größe 日本"}})
    EXPECT_EQ(XmlEscaped(text, attribute), escaped);
  EXPECT_RAISES(XmlEscaped("bell\a"), PoError,
                "a text with the control character U+0007 cannot be written to an XML file");
}

TEST(XmlTextTest, ReferencesAndUnitIds) {
  std::string file;
  std::string line;
  for (const auto& [reference, wantFile, wantLine] :
       {std::tuple<std::string, std::string, std::string>{"MainForm.lxfm:12", "MainForm.lxfm",
                                                          "12"},
        {"MainForm.dfm", "MainForm.dfm", ""},
        {"SystemMenu:SC_CLOSE", "SystemMenu:SC_CLOSE", ""},
        {"c:/forms/x.lxfm:3", "c:/forms/x.lxfm", "3"},
        {"odd:", "odd:", ""}}) {
    SplitReference(reference, file, line);
    EXPECT_EQ(file, wantFile);
    EXPECT_EQ(line, wantLine);
  }
  UnitIds ids;
  EXPECT_EQ(ids.Next("TForm|Items"), "TForm|Items");
  EXPECT_EQ(ids.Next("TForm|Items"), "TForm|Items#2");
  EXPECT_EQ(ids.Next(""), "#1");
  EXPECT_EQ(ids.Next(""), "#2");
  EXPECT_EQ(ids.Next("TForm|"), "TForm|");
}

}  // namespace
}  // namespace lx::tools

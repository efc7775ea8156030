#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/rtti/TypInfo.h"
#include "framework/streaming/StandIns.h"
#include "framework/streaming/TolerantForm.h"
#include "samples/FormSamples.h"
#include "support/Raised.h"

namespace lx::framework {
namespace {

using Bytes = std::vector<std::uint8_t>;
using support::TSampleForm;
using support::TSampleWidget;

// Designers' forms: unknown classes and properties, events without methods, references to no
// component, collections, lists, binary data, a non-visual component's position, layouts
// that this project's printer would not write (a split string, a float without digits).
constexpr char kForm[] =
    "object Form1: TSampleForm\n"
    "  Caption = 'Main'\n"
    "  LCLVersion = '2.0'\n"
    "  OnCreate = FormCreate\n"
    "  object Widget1: TSampleWidget\n"
    "    Left = 300\n"
    "    Top = 8\n"
    "    Caption = \n"
    "      'first part, ' +\n"
    "      'second part'\n"
    "    Buddy = Nowhere\n"
    "    OnPing = Missing\n"
    "    Anchors = [akLeft, akTop]\n"
    "    Lines.Strings = (\n"
    "      'one'\n"
    "      'two')\n"
    "  end\n"
    "  object Grid1: TUnknownGrid\n"
    "    Max = 2.\n"
    "    Hint = 'A grid'\n"
    "    Title = 'Привет'\n"
    "    Picture.Data = {0A0B}\n"
    "    Items.Strings = (\n"
    "      'a'\n"
    "      'b')\n"
    "    Columns = <\n"
    "      item\n"
    "        Caption = 'Col'\n"
    "        Width = 40\n"
    "      end>\n"
    "    object Label1: TUnknownLabel\n"
    "      Caption = 'Inside'\n"
    "    end\n"
    "  end\n"
    "end\n";

class TolerantFormTest : public ::testing::Test {
 protected:
  void SetUp() override { support::RegisterFormSamples(); }

  std::unique_ptr<TTolerantForm> Read(const std::string& text, TSampleForm& root) {
    auto form = TTolerantForm::FromText(text);
    form->ReadInto(root);
    form->Snapshot();
    return form;
  }
};

TEST_F(TolerantFormTest, UnchangedFormsComeBackByteForByte) {
  TSampleForm root(nullptr);
  auto form = Read(kForm, root);
  EXPECT_EQ(form->ChangedValues(), 0);
  EXPECT_EQ(form->WriteText(), kForm);
  // The binary form of the same, bare and behind a resource header.
  const Bytes bare = FormTextToBinary(kForm);
  Bytes withHeader = {0xFF, 0x0A, 0x00, 'F', 0, 0x30, 0x10};
  for (int i = 0; i < 4; ++i)
    withHeader.push_back(static_cast<std::uint8_t>(bare.size() >> (8 * i)));
  withHeader.insert(withHeader.end(), bare.begin(), bare.end());
  for (const Bytes& bytes : {bare, withHeader}) {
    TSampleForm binaryRoot(nullptr);
    auto binary = TTolerantForm::FromSource(bytes);
    binary->ReadInto(binaryRoot);
    binary->Snapshot();
    EXPECT_EQ(binary->Write(), bytes);
  }
}

TEST_F(TolerantFormTest, WhatTheProgramLacksIsKeptAndStandInsShowTheirTexts) {
  TSampleForm root(nullptr);
  auto form = Read(kForm, root);
  std::vector<std::string> kept;
  for (const TKeptValue& value : form->Kept())
    kept.push_back(value.path);
  EXPECT_EQ(kept,
            (std::vector<std::string>{"LCLVersion", "OnCreate", "OnPing", "Anchors", "Buddy"}));
  auto* widget = static_cast<TSampleWidget*>(root.FindComponent("Widget1"));
  EXPECT_EQ(widget->DesignLeft(), 300);
  EXPECT_EQ(widget->DesignTop(), 8);
  EXPECT_EQ(widget->caption, "first part, second part");

  auto* grid = dynamic_cast<TStandInComponent*>(root.FindComponent("Grid1"));
  ASSERT_NE(grid, nullptr);
  EXPECT_EQ(grid->ClassName(), "TUnknownGrid");
  EXPECT_EQ(GetStrProp(*grid, "Hint"), "A grid");
  EXPECT_EQ(GetWideStrProp(*grid, "Title"), u"Привет");
  auto* items = dynamic_cast<TStrings*>(GetObjectProp(*grid, "Items"));
  ASSERT_NE(items, nullptr);
  EXPECT_EQ(items->Count(), 2);
  auto* columns = dynamic_cast<TCollection*>(GetObjectProp(*grid, "Columns"));
  ASSERT_NE(columns, nullptr);
  EXPECT_EQ(GetStrProp(*columns->Items(0), "Caption"), "Col");
  EXPECT_EQ(GetPropInfo(*grid, "Max"), nullptr);  // kept as bytes, not shown
  std::vector<std::string> children;
  grid->GetChildren([&](TComponent* child) { children.push_back(child->Name()); }, &root);
  EXPECT_EQ(children, std::vector<std::string>{"Label1"});
}

TEST_F(TolerantFormTest, ChangedTextsAloneAreWrittenAnew) {
  TSampleForm root(nullptr);
  auto form = Read(kForm, root);
  auto* grid = root.FindComponent("Grid1");
  static_cast<TSampleWidget*>(root.FindComponent("Widget1"))->caption = "Neu";
  SetStrProp(*grid, "Hint", "Ein Gitter");
  static_cast<TStrings*>(GetObjectProp(*grid, "Items"))->SetStrings(1, "B");
  root.caption = "";  // back to the default: no longer stored
  EXPECT_EQ(form->ChangedValues(), 4);
  std::string expected = kForm;
  const auto replace = [&](const std::string& from, const std::string& to) {
    expected.replace(expected.find(from), from.size(), to);
  };
  replace("  Caption = 'Main'\n", "");
  replace("Caption = \n      'first part, ' +\n      'second part'", "Caption = 'Neu'");
  replace("Hint = 'A grid'", "Hint = 'Ein Gitter'");
  replace("      'a'\n      'b')", "      'a'\n      'B')");
  EXPECT_EQ(form->WriteText(), expected);
  // The binary written is the binary of that text, and so is a binary source's.
  EXPECT_EQ(form->WriteBinary(), FormTextToBinary(expected));
  TSampleForm binaryRoot(nullptr);
  auto binary = TTolerantForm::FromSource(FormTextToBinary(kForm));
  binary->ReadInto(binaryRoot);
  binary->Snapshot();
  static_cast<TSampleWidget*>(binaryRoot.FindComponent("Widget1"))->caption = "Neu";
  std::string widgetOnly = kForm;
  widgetOnly.replace(widgetOnly.find("Caption = \n      'first part, ' +\n      'second part'"),
                     std::string("Caption = \n      'first part, ' +\n      'second part'").size(),
                     "Caption = 'Neu'");
  EXPECT_EQ(binary->Write(), FormTextToBinary(widgetOnly));
}

TEST_F(TolerantFormTest, ANewValueGoesAfterTheStoredOnes) {
  TSampleForm root(nullptr);
  auto form =
      Read("object Form1: TSampleForm\n  object Widget1: TSampleWidget\n  end\nend\n", root);
  static_cast<TSampleWidget*>(root.FindComponent("Widget1"))->count = 3;
  root.caption = "Main";
  EXPECT_EQ(form->WriteText(),
            "object Form1: TSampleForm\n  Caption = 'Main'\n  object Widget1: TSampleWidget\n"
            "    Count = 3\n  end\nend\n");
}

TEST_F(TolerantFormTest, TextInACodePageComesBackInIt) {
  const std::string text = "object Form1: TSampleForm\n  Caption = 'Gr\xFC\xDF'\nend\n";
  TSampleForm root(nullptr);
  auto form = TTolerantForm::FromText(text, 1252);
  form->ReadInto(root);
  form->Snapshot();
  EXPECT_EQ(form->WriteText(), text);
  root.caption = "\xC4";  // 8-bit text as the framework holds it
  EXPECT_EQ(form->WriteText(), "object Form1: TSampleForm\n  Caption = #196\nend\n");
}

TEST_F(TolerantFormTest, BrokenSourcesRaise) {
  TSampleForm root(nullptr);
  EXPECT_RAISES(TTolerantForm::FromBinary({0xFF, 0x0A, 0x00, 'F', 0, 0x30, 0x10, 9, 0, 0, 0}),
                platform::EReadError, "Stream read error");
  EXPECT_RAISES(TTolerantForm::FromText("object Form1: TSampleForm\n"), EParserError,
                "'end' expected on line 2, column 1");
  Bytes cut = FormTextToBinary(kForm);
  cut.resize(cut.size() / 2);
  EXPECT_RAISES(TTolerantForm::FromBinary(cut)->ReadInto(root), platform::EReadError,
                "Stream read error");
}

}  // namespace
}  // namespace lx::framework

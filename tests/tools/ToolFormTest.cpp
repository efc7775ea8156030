#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "formtools/ToolForm.h"
#include "framework/rtti/TypInfo.h"
#include "support/TempFolder.h"
#include "toolfiles/ToolFiles.h"
#include "translator/LxPoly.h"

namespace lx::tools {
namespace {

class ToolFormTest : public ::testing::Test {
 protected:
  std::string Write(const std::string& name, const std::string& text) {
    const std::string path = (folder_.Path() / name).string();
    std::ofstream(path, std::ios::binary) << text;
    return path;
  }
  std::unique_ptr<TToolForm> Read(const std::string& path, TFormOptions options = {}) {
    return std::make_unique<TToolForm>(path, ReadInputFile(path), options);
  }

  support::TempFolder folder_;
};

constexpr char kBase[] =
    "object BaseForm: TBaseForm\n  Caption = 'Base'\n"
    "  object OkButton: TButton\n    Caption = 'OK'\n  end\nend\n";
constexpr char kDerived[] =
    "inherited DerivedForm: TDerivedForm\n  Caption = 'Derived'\n"
    "  inherited OkButton: TButton\n    Hint = 'Accept'\n  end\nend\n";

TEST_F(ToolFormTest, AnInheritedFormFindsItsAncestorByTheUnitBesideIt) {
  Write("base.lfm", kBase);
  const std::string derived = Write("derived.lfm", kDerived);
  Write("derived.pas", "type\n  TDerivedForm = class(TBaseForm)\n  end;\n");
  auto form = Read(derived);
  EXPECT_TRUE(form->Notes().empty());
  framework::TComponent* ok = form->Root().FindComponent("OkButton");
  ASSERT_NE(ok, nullptr);
  EXPECT_EQ(framework::GetStrProp(*ok, "Caption"), "OK");  // from the ancestor
  EXPECT_EQ(framework::GetStrProp(*ok, "Hint"), "Accept");
  EXPECT_EQ(form->Form().WriteText(), kDerived);
}

TEST_F(ToolFormTest, WithoutItsAncestorAnInheritedFormIsReadAsItStands) {
  auto form = Read(Write("derived.lfm", kDerived));
  EXPECT_EQ(form->Notes(), std::vector<std::string>{
                               "the ancestor of TDerivedForm is missing (give its form with "
                               "--ancestor): its inherited components are read as they stand"});
  EXPECT_NE(form->Root().FindComponent("OkButton"), nullptr);
  EXPECT_EQ(form->Form().WriteText(), kDerived);
}

TEST_F(ToolFormTest, AFrameIsReadFromItsOwnForm) {
  Write("frame.lfm",
        "object Frame1: TAddressFrame\n  object StreetLabel: TLabel\n"
        "    Caption = 'Street'\n  end\nend\n");
  const std::string text =
      "object Main: TMainForm\n  inline Address: TAddressFrame\n"
      "    inherited StreetLabel: TLabel\n      Hint = 'Where'\n    end\n  end\nend\n";
  auto form = Read(Write("main.lfm", text));
  framework::TComponent* frame = form->Root().FindComponent("Address");
  ASSERT_NE(frame, nullptr);
  framework::TComponent* label = frame->FindComponent("StreetLabel");
  ASSERT_NE(label, nullptr);
  EXPECT_EQ(framework::GetStrProp(*label, "Caption"), "Street");
  EXPECT_EQ(form->Form().WriteText(), text);
}

// The defaults serve the pass and leave no trace in the translator's stored settings.
TEST_F(ToolFormTest, TheToolsPassTakesTheDefaultTargetsAndLeavesTheTranslatorAsStored) {
  const std::string text =
      "object Main: TMainForm\n  Caption = 'Main'\n"
      "  object Translator1: TLxTranslator\n    Left = 300\n    Top = 8\n  end\nend\n";
  auto form = Read(Write("main.lfm", text));
  translator::TLxTranslator& formTranslator = form->Translator();
  EXPECT_EQ(formTranslator.DesignLeft(), 300);
  form->TranslateTexts();
  EXPECT_EQ(formTranslator.Targets()->Count(), 0);
  EXPECT_EQ(formTranslator.Options(), translator::kLxDefaultTranslatorOptions);
  EXPECT_EQ(form->Form().WriteText(), text);
}

TEST_F(ToolFormTest, DfmTextIsReadInItsCodePage) {
  const std::string dfm = Write("f.dfm", "object F: TF\n  Caption = 'Gr\xFC\xDF'\nend\n");
  EXPECT_EQ(TextCodePageOf(dfm, ReadInputFile(dfm), {}), 1252u);
  EXPECT_EQ(TextCodePageOf(dfm, {0xEF, 0xBB, 0xBF}, {}), platform::CP_UTF8);
  EXPECT_EQ(TextCodePageOf("f.lfm", {}, {}), platform::CP_UTF8);
  EXPECT_EQ(TextCodePageOf("f.lfm", {}, {936, {}}), 936u);
  auto form = Read(dfm);
  EXPECT_EQ(framework::GetStrProp(form->Root(), "Caption"), "Gr\xFC\xDF");
}

}  // namespace
}  // namespace lx::tools

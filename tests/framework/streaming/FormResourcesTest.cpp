#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "framework/rtti/TypInfo.h"
#include "framework/streaming/Filer.h"
#include "framework/streaming/FormResources.h"
#include "framework/streaming/TextForm.h"
#include "samples/FormSamples.h"
#include "support/FixedSystem.h"

namespace lx::framework {
namespace {

using support::TSampleForm;
using support::TSampleForm2;
using support::TSampleItem;
using support::TSampleWidget;

// The text of a sample form, linked beside its compiled resource.
std::string FormText(const char* name) {
  const auto bytes = platform::FindResource(platform::MainModule(), "TEXTFORM", name);
  return bytes ? std::string(bytes->begin(), bytes->end()) : std::string();
}

std::string WrittenText(TComponent& root, TComponent* ancestor = nullptr) {
  TMemoryStream stream;
  WriteComponentTo(stream, root, ancestor);
  return FormBinaryToText(stream.Bytes());
}

class FormResourcesTest : public testing::Test {
 protected:
  void SetUp() override {
    support::RegisterFormSamples();
    support::LoadedLog().clear();
  }
  support::FixedSystem system_;
};

TEST_F(FormResourcesTest, AFormIsFoundByItsClassNameInAnyCase) {
  EXPECT_TRUE(HasFormResource(platform::MainModule(), "TSampleForm"));
  EXPECT_TRUE(HasFormResource(platform::MainModule(), "tsampleform2"));
  EXPECT_FALSE(HasFormResource(platform::MainModule(), "TSampleWidget"));
  const auto stream = FindFormResource(platform::MainModule(), "TSampleForm");
  TReader reader(*stream, 4096);
  reader.ReadSignature();
  try {
    FindFormResource(platform::MainModule(), "TNoForm");
    FAIL() << "no exception";
  } catch (const platform::EResNotFound& e) {
    EXPECT_EQ(e.Message(), "Resource TNoForm not found");
  }
}

TEST_F(FormResourcesTest, TheCompiledFormComesBackWithEveryKindOfValue) {
  TSampleForm form(nullptr);
  ASSERT_TRUE(InitInheritedComponent(form, TComponent::StaticClassInfo()));
  EXPECT_EQ(form.Name(), "SampleForm");
  EXPECT_EQ(form.caption, "Sample form");
  ASSERT_EQ(form.ComponentCount(), 3);
  auto* widget = dynamic_cast<TSampleWidget*>(form.FindComponent("Widget1"));
  auto* widget2 = dynamic_cast<TSampleWidget*>(form.FindComponent("Widget2"));
  auto* inner = dynamic_cast<TSampleWidget*>(form.FindComponent("Inner"));
  ASSERT_TRUE(widget && widget2 && inner);
  EXPECT_EQ(form.Widget1, widget);
  EXPECT_EQ(widget->Tag(), 7);
  EXPECT_EQ(widget->count, 42);
  EXPECT_EQ(widget->letter, 'z');
  EXPECT_EQ(widget->glyph, u'\u03A9');
  EXPECT_EQ(widget->tone, support::toLoud);
  EXPECT_FALSE(widget->enabled);
  EXPECT_EQ(widget->ratio, 0.1);
  EXPECT_EQ(widget->code, "C-3PO");
  EXPECT_EQ(widget->caption, "Line one\r\nline 'two'");
  EXPECT_EQ(widget->title, u"Gr\u00FC\u00DFe");
  EXPECT_EQ(widget->tones, (support::TTones{support::toSoft, support::toLoud}));
  EXPECT_EQ(widget->big, 9000000000);
  EXPECT_EQ(widget->buddy, widget2);
  EXPECT_EQ(widget->Font()->Name(), "Arial");
  EXPECT_EQ(widget->Font()->Height(), -16);
  EXPECT_EQ(widget->Font()->Color(), 255);
  EXPECT_EQ(widget->Font()->Style(), (TFontStyles{fsBold, fsItalic}));
  EXPECT_EQ(widget->Lines()->Text(), "first line\nsecond line\n");
  ASSERT_EQ(widget->Items()->Count(), 2);
  const auto* second = dynamic_cast<TSampleItem*>(widget->Items()->Items(1));
  EXPECT_EQ(dynamic_cast<TSampleItem*>(widget->Items()->Items(0))->width, 10);
  EXPECT_EQ(second->caption, "two");
  EXPECT_EQ(second->link, widget2);
  ASSERT_TRUE(widget->OnPing);
  widget->OnPing(widget);
  EXPECT_EQ(form.pings, 1);
  EXPECT_EQ(widget->targets,
            (std::vector<support::TSampleTarget>{{"*", "Hint", 0}, {"*", "Caption", 0}}));
  EXPECT_EQ(widget->blob, (std::vector<std::uint8_t>{0xDE, 0xAD, 0xBE, 0xEF, 0x00}));
  EXPECT_EQ(inner->Parent(), widget2);
  EXPECT_EQ(inner->caption, "inside");
  for (int i = 0; i < form.ComponentCount(); ++i) {
    EXPECT_TRUE(form.Components(i)->ComponentState().Empty()) << i;
  }
  // The root first, then the components in the order they were met.
  EXPECT_EQ(support::LoadedLog(),
            (std::vector<std::string>{"SampleForm", "Widget1", "Widget2", "Inner"}));
}

TEST_F(FormResourcesTest, TheReadFormIsWrittenBackToTheSameBytesAndText) {
  TSampleForm form(nullptr);
  InitInheritedComponent(form, TComponent::StaticClassInfo());
  TMemoryStream written;
  WriteComponentTo(written, form);
  const auto resource = FindFormResource(platform::MainModule(), "TSampleForm");
  TMemoryStream compiled;
  compiled.LoadFromStream(*resource);
  EXPECT_EQ(written.Bytes(), compiled.Bytes());
  EXPECT_EQ(FormBinaryToText(written.Bytes()), FormText("SampleForm"));
}

TEST_F(FormResourcesTest, ADerivedFormReadsItsAncestorsFormFirst) {
  TSampleForm2 form(nullptr);
  ASSERT_TRUE(InitInheritedComponent(form, TComponent::StaticClassInfo()));
  EXPECT_EQ(form.Name(), "SampleForm2");
  EXPECT_EQ(form.caption, "Derived form");
  ASSERT_EQ(form.ComponentCount(), 4);
  EXPECT_EQ(form.Widget1->count, 43);
  EXPECT_EQ(form.Widget1->code, "C-3PO");
  EXPECT_EQ(form.Widget1->Lines()->Count(), 3);
  ASSERT_NE(form.Widget3, nullptr);
  EXPECT_EQ(form.Widget3->caption, "new");
  // Loaded comes once, after both forms are read.
  EXPECT_EQ(support::LoadedLog(),
            (std::vector<std::string>{"SampleForm2", "Widget1", "Widget2", "Inner", "Widget3"}));
}

TEST_F(FormResourcesTest, ADerivedFormWritesOnlyWhatDiffersFromItsAncestor) {
  TSampleForm ancestor(nullptr);
  InitInheritedComponent(ancestor, TComponent::StaticClassInfo());
  TSampleForm2 form(nullptr);
  InitInheritedComponent(form, TComponent::StaticClassInfo());
  EXPECT_EQ(WrittenText(form, &ancestor), FormText("SampleForm2"));

  // The same form with the descendant's changes undone holds no difference at all.
  form.caption = ancestor.caption;
  form.Widget1->count = 42;
  form.Widget1->Lines()->Delete(2);
  delete form.Widget3;
  EXPECT_EQ(WrittenText(form, &ancestor), "inherited SampleForm2: TSampleForm2\nend\n");

  // Changes to inherited values come out against the ancestor, not against the defaults.
  form.Widget1->Font()->SetName("MS Sans Serif");
  form.Widget1->targets.clear();
  form.Widget1->Items()->Delete(0);
  form.Widget1->OnPing = nullptr;
  EXPECT_EQ(WrittenText(form, &ancestor),
            "inherited SampleForm2: TSampleForm2\n"
            "  inherited Widget1: TSampleWidget\n"
            "    Font.Name = 'MS Sans Serif'\n"
            "    Items = <\n"
            "      item\n"
            "        Caption = 'two'\n"
            "        Link = Widget2\n"
            "      end>\n"
            "    OnPing = nil\n"
            "    Targets = (\n"
            "      1\n"
            "      0)\n"
            "  end\n"
            "end\n");
}

TEST_F(FormResourcesTest, ItemsDeletedInADerivedFormStayDeleted) {
  TSampleForm ancestor(nullptr);
  InitInheritedComponent(ancestor, TComponent::StaticClassInfo());
  TSampleForm form(nullptr);
  InitInheritedComponent(form, TComponent::StaticClassInfo());
  form.Widget1->Items()->Clear();
  TMemoryStream stream;
  WriteComponentTo(stream, form, &ancestor);
  EXPECT_EQ(FormBinaryToText(stream.Bytes()),
            "inherited SampleForm: TSampleForm\n"
            "  inherited Widget1: TSampleWidget\n"
            "    Items = <>\n"
            "  end\n"
            "end\n");
  stream.SetPosition(0);
  ReadComponentFrom(stream, &ancestor);
  EXPECT_EQ(ancestor.Widget1->Items()->Count(), 0);
}

TEST_F(FormResourcesTest, ANewComponentBeforeInheritedOnesKeepsItsPlace) {
  TSampleForm ancestor(nullptr);
  InitInheritedComponent(ancestor, TComponent::StaticClassInfo());
  TSampleForm form(nullptr);
  InitInheritedComponent(form, TComponent::StaticClassInfo());
  auto* added = new TSampleWidget(&form);
  added->SetName("Added");
  added->SetComponentIndex(0);
  const std::string text = WrittenText(form, &ancestor);
  EXPECT_NE(text.find("  object Added: TSampleWidget [0]\n"), std::string::npos) << text;

  TSampleForm copy(nullptr);
  InitInheritedComponent(copy, TComponent::StaticClassInfo());
  const std::vector<std::uint8_t> bytes = FormTextToBinary(text);
  TReadOnlyMemoryStream stream(bytes);
  ReadComponentFrom(stream, &copy);
  EXPECT_EQ(copy.Components(0)->Name(), "Added");
  EXPECT_EQ(copy.ComponentCount(), 4);
}

TEST_F(FormResourcesTest, AClassWithoutAFormReadsNothing) {
  TSampleWidget widget(nullptr);
  EXPECT_FALSE(InitInheritedComponent(widget, TComponent::StaticClassInfo()));
  EXPECT_TRUE(widget.ComponentState().Empty());
}

}  // namespace
}  // namespace lx::framework

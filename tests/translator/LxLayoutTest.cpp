#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "TranslatorTest.h"
#include "dict/LxAPoly.h"
#include "framework/controls/CheckLst.h"
#include "framework/controls/ComCtrls.h"
#include "framework/controls/ExtCtrls.h"
#include "framework/controls/Forms.h"
#include "framework/controls/Menus.h"
#include "framework/controls/StdCtrls.h"
#include "framework/rtti/ClassRegistry.h"
#include "framework/rtti/Published.h"
#include "lang/LxDictionaries.h"
#include "platform/Menus.h"
#include "platform/Windows.h"
#include "samples/TranslatorForms.h"
#include "support/FixedSystem.h"
#include "support/Raised.h"
#include "support/lang/LxProcessState.h"
#include "translator/LxModules.h"
#include "translator/LxPoly.h"
#include "translator/LxTextLookup.h"

namespace lx::translator {
namespace {

// ---- Fonts, far-east scaling and right-to-left layout

// A form class of its own, built from forms/LayoutForm.lxfm: a label, panels inside panels,
// an edit, and a component with a column title.
class TLayoutForm : public framework::TForm {
  LX_CLASS(TLayoutForm, framework::TForm)

 public:
  explicit TLayoutForm(TComponent* owner) : TForm(owner) {}
};
LX_PUBLISHED(TLayoutForm)

// Grids keep the font of their column titles themselves.
class TColumnTitle : public framework::TPersistent {
  LX_CLASS(TColumnTitle, framework::TPersistent)

 public:
  framework::TFont* Font() const { return font_.get(); }
  void SetFont(framework::TFont* value) { font_->Assign(value); }

 private:
  std::unique_ptr<framework::TFont> font_ = std::make_unique<framework::TFont>();
};
LX_PUBLISHED(TColumnTitle, Property("Font", &TColumnTitle::Font, &TColumnTitle::SetFont))

class TTitledColumns : public TComponent {
  LX_CLASS(TTitledColumns, TComponent)

 public:
  explicit TTitledColumns(TComponent* owner) : TComponent(owner) {}
  TColumnTitle* Title() const { return title_.get(); }
  void SetTitle(TColumnTitle* value) { title_->Font()->Assign(value->Font()); }

 private:
  std::unique_ptr<TColumnTitle> title_ = std::make_unique<TColumnTitle>();
};
LX_PUBLISHED(TTitledColumns, Property("Title", &TTitledColumns::Title, &TTitledColumns::SetTitle))

// Takes over the mirroring of every control.
class TMirroringModule : public TLxModule {
 public:
  bool MirrorControl(TLxTranslator*, TComponent*, TLxBidirectionalState*) override {
    ++mirrored;
    return true;
  }
  int mirrored = 0;
};

// Notes every component it is asked to apply the reading order to.
class TReadingOrderModule : public TLxModule {
 public:
  bool ApplyReadingOrder(TLxTranslator*, TComponent* component) override {
    asked.push_back(component->Name());
    return false;
  }
  Texts asked;
};

// Languages: 0 English, 1 Japanese, 2 Arabic (no font of its own), 3 Chinese; 4 Japanese and
// 5 Arabic again, in UTF-8.
std::unique_ptr<support::TLxMemoryDictionary> LayoutDictionary() {
  auto dictionary = std::make_unique<support::TLxMemoryDictionary>(nullptr);
  dictionary->SetDictionaryName("Dictionary1");
  dictionary->SetBinding(lang::lxbiNone);
  dictionary->SetCheckLevel(lang::lxclNone);  // the test system reads none of these scripts
  dictionary->AddLanguage(0, 0, 1252, "", "English");
  dictionary->AddLanguage(lang::TLxLanguage(17, 1, 932, "", "Japanese", "", "MS UI Gothic", 9, {}));
  dictionary->AddLanguage(lang::TLxLanguage(1, 1, 1256, "", "Arabic", "", "", 0, {}));
  dictionary->AddLanguage(lang::TLxLanguage(4, 2, 936, "", "Chinese", "", "SimSun", 10, {}));
  dictionary->SetText("Title", 1, "Taitoru");
  dictionary->SetText("Title", 2, "Unwan");
  dictionary->SetText("Title", 3, "Biaoti");
  dictionary->AddLanguage(
      lang::TLxLanguage(17, 1, 65001, "", "Japanese", "", "MS UI Gothic", 9, {}));
  dictionary->AddLanguage(lang::TLxLanguage(1, 1, 65001, "", "Arabic", "", "", 0, {}));
  dictionary->SetText("Title", 4, "タイトル");
  dictionary->SetText("Title", 5, "عنوان");
  return dictionary;
}

constexpr int kEnglish = 0, kJapanese = 1, kArabic = 2, kChinese = 3;
constexpr int kJapaneseUtf8 = 4, kArabicUtf8 = 5;
constexpr framework::TFontCharset kShiftJis = 128, kArabicCharset = 178, kGb2312 = 134;

struct TPlace {
  std::string name;
  int left, top, width, height, fontHeight;
  bool operator==(const TPlace&) const = default;
};
using Places = std::vector<TPlace>;
void PrintTo(const TPlace& place, std::ostream* out) {
  *out << place.name << " (" << place.left << ", " << place.top << ", " << place.width << ", "
       << place.height << ", font " << place.fontHeight << ")";
}

Places PlacesOf(const TComponent& form) {
  Places places;
  auto add = [&places](const TControl& control) {
    places.push_back({control.Name(), control.Left(), control.Top(), control.Width(),
                      control.Height(), control.Font()->Height()});
  };
  add(dynamic_cast<const TControl&>(form));
  for (int i = 0; i < form.ComponentCount(); ++i) {
    if (auto* control = dynamic_cast<TControl*>(form.Components(i))) add(*control);
  }
  return places;
}

class LxLayoutTest : public ::testing::Test {
 protected:
  LxLayoutTest() {
    support::RegisterTranslatorForms();
    framework::RegisterClasses({&framework::TPanel::StaticClassInfo(),
                                &TLayoutForm::StaticClassInfo(),
                                &TTitledColumns::StaticClassInfo()});
    form_ = support::LoadForm<TLayoutForm>();  // no dictionary yet: stays closed
    dictionary_ = LayoutDictionary();
  }
  ~LxLayoutTest() override {
    while (Modules()->Count() > 0)
      UnregisterModule(Modules()->Items(0)).reset();
  }

  // Opens the translator in `language` (the form with its window unless told otherwise).
  TLxTranslator& Open(int language, bool window = true) {
    if (window) form_->HandleNeeded();
    dictionary_->SetLanguage(language);
    dictionary_->Open();
    translator().Open();
    return translator();
  }
  TLxTranslator& translator() { return Find<TLxTranslator>(*form_, "Translator1"); }
  template <typename T = TControl>
  T& Get(const char* name) {
    return Find<T>(*form_, name);
  }
  framework::TFont& FontOf(const char* name) { return *Get(name).Font(); }

  support::FixedSystem system_;
  support::TLxProcessState state_;
  std::unique_ptr<TLayoutForm> form_;
  std::unique_ptr<support::TLxMemoryDictionary> dictionary_;
};

TEST_F(LxLayoutTest, WithCharsetChangeDisabledOnlyTheFormFontFollowsTheLanguage) {
  translator().SetCharsetChange(lxccDisabled);
  translator().SetMultiByteScale(100);
  Open(kJapanese);
  EXPECT_EQ(FontOf("TitleLabel").Name(), "Tahoma");
  EXPECT_EQ(FontOf("TitleLabel").Charset(), framework::kDefaultCharset);
  EXPECT_EQ(FontOf("NameEdit").Name(), "Tahoma");
  EXPECT_EQ(form_->Font()->Name(), "MS UI Gothic");
  EXPECT_EQ(form_->Font()->Size(), 9);
  EXPECT_EQ(form_->Font()->Charset(), kShiftJis);

  // Without lxtoCheckFont the form's font stays as well.
  translator().SetOptions(translator().Options() - TLxTranslatorOptions{lxtoCheckFont});
  dictionary_->SetLanguage(kChinese);
  EXPECT_EQ(form_->Font()->Name(), "MS UI Gothic");
}

TEST_F(LxLayoutTest, ALanguageWithoutAFontChangesTheCharsetAndBringsBackTheFormsFont) {
  translator().SetMultiByteScale(100);
  Open(kJapanese);
  EXPECT_EQ(FontOf("TitleLabel").Name(), "MS UI Gothic");
  EXPECT_EQ(FontOf("TitleLabel").Size(), 9);
  EXPECT_EQ(FontOf("TitleLabel").Charset(), kShiftJis);
  EXPECT_EQ(translator().SavedFontName(), "Tahoma");
  EXPECT_EQ(translator().SavedFontSize(), 8);

  dictionary_->SetLanguage(kArabic);
  EXPECT_EQ(FontOf("TitleLabel").Name(), "MS UI Gothic");
  EXPECT_EQ(FontOf("TitleLabel").Size(), 9);
  EXPECT_EQ(FontOf("TitleLabel").Charset(), kArabicCharset);
  EXPECT_EQ(form_->Font()->Name(), "Tahoma");
  EXPECT_EQ(form_->Font()->Size(), 8);
  EXPECT_EQ(form_->Font()->Charset(), kArabicCharset);
}

TEST_F(LxLayoutTest, UnderNormalCharsetChangeOnlyControlsThatCanHaveAWindowChangeFont) {
  translator().SetMultiByteScale(100);
  Open(kChinese, false);
  EXPECT_EQ(FontOf("TitleLabel").Name(), "SimSun");  // drawn in its parent: no window needed
  EXPECT_EQ(FontOf("TitleLabel").Charset(), kGb2312);
  EXPECT_EQ(FontOf("NameEdit").Name(), "Tahoma");  // its parent has no window either
  EXPECT_FALSE(Get<framework::TWinControl>("NameEdit").HandleAllocated());
  EXPECT_EQ(form_->Font()->Name(), "Tahoma");  // the form has no window: left alone

  // A font that cannot change is still asked about when the event is there.
  int asked = 0;
  translator().OnRestrictProperty = [&](TLxTranslator*, framework::TObject* obj,
                                        const std::string& name, bool&) {
    if (obj == &Get<framework::TWinControl>("NameEdit") && name == "Font") ++asked;
  };
  translator().Open();
  EXPECT_EQ(asked, 1);
  EXPECT_EQ(FontOf("NameEdit").Name(), "Tahoma");
  translator().OnRestrictProperty = nullptr;

  // Once the form has a window, the panel's is made and so on down.
  form_->HandleNeeded();
  translator().Open();
  EXPECT_EQ(FontOf("NameEdit").Name(), "SimSun");
  EXPECT_EQ(FontOf("OkButton").Charset(), kGb2312);
  EXPECT_TRUE(Get<framework::TWinControl>("NameEdit").HandleAllocated());
  EXPECT_EQ(form_->Font()->Name(), "SimSun");
}

TEST_F(LxLayoutTest, EveryFontButTheColumnTitlesAndTheRestrictedOnesFollowsUnderAll) {
  translator().SetCharsetChange(lxccAll);
  translator().SetMultiByteScale(100);
  translator().OnRestrictComponent = [](TLxTranslator*, TComponent* component,
                                        TLxRestrictions& restrictions) {
    if (component->Name() == "OkButton") restrictions = {lxrCharset};
  };
  Open(kJapanese, false);
  EXPECT_EQ(FontOf("NameEdit").Name(), "MS UI Gothic");
  EXPECT_EQ(FontOf("NameEdit").Charset(), kShiftJis);
  EXPECT_EQ(FontOf("OkButton").Name(), "Tahoma");
  const framework::TFont& title = *Get<TTitledColumns>("Columns").Title()->Font();
  EXPECT_EQ(title.Name(), "Courier");
  EXPECT_EQ(title.Charset(), framework::kDefaultCharset);
}

// A language in UTF-8 takes its layout from its script, as in its own code page, and its
// texts as they are; its fonts keep the default character set, which holds any script.
TEST_F(LxLayoutTest, ALanguageInUtf8IsLaidOutByItsScript) {
  const std::tuple<int, bool, bool, const char*> cases[] = {
      {kJapaneseUtf8, true, false, "タイトル"}, {kArabicUtf8, false, true, "عنوان"}};
  TLxTranslator& translator = Open(kEnglish);
  for (const auto& [language, scaled, mirrored, title] : cases) {
    dictionary_->SetLanguage(language);
    EXPECT_EQ(translator.Scaled(), scaled) << language;
    EXPECT_EQ(translator.Mirrored(), mirrored) << language;
    EXPECT_EQ(Get("TitleLabel").Caption(), title) << language;
    EXPECT_EQ(FontOf("TitleLabel").Charset(), framework::kDefaultCharset) << language;
  }
}

TEST_F(LxLayoutTest, FarEastLanguagesScaleTheFormOnceAndOthersScaleItBackExactly) {
  const Places native = PlacesOf(*form_);
  translator().SetCharsetChange(lxccDisabled);
  int scaled = 0;
  translator().OnScale = [&scaled, this](TLxTranslator*, TComponent* root) {
    EXPECT_EQ(root, form_.get());
    ++scaled;
  };
  Open(kJapanese);
  EXPECT_TRUE(translator().Scaled());
  EXPECT_EQ(form_->Width(), 480);
  EXPECT_EQ(Get("OuterPanel").Left(), 25);
  EXPECT_EQ(Get("OuterPanel").Width(), 244);
  EXPECT_EQ(Get("InnerPanel").Width(), 100);
  EXPECT_EQ(form_->Font()->Size(), 11);  // Japanese 9 points, scaled
  EXPECT_EQ(scaled, 1);

  dictionary_->SetLanguage(kChinese);  // far-east again: nothing more
  EXPECT_EQ(form_->Width(), 480);
  EXPECT_EQ(form_->Font()->Size(), 12);  // Chinese 10 points, at the scaled size
  EXPECT_EQ(scaled, 1);

  dictionary_->SetLanguage(kEnglish);
  EXPECT_FALSE(translator().Scaled());
  EXPECT_EQ(PlacesOf(*form_), native);
  EXPECT_EQ(scaled, 2);

  // A form resized while scaled goes back by the ratio, its controls exactly.
  dictionary_->SetLanguage(kJapanese);
  form_->SetWidth(481);
  dictionary_->SetLanguage(kEnglish);
  EXPECT_EQ(form_->Width(), 401);
  Places expected = native;
  expected[0].width = 401;
  EXPECT_EQ(PlacesOf(*form_), expected);

  // A scale below 100 % loses pixels on the way; scaling back still restores them.
  form_->SetWidth(400);
  translator().SetMultiByteScale(75);
  dictionary_->SetLanguage(kJapanese);
  EXPECT_EQ(Get("TitleLabel").Width(), 38);
  dictionary_->SetLanguage(kEnglish);
  EXPECT_EQ(PlacesOf(*form_), native);

  // Scaled back by the percentage it was scaled with; a percentage below 1 scales nothing.
  dictionary_->SetLanguage(kJapanese);
  translator().SetMultiByteScale(150);
  dictionary_->SetLanguage(kEnglish);
  EXPECT_EQ(PlacesOf(*form_), native);
  translator().SetMultiByteScale(0);
  dictionary_->SetLanguage(kJapanese);
  EXPECT_EQ(form_->Width(), 400);
  EXPECT_EQ(Get("TitleLabel").Left(), 10);
}

TEST_F(LxLayoutTest, AReopenedOrRevertedTranslatorNeverLeavesTheFormScaledTwice) {
  const Places native = PlacesOf(*form_);
  translator().SetCharsetChange(lxccDisabled);
  translator().SetOptions(translator().Options() - TLxTranslatorOptions{lxtoCheckFont});
  TLxTranslator& translator = Open(kJapanese);
  const Places japanese = PlacesOf(*form_);
  translator.Close();
  EXPECT_FALSE(translator.Scaled());
  translator.Open();
  EXPECT_EQ(PlacesOf(*form_), japanese);
  EXPECT_TRUE(translator.Scaled());

  translator.Revert();
  EXPECT_EQ(PlacesOf(*form_), native);
  EXPECT_EQ(form_->Caption(), "Layout");
  dictionary_->SetLanguage(kEnglish);
  translator.Open();  // nothing to scale back
  EXPECT_EQ(PlacesOf(*form_), native);
}

TEST_F(LxLayoutTest, AnAutoScrollFormRaisesAfterItsTextsWereTranslated) {
  form_->SetAutoScroll(true);
  int after = 0;
  translator().OnAfterTranslate = [&after](lang::TLxCustomTranslator*) { ++after; };
  EXPECT_RAISES(Open(kJapanese), platform::Exception,
                "Cannot scale a form (LayoutForm) that has AutoScroll property set True");
  EXPECT_EQ(Get("TitleLabel").Caption(), "Taitoru");
  EXPECT_EQ(after, 0);
  EXPECT_FALSE(translator().Scaled());
  EXPECT_EQ(form_->Width(), 400);
  EXPECT_EQ(Get("OuterPanel").Width(), 203);
}

TEST_F(LxLayoutTest, ArabicMirrorsEveryControlInsideItsParentAndEnglishPutsThemBack) {
  const Places native = PlacesOf(*form_);
  const platform::HWND window = form_->Handle();
  TLxTranslator& translator = Open(kArabic);
  EXPECT_TRUE(translator.Mirrored());
  EXPECT_EQ(translator.ReadingOrder(), lxroRightToLeft);
  EXPECT_EQ(platform::GetFrameRefreshCount(window), 1);
  EXPECT_EQ(form_->Left(), 0);
  EXPECT_EQ(Get("TitleLabel").Left(), 400 - 50 - 10);
  EXPECT_EQ(Get("OuterPanel").Left(), 400 - 203 - 21);
  EXPECT_EQ(Get("InnerPanel").Left(), 203 - 83 - 7);
  EXPECT_EQ(Get("NameEdit").Left(), 203 - 91 - 101);
  EXPECT_EQ(Get("OkButton").Left(), 83 - 33 - 3);
  EXPECT_EQ(Get("OkButton").Top(), 5);
  const Places arabic = PlacesOf(*form_);
  translator.Open();  // no second flip, no second frame refresh
  EXPECT_EQ(PlacesOf(*form_), arabic);
  EXPECT_EQ(platform::GetFrameRefreshCount(window), 1);
  translator.Close();  // reopened: still no second flip
  translator.Open();
  EXPECT_EQ(PlacesOf(*form_), arabic);
  TLxBidirectionalState* state = translator.FindBidiState(&Get("OkButton"), false);
  ASSERT_NE(state, nullptr);
  EXPECT_TRUE(state->Flipped);
  EXPECT_EQ(state->NativeLeft, 3);
  EXPECT_EQ(state->ReadingOrder, lxroRightToLeft);

  dictionary_->SetLanguage(kEnglish);
  EXPECT_FALSE(translator.Mirrored());
  EXPECT_EQ(platform::GetFrameRefreshCount(window), 3);  // Close forgot the flag: refreshed
  EXPECT_EQ(PlacesOf(*form_), native);
  EXPECT_FALSE(state->Flipped);
}

TEST_F(LxLayoutTest, MirroringThereAndBackWithResizesInBetweenNeverDrifts) {
  const Places native = PlacesOf(*form_);
  TLxTranslator& translator = Open(kEnglish);
  for (int round = 1; round <= 3; ++round) {
    dictionary_->SetLanguage(kArabic);
    form_->SetWidth(400 + 37 * round);
    Get("OuterPanel").SetWidth(203 + 5 * round);
    translator.RealignControls();
    EXPECT_EQ(Get("TitleLabel").Left(), 400 + 37 * round - 50 - 10);
    EXPECT_EQ(Get("NameEdit").Left(), 203 + 5 * round - 91 - 101);
    dictionary_->SetLanguage(kEnglish);
    form_->SetWidth(400);
    Get("OuterPanel").SetWidth(203);
    EXPECT_EQ(PlacesOf(*form_), native) << round;
  }
  // A control moved in the native order is mirrored from, and comes back to, its new place.
  Get("TitleLabel").SetLeft(30);
  dictionary_->SetLanguage(kArabic);
  EXPECT_EQ(Get("TitleLabel").Left(), 400 - 50 - 30);
  form_->SetWidth(420);
  translator.RealignControl(&Get("TitleLabel"));
  EXPECT_EQ(Get("TitleLabel").Left(), 420 - 50 - 30);
  dictionary_->SetLanguage(kEnglish);
  EXPECT_EQ(Get("TitleLabel").Left(), 30);
}

TEST_F(LxLayoutTest, ScalingAndMirroringTogetherComeBackExactly) {
  const Places native = PlacesOf(*form_);
  translator().SetCharsetChange(lxccDisabled);
  TLxTranslator& translator = Open(kJapanese);
  dictionary_->SetLanguage(kArabic);  // mirrored, scaled back
  EXPECT_FALSE(translator.Scaled());
  EXPECT_EQ(Get("OuterPanel").Left(), 400 - 203 - 21);
  EXPECT_EQ(Get("OuterPanel").Width(), 203);
  dictionary_->SetLanguage(kJapanese);  // unmirrored, scaled
  dictionary_->SetLanguage(kArabic);
  dictionary_->SetLanguage(kEnglish);
  EXPECT_EQ(PlacesOf(*form_), native);

  // Revert from right-to-left puts the native order back and refreshes the frame.
  dictionary_->SetLanguage(kArabic);
  const int refreshes = platform::GetFrameRefreshCount(form_->Handle());
  translator.Revert();
  EXPECT_FALSE(translator.Mirrored());
  EXPECT_EQ(PlacesOf(*form_), native);
  EXPECT_EQ(platform::GetFrameRefreshCount(form_->Handle()), refreshes + 1);
}

TEST_F(LxLayoutTest, AModuleThatTakesOverMirroringLeavesTheControlsToIt) {
  auto owned = std::make_unique<TMirroringModule>();
  TMirroringModule* module = owned.get();
  RegisterModule(std::move(owned));
  const Places native = PlacesOf(*form_);
  Open(kArabic);
  EXPECT_EQ(module->mirrored, 5);  // every control but the form
  EXPECT_EQ(PlacesOf(*form_), native);
  EXPECT_FALSE(translator().FindBidiState(&Get("OkButton"), false)->Flipped);
}

TEST_F(LxLayoutTest, TheReadingOrderIsAppliedWhenItChangesUnlessRestricted) {
  auto owned = std::make_unique<TReadingOrderModule>();
  TReadingOrderModule* module = owned.get();
  RegisterModule(std::move(owned));
  translator().OnRestrictComponent = [](TLxTranslator*, TComponent* component,
                                        TLxRestrictions& restrictions) {
    if (component->Name() == "NameEdit") restrictions = {lxrFlip};
    if (component->Name() == "OkButton") restrictions = {lxrReadingOrder};
  };
  Open(kEnglish);  // controls start left-to-right: only the other components are asked
  EXPECT_EQ(module->asked, (Texts{"Columns", "Translator1"}));

  module->asked.clear();
  dictionary_->SetLanguage(kArabic);
  EXPECT_EQ(module->asked, (Texts{"TitleLabel", "OuterPanel", "InnerPanel", "NameEdit", "Columns",
                                  "Translator1", "LayoutForm"}));
  EXPECT_EQ(Get("NameEdit").Left(), 101);  // not mirrored
  EXPECT_EQ(Get("OkButton").Left(), 83 - 33 - 3);
  EXPECT_EQ(translator().FindBidiState(form_.get(), false)->ReadingOrder, lxroRightToLeft);
}

TEST_F(LxLayoutTest, AControlThatGoesTakesItsMirroringStateAlong) {
  TLxTranslator& translator = Open(kArabic);
  const auto states = translator.BidiStates().size();
  TControl* button = &Get("OkButton");
  delete button;
  EXPECT_EQ(translator.BidiStates().size(), states - 1);
  EXPECT_EQ(translator.FindBidiState(button, false), nullptr);
  form_->SetWidth(500);
  translator.RealignControls();
  EXPECT_EQ(Get("TitleLabel").Left(), 500 - 50 - 10);

  // Mirroring is off with its option.
  translator.SetOptions(translator.Options() - TLxTranslatorOptions{lxtoMirrorBiDirectional});
  dictionary_->SetLanguage(kEnglish);
  EXPECT_EQ(Get("TitleLabel").Left(), 500 - 50 - 10);
}

}  // namespace
}  // namespace lx::translator

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "framework/controls/StdCtrls.h"
#include "lang/LxDictionary.h"
#include "samples/TranslatorForms.h"
#include "support/FixedSystem.h"
#include "support/Raised.h"
#include "support/lang/LxProcessState.h"
#include "translator/LxModules.h"
#include "translator/LxPoly.h"

namespace lx::translator {
namespace {

// Answers as told and logs every question.
class TLoggingModule : public TLxModule {
 public:
  TLoggingModule(std::string name, std::vector<std::string>& log, bool answer)
      : name_(std::move(name)), log_(log), answer_(answer) {}

  bool TranslateControl(TLxTranslator*, framework::TComponent* control) override {
    log_.push_back(name_ + " translate " + control->Name());
    if (leaveWhenAsked) UnregisterModule(this).reset();  // frees this module
    return false;
  }
  bool MirrorControl(TLxTranslator*, framework::TComponent*, TLxBidirectionalState*) override {
    log_.push_back(name_ + " mirror");
    return answer_;
  }
  bool UnmirrorControl(TLxTranslator*, framework::TComponent*, TLxBidirectionalState*) override {
    log_.push_back(name_ + " unmirror");
    return answer_;
  }
  bool ApplyReadingOrder(TLxTranslator*, framework::TComponent*) override {
    log_.push_back(name_ + " order");
    return answer_;
  }

  bool leaveWhenAsked = false;

 private:
  std::string name_;
  std::vector<std::string>& log_;
  bool answer_;
};

class LxModulesTest : public ::testing::Test {
 protected:
  ~LxModulesTest() override {
    while (Modules()->Count() > 0)
      UnregisterModule(Modules()->Items(0)).reset();
  }

  TLoggingModule* Register(const std::string& name, bool answer) {
    auto module = std::make_unique<TLoggingModule>(name, log_, answer);
    TLoggingModule* registered = module.get();
    RegisterModule(std::move(module));
    return registered;
  }

  support::FixedSystem system_;
  support::TLxProcessState state_;
  std::vector<std::string> log_;
};

TEST_F(LxModulesTest, AnEmptyRegistryAnswersNo) {
  framework::TButton button(nullptr);
  TLxTranslator translator(nullptr);
  EXPECT_EQ(Modules()->Count(), 0);
  EXPECT_FALSE(Modules()->TranslateControl(&translator, &button));
  EXPECT_FALSE(Modules()->MirrorControl(&translator, &button, nullptr));
  EXPECT_FALSE(Modules()->UnmirrorControl(&translator, &button, nullptr));
  EXPECT_FALSE(translator.ApplyReadingOrder(&button));
  EXPECT_RAISES(Modules()->Items(0), platform::Exception, "List index out of bounds (0)");
}

TEST_F(LxModulesTest, TheFirstModuleThatTakesTheJobEndsTheRound) {
  Register("first", true);
  Register("second", true);
  framework::TButton button(nullptr);
  TLxTranslator translator(nullptr);
  TLxBidirectionalState state;
  translator.MirrorControl(&button, &state);
  translator.UnmirrorControl(&button, &state);
  EXPECT_TRUE(translator.ApplyReadingOrder(&button));
  EXPECT_EQ(log_, (std::vector<std::string>{"first mirror", "first unmirror", "first order"}));
}

TEST_F(LxModulesTest, EveryWalkedComponentIsOfferedToTheModules) {
  support::RegisterTranslatorForms();
  TLoggingModule* first = Register("first", false);
  Register("second", false);
  first->leaveWhenAsked = true;  // leaves (and is freed) during its first question
  auto dictionary = support::MemoryDictionary();
  dictionary->SetLanguage(1);
  dictionary->Open();
  auto form = support::LoadForm<support::TMainForm>();
  ASSERT_GE(log_.size(), 2u);
  EXPECT_EQ(log_[0], "first translate FileLabel");
  EXPECT_EQ(log_[1], "second translate FileLabel");
  EXPECT_EQ(log_.back(), "second translate MainForm");
  EXPECT_EQ(Modules()->Count(), 1);

  // Restricted components are not offered.
  log_.clear();
  TLxTranslator& translator = *dynamic_cast<TLxTranslator*>(form->FindComponent("Translator1"));
  translator.OnRestrictComponent = [](TLxTranslator*, framework::TComponent*,
                                      TLxRestrictions& restrictions) {
    restrictions = {lxrCustomTranslation};
  };
  translator.Open();
  for (const std::string& entry : log_)
    EXPECT_EQ(entry.find(" translate "), std::string::npos) << entry;
}

TEST_F(LxModulesTest, ADestroyedModuleLeavesTheRegistry) {
  TLoggingModule* module = Register("gone", true);
  EXPECT_EQ(Modules()->Count(), 1);
  delete module;
  EXPECT_EQ(Modules()->Count(), 0);
}

}  // namespace
}  // namespace lx::translator

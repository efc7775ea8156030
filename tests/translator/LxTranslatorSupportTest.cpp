#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "framework/controls/StdCtrls.h"
#include "translator/LxTranslatorSupport.h"

namespace lx::translator {
namespace {

TEST(LxTranslatorSupportTest, AsAnswersByTheClassAncestry) {
  framework::TButton button(nullptr);
  framework::TObject* object = &button;
  EXPECT_EQ(As<framework::TControl>(object), &button);
  EXPECT_EQ(As<framework::TLabel>(object), nullptr);
  EXPECT_EQ(As<framework::TControl>(nullptr), nullptr);
}

TEST(LxTranslatorSupportTest, FireCallsOnlyASetEvent) {
  int calls = 0;
  std::function<void(int)> event;
  Fire(event, 1);
  event = [&calls](int by) { calls += by; };
  Fire(event, 2);
  EXPECT_EQ(calls, 2);
}

TEST(LxTranslatorSupportTest, TheModulesAreAskedOnlyWhenOneIsRegistered) {
  if (!Modules()->Empty()) GTEST_SKIP() << "a module of another test is registered";
  EXPECT_EQ(ModulesToAsk(), nullptr);
  auto owned = std::make_unique<TLxModule>();
  TLxModule* module = owned.get();
  RegisterModule(std::move(owned));
  EXPECT_EQ(ModulesToAsk(), Modules());
  UnregisterModule(module);
  EXPECT_EQ(ModulesToAsk(), nullptr);
}

}  // namespace
}  // namespace lx::translator

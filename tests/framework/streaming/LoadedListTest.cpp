#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "framework/core/Component.h"
#include "framework/streaming/LoadedList.h"

namespace lx::framework {
namespace {

using Log = std::vector<std::string>;

// Records its Loaded call and the loading state it saw there; may fail or free a victim.
class TLoading : public TComponent {
 public:
  TLoading(TComponent* owner, const std::string& name, Log& log) : TComponent(owner), log_(log) {
    SetName(name);
  }

  bool fail = false;
  TComponent* victim = nullptr;
  bool loadingBefore = false;

 protected:
  void Loaded() override {
    loadingBefore = ComponentState().Contains(csLoading);
    TComponent::Loaded();
    log_.push_back(Name());
    if (victim != nullptr) delete std::exchange(victim, nullptr);
    if (fail) throw std::runtime_error(Name() + " failed");
  }

 private:
  Log& log_;
};

TEST(LoadedListTest, ComponentsAreToldInTheOrderTheyJoined) {
  Log log;
  TLoading form(nullptr, "Form", log);
  auto* panel = new TLoading(&form, "Panel", log);
  auto* button = new TLoading(panel, "Button", log);
  {
    TLoadedList loading;
    loading.Add(&form);
    loading.Add(panel);
    loading.Add(button);
    loading.Add(panel);
    EXPECT_EQ(loading.Count(), 3);
    EXPECT_TRUE(button->ComponentState().Contains(csLoading));
    EXPECT_TRUE(log.empty());
    loading.NotifyLoaded();
    EXPECT_EQ(loading.Count(), 0);
    loading.NotifyLoaded();
  }
  EXPECT_EQ(log, (Log{"Form", "Panel", "Button"}));
  EXPECT_TRUE(button->loadingBefore);
  EXPECT_FALSE(form.ComponentState().Contains(csLoading));
  EXPECT_FALSE(button->ComponentState().Contains(csLoading));
}

TEST(LoadedListTest, ComponentsFreedDuringTheLoadAreSkipped) {
  Log log;
  TLoading form(nullptr, "Form", log);
  auto* early = new TLoading(&form, "Early", log);
  auto* late = new TLoading(&form, "Late", log);
  auto* last = new TLoading(&form, "Last", log);
  TLoadedList loading;
  for (TComponent* c : std::vector<TComponent*>{&form, early, late, last})
    loading.Add(c);
  delete early;
  EXPECT_FALSE(loading.Contains(early));
  form.victim = late;
  loading.NotifyLoaded();
  EXPECT_EQ(log, (Log{"Form", "Last"}));
  EXPECT_EQ(form.ComponentCount(), 1);
}

TEST(LoadedListTest, AFailingLoadedDoesNotKeepTheOthersLoading) {
  Log log;
  TLoading form(nullptr, "Form", log);
  auto* first = new TLoading(&form, "First", log);
  auto* second = new TLoading(&form, "Second", log);
  first->fail = true;
  second->fail = true;
  TLoadedList loading;
  loading.Add(&form);
  loading.Add(first);
  loading.Add(second);
  try {
    loading.NotifyLoaded();
    FAIL() << "no exception";
  } catch (const std::runtime_error& e) {
    EXPECT_STREQ(e.what(), "First failed");
  }
  EXPECT_EQ(log, (Log{"Form", "First", "Second"}));
  EXPECT_FALSE(second->ComponentState().Contains(csLoading));
}

TEST(LoadedListTest, AnAbandonedLoadLeavesTheLoadingStateWithoutLoaded) {
  Log log;
  TLoading form(nullptr, "Form", log);
  {
    TLoadedList loading;
    loading.Add(&form);
  }
  EXPECT_TRUE(log.empty());
  EXPECT_FALSE(form.ComponentState().Contains(csLoading));
  EXPECT_EQ(form.ComponentState(), TComponentState{});
}

}  // namespace
}  // namespace lx::framework

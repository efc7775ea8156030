#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/controls/Forms.h"
#include "framework/controls/StdCtrls.h"
#include "translator/LxPoly.h"
#include "translator/LxWalkPlans.h"

namespace lx::translator {
namespace {

// The names and kinds of the steps of `plan`, as "Name:kind" with "*" for a target.
std::vector<std::string> StepsOf(const std::vector<TLxPropertyStep>& steps) {
  std::vector<std::string> names;
  for (const TLxPropertyStep& step : steps) {
    const char* kinds[] = {"text", "object", "locale", "none"};
    names.push_back(step.property->Name() + ":" + kinds[step.kind] + (step.target ? "*" : "") +
                    (step.font ? "+font" : ""));
  }
  return names;
}

std::vector<std::string> Working(const TLxClassPlan& plan, const std::string& prefix) {
  std::vector<std::string> found;
  for (const std::string& step : StepsOf(plan.working)) {
    if (step.rfind(prefix, 0) == 0) found.push_back(step);
  }
  return found;
}

TEST(LxWalkPlansTest, APlanNamesWhatTheWalkDoesWithEachProperty) {
  TLxTargetProperties targets;
  targets.Add("", 0, "Caption");
  targets.Add("", 0, "Name");
  targets.Add("TListBox", 0, "Items");
  TLxWalkCache walk;
  walk.Sync(targets);
  framework::TButton button(nullptr);
  const TLxClassPlan& plan = walk.PlanOf(button, targets);
  EXPECT_TRUE(plan.control && plan.winControl && plan.component);
  EXPECT_FALSE(plan.form || plan.menuItem || plan.skipped);
  // A component's name is never translated, even when the targets name it.
  EXPECT_EQ(Working(plan, "Caption"), std::vector<std::string>{"Caption:text*"});
  EXPECT_TRUE(Working(plan, "Name").empty());
  EXPECT_EQ(Working(plan, "Font"), std::vector<std::string>{"Font:object+font"});
  framework::TListBox list(nullptr);
  EXPECT_EQ(Working(walk.PlanOf(list, targets), "Items"),
            std::vector<std::string>{"Items:object*"});
  // The same class gives the same plan until the targets change.
  EXPECT_EQ(&walk.PlanOf(button, targets), &plan);
  targets.Add("TButton", 1, "Caption");
  walk.Sync(targets);
  EXPECT_TRUE(Working(walk.PlanOf(button, targets), "Caption").empty());
}

TEST(LxWalkPlansTest, TranslatorsAndFontsAreNeverWalked) {
  TLxTargetProperties targets;
  targets.Add("", 0, "");
  TLxWalkCache walk;
  walk.Sync(targets);
  TLxTranslator translator(nullptr);
  framework::TFont font;
  EXPECT_TRUE(walk.PlanOf(translator, targets).skipped);
  EXPECT_TRUE(walk.PlanOf(font, targets).skipped);
}

TEST(LxWalkPlansTest, TheVisitedSetHoldsEachObjectOnceAcrossGrowth) {
  TLxObjectSet visited;
  std::vector<int> objects(500);
  for (int& object : objects)
    EXPECT_TRUE(visited.Insert(&object));
  for (int& object : objects)
    EXPECT_FALSE(visited.Insert(&object));
  visited.Clear();
  EXPECT_TRUE(visited.Insert(&objects[7]));
}

}  // namespace
}  // namespace lx::translator

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/core/Component.h"
#include "framework/core/Font.h"
#include "framework/rtti/Published.h"
#include "lang/LxPropInfoList.h"

namespace lx::lang {
namespace {

using framework::TComponent;

class TCaptioned : public TComponent {
  LX_CLASS(TCaptioned, TComponent)

 public:
  explicit TCaptioned(TComponent* owner) : TComponent(owner) {}
  std::string caption;
  int left = 0;
  framework::TFont* font = nullptr;
  framework::TNotifyEvent OnClick;
};

class TLabelled : public TCaptioned {
  LX_CLASS(TLabelled, TCaptioned)

 public:
  explicit TLabelled(TComponent* owner) : TCaptioned(owner) {}
  std::u16string hint;
  bool visible = true;
  std::string shortText;
};

LX_PUBLISHED(TCaptioned, Property("Caption", &TCaptioned::caption, &TCaptioned::caption),
             Property("Left", &TCaptioned::left, &TCaptioned::left),
             Property("Font", &TCaptioned::font, &TCaptioned::font),
             Event("OnClick", &TCaptioned::OnClick))

LX_PUBLISHED(TLabelled, Property("Hint", &TLabelled::hint, &TLabelled::hint),
             Property("Visible", &TLabelled::visible, &TLabelled::visible, true),
             Property("ShortText", &TLabelled::shortText, &TLabelled::shortText).ShortString())

std::vector<std::string> Names(const TLxPropInfoList& list) {
  std::vector<std::string> names;
  for (int i = 0; i < list.Count(); ++i)
    names.push_back(list.Items(i)->Name());
  return names;
}

using framework::TypeKindMask;

TEST(LxPropInfoListTest, KeepsThePropertiesOfTheAskedKindsInTheFrameworksOrder) {
  TLabelled label(nullptr);
  const TLxPropInfoList texts(&label, TypeKindMask({framework::tkString, framework::tkLString,
                                                    framework::tkWString, framework::tkClass}));
  EXPECT_EQ(Names(texts),
            (std::vector<std::string>{"Name", "Caption", "Font", "Hint", "ShortText"}));
  const TLxPropInfoList integers(&label, TypeKindMask({framework::tkInteger}));
  EXPECT_EQ(Names(integers), (std::vector<std::string>{"Tag", "Left"}));
  const TLxPropInfoList all(&label, 0xFFFFFFFF);
  EXPECT_EQ(all.Count(), 9);
  EXPECT_EQ(all.Items(5), label.ClassInfo().FindProperty("OnClick"));
}

TEST(LxPropInfoListTest, NothingToListGivesAnEmptyList) {
  TLabelled label(nullptr);
  EXPECT_EQ(TLxPropInfoList(&label, 0).Count(), 0);
  EXPECT_EQ(TLxPropInfoList(nullptr, 0xFFFFFFFF).Count(), 0);
  const TLxPropInfoList plain(&label, 0);
  EXPECT_EQ(TLxPropInfoList(&plain, 0xFFFFFFFF).Count(), 0);
  EXPECT_EQ(plain.ClassName(), "TLxPropInfoList");
  EXPECT_EQ(TLxPropInfoList(&label, TypeKindMask({framework::tkInt64})).Count(), 0);
}

TEST(LxPropInfoListTest, ListsObjectsThatAreNotComponents) {
  framework::TFont font;
  const TLxPropInfoList list(&font, TypeKindMask({framework::tkLString, framework::tkSet}));
  EXPECT_EQ(Names(list), (std::vector<std::string>{"Name", "Style"}));
}

TEST(LxPropInfoListTest, IndexesOutsideTheListAreRefused) {
  TCaptioned captioned(nullptr);
  const TLxPropInfoList list(&captioned, TypeKindMask({framework::tkMethod}));
  ASSERT_EQ(list.Count(), 1);
  for (int index : {-1, 1}) {
    try {
      list.Items(index);
      FAIL() << "no exception";
    } catch (const platform::EListError& e) {
      EXPECT_EQ(e.Message(), "List index out of bounds (" + std::to_string(index) + ")");
    }
  }
}

}  // namespace
}  // namespace lx::lang

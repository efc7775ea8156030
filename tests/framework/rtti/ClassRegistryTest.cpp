#include <gtest/gtest.h>

#include "framework/rtti/ClassRegistry.h"
#include "framework/rtti/Published.h"
#include "samples/Gadget.h"
#include "support/Raised.h"

namespace lx::framework {
namespace other {

// A second class of an already used name.
class TGadget : public TComponent {
  LX_CLASS(TGadget, TComponent)

 public:
  explicit TGadget(TComponent* owner) : TComponent(owner) {}
};

class TOtherPart : public support::TPart {
  LX_CLASS(TOtherPart, support::TPart)
};

LX_PUBLISHED(TGadget)
LX_PUBLISHED(TOtherPart)

}  // namespace other

namespace {

class ClassRegistryTest : public ::testing::Test {
 protected:
  void TearDown() override {
    for (const TClassInfo* c :
         {&support::TBigGadget::StaticClassInfo(), &support::TGadget::StaticClassInfo(),
          &other::TGadget::StaticClassInfo(), &other::TOtherPart::StaticClassInfo(),
          &support::TPart::StaticClassInfo()}) {
      UnRegisterClass(*c);
    }
  }
};

TEST_F(ClassRegistryTest, RegisteringAClassRegistersItsAncestors) {
  EXPECT_EQ(GetClass("TBigGadget"), nullptr);
  RegisterClass(support::TBigGadget::StaticClassInfo());
  EXPECT_EQ(GetClass("tbiggadget"), &support::TBigGadget::StaticClassInfo());
  EXPECT_EQ(&FindClass("TGadget"), &support::TGadget::StaticClassInfo());
  EXPECT_EQ(&FindClass("TComponent"), &TComponent::StaticClassInfo());
  EXPECT_EQ(&FindClass("TPersistent"), &TPersistent::StaticClassInfo());
  EXPECT_EQ(GetClass("TObject"), nullptr);
  RegisterClass(support::TBigGadget::StaticClassInfo());

  std::unique_ptr<TComponent> created(FindClass("TBigGadget").CreateComponent(nullptr));
  EXPECT_EQ(created->ClassName(), "TBigGadget");
}

TEST_F(ClassRegistryTest, UnknownNamesRaiseClassNotFound) {
  try {
    FindClass("TNoSuchThing");
    FAIL() << "no exception";
  } catch (const EClassNotFound& e) {
    EXPECT_EQ(e.Message(), "Class TNoSuchThing not found");
  }
}

TEST_F(ClassRegistryTest, ANameTakenByAnotherClassIsRefusedWhole) {
  RegisterClass(support::TGadget::StaticClassInfo());
  try {
    RegisterClass(other::TGadget::StaticClassInfo());
    FAIL() << "no exception";
  } catch (const platform::EFilerError& e) {
    EXPECT_EQ(e.Message(), "A class named TGadget already exists");
  }
  EXPECT_EQ(GetClass("TGadget"), &support::TGadget::StaticClassInfo());

  // Nothing of a refused chain is registered.
  UnRegisterClass(support::TGadget::StaticClassInfo());
  RegisterClass(other::TGadget::StaticClassInfo());
  EXPECT_RAISES(RegisterClass(support::TBigGadget::StaticClassInfo()), platform::EFilerError,
                "A class named TGadget already exists");
  EXPECT_EQ(GetClass("TBigGadget"), nullptr);
}

TEST_F(ClassRegistryTest, RegisterClassesAndUnregister) {
  RegisterClasses({&other::TOtherPart::StaticClassInfo(), &support::TGadget::StaticClassInfo()});
  EXPECT_NE(GetClass("TOtherPart"), nullptr);
  EXPECT_NE(GetClass("TPart"), nullptr);
  UnRegisterClass(other::TOtherPart::StaticClassInfo());
  EXPECT_EQ(GetClass("TOtherPart"), nullptr);
  EXPECT_NE(GetClass("TPart"), nullptr);
  // Only the registered class itself is taken away.
  UnRegisterClass(other::TGadget::StaticClassInfo());
  EXPECT_EQ(GetClass("TGadget"), &support::TGadget::StaticClassInfo());
}

}  // namespace
}  // namespace lx::framework

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "framework/core/Component.h"
#include "framework/rtti/Published.h"
#include "framework/rtti/TypInfo.h"
#include "framework/streaming/Filer.h"
#include "framework/streaming/TextForm.h"
#include "samples/Gadget.h"
#include "support/Raised.h"

namespace lx::framework {
namespace {

using Log = std::vector<std::string>;

// A component that records its destruction, the notifications it hears, and drops its
// reference to a component that goes away.
class TProbe : public TComponent {
  LX_CLASS(TProbe, TComponent)

 public:
  TProbe(TComponent* owner, std::string name, Log* log = nullptr) : TComponent(owner), log_(log) {
    SetName(name);
  }
  ~TProbe() override {
    if (log_ != nullptr) log_->push_back("~" + Name());
  }

  TComponent* ref = nullptr;
  bool ownerWasDestroying = false;
  int removals = 0;

  void Watch(TComponent* target) {
    ref = target;
    target->FreeNotification(this);
  }
  void Record(std::string text) {
    if (log_ != nullptr) log_->push_back(Name() + ":" + std::move(text));
  }

 protected:
  void Notification(TComponent* component, TOperation operation) override {
    TComponent::Notification(component, operation);
    if (operation != opRemove) return;
    ++removals;
    if (component == ref) {
      ref = nullptr;
      Record("lost");
    }
  }

 private:
  Log* log_;
};

LX_PUBLISHED(TProbe)

// Records in its destructor whether it is going with its owner.
class TOwnerWatch : public TComponent {
 public:
  TOwnerWatch(TComponent* owner, bool* seen) : TComponent(owner), seen_(seen) {}
  ~TOwnerWatch() override { *seen_ = ComponentState().Contains(csDestroying); }

 private:
  bool* seen_;
};

// Hears notifications but never passes them to the base class.
class TDeaf : public TComponent {
 public:
  using TComponent::TComponent;
  int heard = 0;

 protected:
  void Notification(TComponent*, TOperation) override { ++heard; }
};

// Refuses components whose name starts with "No".
class TPicky : public TComponent {
 public:
  using TComponent::TComponent;

 protected:
  void ValidateInsert(TComponent* component) override {
    if (component->Name().starts_with("No")) throw EComponentError("refused");
  }
};

template <typename F>
void ExpectComponentError(F action, const std::string& message) {
  try {
    action();
    FAIL() << "no exception, expected: " << message;
  } catch (const EComponentError& e) {
    EXPECT_EQ(e.Message(), message);
  }
}

TEST(ComponentTest, OwnedComponentsAreFreedWithTheOwnerLastFirst) {
  Log log;
  {
    TProbe form(nullptr, "Form", &log);
    new TProbe(&form, "A", &log);
    auto* b = new TProbe(&form, "B", &log);
    new TProbe(b, "B1", &log);
    new TProbe(b, "B2", &log);
    new TProbe(&form, "C", &log);
    EXPECT_EQ(form.ComponentCount(), 3);
  }
  EXPECT_EQ(log, (Log{"~Form", "~C", "~B", "~B2", "~B1", "~A"}));
}

TEST(ComponentTest, OwnedComponentsAreListedInOrderAndCanBeMoved) {
  TProbe form(nullptr, "Form");
  auto* a = new TProbe(&form, "A");
  auto* b = new TProbe(&form, "B");
  auto* c = new TProbe(&form, "C");
  EXPECT_EQ(form.Components(1), b);
  EXPECT_EQ(c->ComponentIndex(), 2);
  EXPECT_EQ(form.ComponentIndex(), -1);
  c->SetComponentIndex(0);
  EXPECT_EQ(form.Components(0), c);
  EXPECT_EQ(form.Components(1), a);
  c->SetComponentIndex(99);
  EXPECT_EQ(form.Components(2), c);
  a->SetComponentIndex(-5);
  EXPECT_EQ(form.Components(0), a);
  EXPECT_EQ(a->Owner(), &form);
  EXPECT_EQ(a->GetOwner(), &form);
  for (int index : {-1, 3}) {
    try {
      form.Components(index);
      FAIL() << "no exception";
    } catch (const platform::EListError& e) {
      EXPECT_EQ(e.Message(), "List index out of bounds (" + std::to_string(index) + ")");
    }
  }
}

TEST(ComponentTest, NamesAreIdentifiersUniqueWithinTheOwner) {
  TProbe form(nullptr, "Form");
  auto* button = new TProbe(&form, "Button1");
  auto* other = new TProbe(&form, "");
  for (const char* bad : {"1Button", "Button 1", "Bütton", "Button-1", " "}) {
    ExpectComponentError([&] { other->SetName(bad); },
                         std::string("'") + bad + "' is not a valid component name");
  }
  ExpectComponentError([&] { other->SetName("BUTTON1"); },
                       "A component named BUTTON1 already exists");
  EXPECT_EQ(other->Name(), "");
  button->SetName("BUTTON1");
  EXPECT_EQ(button->Name(), "BUTTON1");
  other->SetName("_Label2");
  new TProbe(&form, "");
  EXPECT_EQ(form.FindComponent("_label2"), other);
  EXPECT_EQ(form.FindComponent("button1"), button);
  EXPECT_EQ(form.FindComponent(""), nullptr);
  EXPECT_EQ(form.FindComponent("Missing"), nullptr);
  // Components without owner may share names.
  TProbe loose1(nullptr, "Same");
  TProbe loose2(nullptr, "Same");
  SetStrProp(loose2, "Name", "Renamed");
  EXPECT_EQ(loose2.Name(), "Renamed");
}

TEST(ComponentTest, InsertingMovesAComponentBetweenOwners) {
  TProbe form1(nullptr, "Form1");
  TProbe form2(nullptr, "Form2");
  auto* a = new TProbe(&form1, "A");
  new TProbe(&form2, "A");
  auto* b = new TProbe(&form1, "B");

  ExpectComponentError([&] { form2.InsertComponent(a); }, "A component named A already exists");
  EXPECT_EQ(a->Owner(), &form1);
  form2.InsertComponent(b);
  EXPECT_EQ(b->Owner(), &form2);
  EXPECT_EQ(form1.ComponentCount(), 1);
  EXPECT_EQ(form2.FindComponent("B"), b);

  ExpectComponentError([&] { a->InsertComponent(&form1); },
                       "A component cannot own itself or its owners");
  ExpectComponentError([&] { a->InsertComponent(a); },
                       "A component cannot own itself or its owners");

  form1.RemoveComponent(a);
  EXPECT_EQ(a->Owner(), nullptr);
  EXPECT_EQ(form1.ComponentCount(), 0);
  std::unique_ptr<TComponent> freed(a);

  TPicky picky(nullptr);
  TProbe refused(nullptr, "NoWay");
  EXPECT_RAISES(picky.InsertComponent(&refused), EComponentError, "refused");
  EXPECT_EQ(picky.ComponentCount(), 0);
  EXPECT_EQ(refused.Owner(), nullptr);
}

TEST(ComponentTest, AFreedComponentTellsEveryoneWatchingIt) {
  Log log;
  TProbe form1(nullptr, "Form1", &log);
  TProbe form2(nullptr, "Form2", &log);
  auto* target = new TProbe(&form1, "Target", &log);
  std::vector<TProbe*> watchers;
  for (int i = 0; i < 5; ++i) {
    std::string name = "W";
    name += std::to_string(i);
    watchers.push_back(new TProbe(&form2, name, &log));
    watchers.back()->Watch(target);
  }
  EXPECT_TRUE(target->ComponentState().Contains(csFreeNotification));
  delete target;
  for (TProbe* watcher : watchers)
    EXPECT_EQ(watcher->ref, nullptr);
  EXPECT_EQ(form1.ComponentCount(), 0);
  // A watcher freed afterwards has nothing left to tell the target.
  delete watchers[0];
}

TEST(ComponentTest, FreeNotificationsWorkBothWays) {
  TProbe left(nullptr, "Left");
  auto* right = new TProbe(nullptr, "Right");
  left.Watch(right);
  right->Watch(&left);
  right->Watch(&left);
  delete right;
  EXPECT_EQ(left.ref, nullptr);
  EXPECT_EQ(left.removals, 1);
  // Left's link to the freed component is gone: freeing left now touches nothing freed.
}

TEST(ComponentTest, RemovedFreeNotificationsAreNotSent) {
  TProbe watcher(nullptr, "Watcher");
  auto* target = new TProbe(nullptr, "Target");
  watcher.Watch(target);
  watcher.RemoveFreeNotification(target);
  EXPECT_FALSE(target->ComponentState().Contains(csFreeNotification));
  delete target;
  EXPECT_EQ(watcher.removals, 0);
}

TEST(ComponentTest, ALinkIsDroppedEvenWhenTheHearerKeepsTheNewsToItself) {
  auto* deaf = new TDeaf(nullptr);
  {
    TProbe target(nullptr, "Target");
    target.FreeNotification(deaf);
  }
  EXPECT_EQ(deaf->heard, 1);
  delete deaf;
}

TEST(ComponentTest, OwnersPassNotificationsOnToWhatTheyOwn) {
  TProbe form(nullptr, "Form");
  auto* label = new TProbe(&form, "Label");
  auto* button = new TProbe(&form, "Button");
  label->ref = button;  // a sibling reference without a free notification
  delete button;
  EXPECT_EQ(label->ref, nullptr);
  auto* edit = new TProbe(&form, "Edit");
  label->ref = edit;
  form.RemoveComponent(edit);
  EXPECT_EQ(label->ref, nullptr);
  delete edit;
}

// Only listeners are told, but every listener is: a component whose class hears, and one
// that owns components (also one that gains its first after its owner last asked).
TEST(ComponentTest, NewsReachEveryListenerHoweverDeep) {
  TProbe form(nullptr, "Form");
  auto* first = new TProbe(&form, "First");
  auto* plain = new TComponent(&form);
  plain->SetName("Plain");
  auto* target = new TProbe(&form, "Target");
  auto* late = new TComponent(&form);
  delete new TProbe(&form, "Passing");  // the owner asks the others here
  auto* deep = new TProbe(plain, "Deep");
  auto* later = new TProbe(late, "Later");
  first->ref = deep->ref = later->ref = target;
  delete target;
  EXPECT_EQ(first->ref, nullptr);
  EXPECT_EQ(deep->ref, nullptr);
  EXPECT_EQ(later->ref, nullptr);
  plain->SetComponentIndex(0);  // order changes keep every listener
  auto* second = new TProbe(&form, "Second");
  first->ref = deep->ref = later->ref = second;
  delete second;
  EXPECT_EQ(first->ref, nullptr);
  EXPECT_EQ(deep->ref, nullptr);
  EXPECT_EQ(later->ref, nullptr);
}

// Many components are found by name through an index that follows every change.
TEST(ComponentTest, ManyComponentsAreFoundByNameAfterEveryChange) {
  TProbe form(nullptr, "Form");
  for (int i = 0; i < 100; ++i)
    new TProbe(&form, "Item" + std::to_string(i));
  EXPECT_EQ(form.FindComponent("ITEM42"), form.Components(42));
  ExpectComponentError([&] { new TProbe(&form, "item7"); },
                       "A component named item7 already exists");
  EXPECT_EQ(form.ComponentCount(), 100);
  form.Components(42)->SetName("Renamed");
  EXPECT_EQ(form.FindComponent("Item42"), nullptr);
  EXPECT_EQ(form.FindComponent("renamed"), form.Components(42));
  delete form.Components(42);
  EXPECT_EQ(form.FindComponent("Renamed"), nullptr);
  auto* moved = form.Components(10);
  TProbe other(nullptr, "Other");
  other.InsertComponent(moved);
  EXPECT_EQ(form.FindComponent("Item10"), nullptr);
  EXPECT_EQ(other.FindComponent("item10"), moved);
  new TProbe(&form, "Item10");
  EXPECT_NE(form.FindComponent("Item10"), nullptr);
}

// Two forms whose components watch each other, freed in either order.
void FreeCrossLinkedForms(bool firstFormFirst) {
  auto* form1 = new TProbe(nullptr, "Form1");
  auto* form2 = new TProbe(nullptr, "Form2");
  auto* a = new TProbe(form1, "A");
  auto* b = new TProbe(form2, "B");
  auto* c = new TProbe(form2, "C");
  a->Watch(b);
  b->Watch(a);
  c->Watch(a);
  form2->Watch(a);
  if (firstFormFirst) {
    delete form1;
    EXPECT_EQ(b->ref, nullptr);
    EXPECT_EQ(c->ref, nullptr);
    EXPECT_EQ(form2->ref, nullptr);
    delete form2;
  } else {
    delete form2;
    EXPECT_EQ(a->ref, nullptr);
    delete form1;
  }
}

TEST(ComponentTest, CrossLinkedFormsCanBeFreedInEitherOrder) {
  FreeCrossLinkedForms(true);
  FreeCrossLinkedForms(false);
}

TEST(ComponentTest, SiblingsWatchingEachOtherAreFreedWithTheirOwner) {
  auto* form = new TProbe(nullptr, "Form");
  auto* first = new TProbe(form, "First");
  auto* second = new TProbe(form, "Second");
  auto* third = new TProbe(form, "Third");
  first->Watch(third);
  third->Watch(first);
  second->Watch(first);
  delete form;
}

TEST(ComponentTest, AComponentFreedWhileBeingToldOfAnotherIsHandled) {
  // On hearing that its target goes, the watcher frees a helper that others watch.
  class TCleaner : public TProbe {
   public:
    using TProbe::TProbe;
    TProbe* helper = nullptr;

   protected:
    void Notification(TComponent* component, TOperation operation) override {
      TProbe::Notification(component, operation);
      if (operation == opRemove && helper != nullptr && component != helper) {
        delete std::exchange(helper, nullptr);
      }
    }
  };
  TProbe form(nullptr, "Form");
  auto* cleaner = new TCleaner(&form, "Cleaner");
  cleaner->helper = new TProbe(&form, "Helper");
  auto* target = new TProbe(nullptr, "Target");
  auto* helperWatcher = new TProbe(&form, "HelperWatcher");
  helperWatcher->Watch(cleaner->helper);
  cleaner->Watch(target);
  delete target;
  EXPECT_EQ(cleaner->helper, nullptr);
  EXPECT_EQ(helperWatcher->ref, nullptr);
  EXPECT_EQ(form.ComponentCount(), 2);
}

TEST(ComponentTest, OwnedComponentsKnowTheyGoWithTheirOwner) {
  bool seen = true;
  TProbe form(nullptr, "Form");
  delete new TOwnerWatch(&form, &seen);
  EXPECT_FALSE(seen);
  {
    TProbe inner(&form, "Inner");
    new TOwnerWatch(&inner, &seen);
    form.RemoveComponent(&inner);
  }
  EXPECT_TRUE(seen);
}

TEST(ComponentTest, DesignStateReachesOwnedComponents) {
  TProbe form(nullptr, "Form");
  auto* panel = new TProbe(&form, "Panel");
  auto* button = new TProbe(panel, "Button");
  form.SetDesigning(true);
  EXPECT_TRUE(button->ComponentState().Contains(csDesigning));
  auto* later = new TProbe(panel, "Later");
  EXPECT_TRUE(later->ComponentState().Contains(csDesigning));
  panel->SetDesigning(false, false);
  EXPECT_FALSE(panel->ComponentState().Contains(csDesigning));
  EXPECT_TRUE(button->ComponentState().Contains(csDesigning));
  form.SetDesigning(false);
  EXPECT_FALSE(later->ComponentState().Contains(csDesigning));
  EXPECT_EQ(form.ComponentStyle(), TComponentStyle{csInheritable});
  button->SetSubComponent(true);
  EXPECT_TRUE(button->ComponentStyle().Contains(csSubComponent));
}

TEST(ComponentTest, PublishedFieldsFollowTheComponentOfTheirName) {
  support::TBigGadget form(nullptr);
  auto* gadget = new support::TGadget(&form);
  gadget->SetName("buddy");
  EXPECT_EQ(form.buddy, gadget);
  gadget->SetName("Pal");
  EXPECT_EQ(form.buddy, nullptr);
  gadget->SetName("Buddy");
  EXPECT_EQ(form.buddy, gadget);

  auto* plain = new TComponent(&form);
  ExpectComponentError(
      [&] {
        plain->SetName("Buddy2");
        plain->SetName("Buddy");
      },
      "A component named Buddy already exists");
  delete gadget;
  EXPECT_EQ(form.buddy, nullptr);
  ExpectComponentError([&] { plain->SetName("Buddy"); },
                       "Field TBigGadget.Buddy cannot hold a TComponent");
  EXPECT_EQ(plain->Name(), "Buddy2");

  auto* loose = new support::TGadget(nullptr);
  loose->SetName("Buddy");
  form.InsertComponent(loose);
  EXPECT_EQ(form.buddy, loose);
  form.RemoveComponent(loose);
  EXPECT_EQ(form.buddy, nullptr);
  form.InsertComponent(loose);
  form.DestroyComponents();
  EXPECT_EQ(form.buddy, nullptr);
  EXPECT_EQ(form.ComponentCount(), 0);
}

// A component that is no control keeps where the designer placed it, and an inherited form
// stores it only where it differs from the ancestor.
TEST(ComponentTest, TheDesignPositionIsStoredAsLeftAndTop) {
  TComponent placed(nullptr);
  placed.SetName("Translator1");
  placed.SetDesignLeft(300);
  placed.SetDesignTop(8);
  TMemoryStream stream;
  WriteComponentTo(stream, placed);
  EXPECT_EQ(FormBinaryToText(stream.Bytes()),
            "object Translator1: TComponent\n  Left = 300\n  Top = 8\nend\n");
  TComponent read(nullptr);
  stream.SetPosition(0);
  ReadComponentFrom(stream, &read);
  EXPECT_EQ(read.DesignLeft(), 300);
  EXPECT_EQ(read.DesignTop(), 8);

  TComponent ancestor(nullptr);
  ancestor.SetDesignLeft(300);
  TMemoryStream inherited;
  WriteComponentTo(inherited, placed, &ancestor);
  EXPECT_EQ(FormBinaryToText(inherited.Bytes()),
            "inherited Translator1: TComponent\n  Top = 8\nend\n");
}

}  // namespace
}  // namespace lx::framework

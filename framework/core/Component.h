// TComponent: named objects in an ownership tree.
//
// A component is created with its owner (or none) and freed with it: the owner deletes what it
// owns, the last first, so components with an owner are created with new. Components refer to
// one another safely through free notifications: after a.FreeNotification(b) each of the two
// hears Notification(other, opRemove) before the other is gone, and an owner passes every
// notification it gets on to what it owns that listens: the components whose class (named
// with LX_CLASS) or an ancestor overrides Notification, and those that own components
// themselves. Others would do nothing with the news, and telling them all would make building
// and freeing a form of n components cost n * n. Notifications sent while a component is being
// destroyed carry a pointer that is only good for comparing: the destroyed object's own class
// is already gone.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "framework/core/Persistent.h"
#include "framework/core/Set.h"

namespace lx::framework {

class TReader;
class TWriter;
class TLoadedList;

LX_ENUM(TComponentStateItem, csLoading, csReading, csWriting, csDestroying, csDesigning, csAncestor,
        csUpdating, csFixups, csFreeNotification, csInline, csDesignInstance)
using TComponentState = TSet<TComponentStateItem, std::uint16_t>;

LX_ENUM(TComponentStyleItem, csInheritable, csCheckPropAvail, csSubComponent, csTransient)
using TComponentStyle = TSet<TComponentStyleItem, std::uint8_t>;

LX_ENUM(TOperation, opInsert, opRemove)

/// Component names and ownership ("A component named X already exists").
class EComponentError : public platform::Exception {
 public:
  using Exception::Exception;
};

class TComponent;
using TGetChildProc = std::function<void(TComponent* child)>;

class TComponent : public TPersistent {
  LX_CLASS(TComponent, TPersistent)
  friend class TReader;
  friend class TWriter;
  friend class TLoadedList;

 public:
  /// A component owned by `owner` (which may be null); it takes the owner's design state.
  explicit TComponent(TComponent* owner);
  /// Tells every component linked by free notification, then frees the owned components,
  /// the last first, then leaves the owner.
  ~TComponent() override;

  TComponent* Owner() const { return owner_; }
  TPersistent* GetOwner() const override;
  int ComponentCount() const { return static_cast<int>(components_.size()); }
  /// The owned component at `index`; raises EListError "List index out of bounds (<index>)".
  TComponent* Components(int index) const;
  /// The position among the owner's components; -1 without owner.
  int ComponentIndex() const;
  /// Moves the component among its owner's components (the index is kept in range).
  void SetComponentIndex(int value);

  const std::string& Name() const { return name_; }
  /// Renames the component. The name is empty or an identifier ("'<name>' is not a valid
  /// component name") and unique among the owner's components, ignoring ASCII case ("A
  /// component named <name> already exists"). The owner's published field of that name
  /// follows the component.
  virtual void SetName(const std::string& value);
  int Tag() const { return tag_; }
  void SetTag(int value) { tag_ = value; }
  /// Where a form designer placed a component that is no control (stored as the defined
  /// properties "Left" and "Top", written when not zero). Controls keep their own Left/Top.
  int DesignLeft() const { return designLeft_; }
  void SetDesignLeft(int value) { designLeft_ = value; }
  int DesignTop() const { return designTop_; }
  void SetDesignTop(int value) { designTop_ = value; }
  void DefineProperties(TFiler& filer) override;

  TComponentState ComponentState() const { return state_; }
  TComponentStyle ComponentStyle() const { return style_; }
  /// The owned component named `name` (ASCII case-insensitive), or null.
  TComponent* FindComponent(std::string_view name) const;

  /// Takes `component` over from its current owner, if any.
  void InsertComponent(TComponent* component);
  /// Lets `component` go: it no longer has an owner and is the caller's to free.
  void RemoveComponent(TComponent* component);
  /// Frees every owned component, the last first.
  void DestroyComponents();
  /// Marks the component and what it owns as being destroyed (csDestroying).
  void Destroying();

  /// Links this component and `component` so that each is told before the other is freed.
  void FreeNotification(TComponent* component);
  /// Undoes FreeNotification in both directions, telling neither.
  void RemoveFreeNotification(TComponent* component);

  /// Switches the design state, of the owned components too unless `setChildren` is false.
  void SetDesigning(bool value, bool setChildren = true);
  void SetSubComponent(bool value);

  // The child protocol of streaming and controls. GetChildren gives the components stored as
  // children of this one (none by default); the others say where a stored child belongs.
  virtual void GetChildren(const TGetChildProc& proc, TComponent* root);
  virtual TComponent* GetChildOwner();
  virtual TComponent* GetChildParent();
  virtual TComponent* GetParentComponent() const;
  virtual bool HasParent() const;
  virtual void SetParentComponent(TComponent* value);
  virtual void SetChildOrder(TComponent* child, int order);

 protected:
  /// `component` was inserted into or is being removed from the tree; the base drops a free
  /// notification link to a removed component and passes the news to every owned component.
  virtual void Notification(TComponent* component, TOperation operation);
  /// The whole stored form has been read; the base leaves the loading state.
  virtual void Loaded();
  /// Reads the component's properties and children from a stored form (reader.ReadData).
  virtual void ReadState(TReader& reader);
  /// Writes the component's properties and children (writer.WriteData).
  virtual void WriteState(TWriter& writer);
  virtual void ValidateRename(TComponent* component, const std::string& curName,
                              const std::string& newName);
  /// Asks the future owner `container` whether it accepts this component.
  virtual void ValidateContainer(TComponent* container);
  /// Lets this owner refuse `component` by raising.
  virtual void ValidateInsert(TComponent* component);
  virtual void Updating();
  virtual void Updated();

  void ChangeName(const std::string& newName);
  void SetComponentStyle(TComponentStyle style) { style_ = style; }
  void SetAncestor(bool value);
  void SetInline(bool value);
  void SetDesignInstance(bool value);
  void SetState(TComponentStateItem item, bool on);

 private:
  void DefineDesignPosition(TFiler& filer);
  void Insert(TComponent* component);
  void Remove(TComponent* component);
  void RemoveFreeNotifications();
  void Unlink(TComponent* component);
  void SetReference(bool enable);
  void CheckUniqueName(const std::string& name, const TComponent* except) const;
  // Who hears the owner's notifications, kept in the order of the owned components.
  bool Listens() const;
  void AskListeners(const TComponent* inserted);
  void Listen(TComponent* component, std::size_t index);
  void OrderListeners();
  void TellListeners(TComponent* component, TOperation operation);
  // Owned components by name once there are many; no index while two share a name.
  TComponent* FindIndexed(std::string_view name) const;
  void BuildNameIndex();
  void IndexName(TComponent* component);
  void UnindexName(const TComponent* component);

  TComponent* owner_ = nullptr;
  std::vector<TComponent*> components_;
  std::vector<TComponent*> listeners_;
  // How many of the first owned components were asked whether they listen. A component is
  // asked at the owner's next notification after its insertion, once it is fully made.
  std::size_t asked_ = 0;
  bool listening_ = false;  // in the owner's listeners_
  struct TNameIndex;
  std::unique_ptr<TNameIndex> names_;
  std::size_t indexFrom_ = 32;
  std::vector<TComponent*> freeNotifies_;
  std::string name_;
  int tag_ = 0;
  int designLeft_ = 0;
  int designTop_ = 0;
  TComponentState state_;
  TComponentStyle style_{csInheritable};
};

}  // namespace lx::framework

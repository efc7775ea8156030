// TReader: components, properties, collections and the references set after reading.
#include <algorithm>
#include <optional>
#include <utility>

#include "framework/core/Collection.h"
#include "framework/core/ScopeExit.h"
#include "framework/rtti/ClassRegistry.h"
#include "framework/rtti/TypInfo.h"
#include "framework/streaming/Filer.h"
#include "framework/streaming/LoadedList.h"
#include "framework/streaming/StandIns.h"
#include "platform/TextUtils.h"

namespace lx::framework {

namespace {

// Raises the exception being handled again with `prefix` before its message. Stream errors
// keep their class; the framework's own errors (names, property values, lists, conversions)
// become reader errors; anything else (an engine's error from its own reader) passes as it is.
[[noreturn]] void RethrowInContext(const std::string& prefix) {
  try {
    throw;
  } catch (platform::EStreamError& e) {
    e.SetMessage(prefix + e.Message());
    throw;
  } catch (const EPropertyError& e) {
    throw platform::EReadError(prefix + e.Message());
  } catch (const EPropertyConvertError& e) {
    throw platform::EReadError(prefix + e.Message());
  } catch (const EComponentError& e) {
    throw platform::EReadError(prefix + e.Message());
  } catch (const EAbstractError& e) {
    throw platform::EReadError(prefix + e.Message());
  } catch (const platform::EConvertError& e) {
    throw platform::EReadError(prefix + e.Message());
  } catch (const platform::EListError& e) {
    throw platform::EReadError(prefix + e.Message());
  } catch (const platform::ERangeError& e) {
    throw platform::EReadError(prefix + e.Message());
  }
}

std::string DisplayName(const TPersistent& instance) {
  const auto* component = dynamic_cast<const TComponent*>(&instance);
  return component != nullptr && !component->Name().empty() ? component->Name()
                                                            : instance.ClassName();
}

bool IsComponentClass(const std::string& className) {
  const TClassInfo* classInfo = GetClass(className);
  return classInfo != nullptr && classInfo->InheritsFrom(TComponent::StaticClassInfo());
}

const TClassInfo& FindComponentClass(const std::string& className) {
  const TClassInfo& classInfo = FindClass(className);
  if (!classInfo.InheritsFrom(TComponent::StaticClassInfo())) {
    throw EClassNotFound("Class " + className + " not found");
  }
  return classInfo;
}

// A root read into an owned instance takes the stored name, made unique among its siblings.
std::string UniqueRootName(const TComponent& root, const std::string& name) {
  const TComponent* owner = root.Owner();
  auto taken = [&](const std::string& candidate) {
    const TComponent* same = owner != nullptr ? owner->FindComponent(candidate) : nullptr;
    return same != nullptr && same != &root;
  };
  if (name.empty() || !taken(name)) return name;
  for (int i = 1;; ++i) {
    const std::string candidate = name + "_" + std::to_string(i);
    if (!taken(candidate)) return candidate;
  }
}

// A component stored by name: "Name" among the root's components, "Owner" for the root itself,
// "Form.Name" inside another component the root owns or inside another root with the same
// owner (another form of the application).
TComponent* FindReference(TComponent& root, const std::string& name) {
  if (platform::SameTextAscii(name, "Owner")) return &root;
  const std::size_t dot = name.find('.');
  if (dot == std::string::npos) return root.FindComponent(name);
  const std::string first = name.substr(0, dot);
  const std::string rest = name.substr(dot + 1);
  TComponent* container = root.FindComponent(first);
  if (container == nullptr && root.Owner() != nullptr)
    container = root.Owner()->FindComponent(first);
  if (container == nullptr && platform::SameTextAscii(first, root.Name())) container = &root;
  return container != nullptr ? FindReference(*container, rest) : nullptr;
}

// An integer of a type with named constants may be stored by its name.
std::int64_t ReadIntegerValue(TReader& reader, const TPropInfo& property) {
  if (reader.NextValue() != vaIdent) return reader.ReadInteger();
  const std::string name = reader.ReadIdent();
  const TIdentMap* map = property.IdentMap();
  const std::optional<std::int32_t> value = map != nullptr ? map->ValueOf(name) : std::nullopt;
  if (!value) throw platform::EReadError("Invalid property value: " + name);
  return *value;
}

}  // namespace

// The component references met while reading, set once the whole form is there. An entry
// whose component is freed, or whose collection item is cleared away, in the meantime is
// dropped, so that no reference is set through a freed object.
class TReader::TFixups {
 public:
  struct TEntry {
    TComponent* component;  // whose stored property led to the reference
    TPersistent* instance;  // the object whose property is set
    const TPropInfo* property;
    std::string context;  // "Error reading Button1.Buddy: "
    std::string name;
    std::vector<const TCollection*> collections;  // the collections the instance lies in
  };

  TFixups() : watcher_(std::make_unique<TWatcher>()) {}
  ~TFixups() { watcher_->Release(); }

  void Add(TEntry entry) {
    if (entry.component != nullptr) entry.component->FreeNotification(watcher_.get());
    watcher_->entries.push_back(std::move(entry));
  }

  void DropCollection(const TCollection* collection) {
    std::erase_if(watcher_->entries, [&](const TEntry& entry) {
      return std::find(entry.collections.begin(), entry.collections.end(), collection) !=
             entry.collections.end();
    });
  }

  // A tolerant reader keeps a reference to no component as it was stored.
  void Resolve(TComponent& root, TReadTolerance* tolerance) {
    const std::vector<TEntry> entries = watcher_->entries;
    watcher_->Release();
    for (const TEntry& entry : entries) {
      TComponent* target = FindReference(root, entry.name);
      if (target == nullptr && tolerance != nullptr && entry.name.size() <= 255) {
        std::vector<std::uint8_t> value{vaIdent, static_cast<std::uint8_t>(entry.name.size())};
        value.insert(value.end(), entry.name.begin(), entry.name.end());
        tolerance->Keep(*entry.instance, entry.property->Name(), std::move(value));
        continue;
      }
      try {
        if (target == nullptr) {
          throw platform::EReadError("Component " + entry.name + " not found");
        }
        SetObjectProp(*entry.instance, *entry.property, target);
      } catch (...) {
        RethrowInContext(entry.context);
      }
    }
  }

 private:
  class TWatcher : public TComponent {
   public:
    TWatcher() : TComponent(nullptr) {}
    std::vector<TEntry> entries;

    // Leaves every watched component without telling it, the last linked first (where its
    // link lies).
    void Release() {
      for (auto entry = entries.rbegin(); entry != entries.rend(); ++entry) {
        if (entry->component != nullptr) RemoveFreeNotification(entry->component);
      }
      entries.clear();
    }

   protected:
    void Notification(TComponent* component, TOperation operation) override {
      if (operation == opRemove) {
        std::erase_if(entries, [&](const TEntry& entry) { return entry.component == component; });
      }
      TComponent::Notification(component, operation);
    }
  };

  std::unique_ptr<TWatcher> watcher_;
};

// Made here, where the fixups are known.
TReader::TReader(TStream& stream, int bufSize)
    : TFiler(stream), buffer_(static_cast<std::size_t>(std::max(bufSize, 16))) {}

TReader::~TReader() {
  try {
    FlushBuffer();
  } catch (...) {
    // A stream that cannot seek back keeps its position; nothing else is lost.
  }
}

TComponent* TReader::ReadRootComponent(TComponent* root) {
  ReadSignature();
  TFilerFlags flags;
  int childPos = 0;
  ReadPrefix(flags, childPos);
  const std::string className = ReadStr();
  const std::string name = ReadStr();
  std::unique_ptr<TComponent> created;
  try {
    if (root == nullptr && tolerance_ != nullptr && !IsComponentClass(className)) {
      created.reset(tolerance_->CreateStandIn(className, nullptr));
      root = created.get();
      root->SetName(name);
    } else if (root == nullptr) {
      created.reset(FindComponentClass(className).CreateComponent(nullptr));
      root = created.get();
      root->SetName(name);
    } else if (!root->ComponentState().Contains(csDesigning)) {
      root->SetName(UniqueRootName(*root, name));
    }
  } catch (...) {
    RethrowInContext("");
  }
  std::optional<TLoadedList> ownLoaded;
  if (sharedLoaded_ == nullptr) ownLoaded.emplace();
  ReadRootInto(*root, sharedLoaded_ != nullptr ? *sharedLoaded_ : *ownLoaded);
  if (ownLoaded) ownLoaded->NotifyLoaded();
  created.release();
  return root;
}

void TReader::ReadRootInto(TComponent& root, TLoadedList& loaded) {
  SetRoot(&root);
  SetLookupRoot(&root);
  owner_ = &root;
  parent_ = nullptr;
  loaded_ = &loaded;
  fixups_ = std::make_unique<TFixups>();
  TScopeExit cleanUp([this] {
    fixups_.reset();
    loaded_ = nullptr;
  });
  loaded.Add(&root);
  ReadOwnState(root);
  fixups_->Resolve(root, tolerance_);
}

TComponent* TReader::CreateComponent(const std::string& className, TFilerFlags flags) {
  TComponent* component = tolerance_ != nullptr && !IsComponentClass(className)
                              ? tolerance_->CreateStandIn(className, owner_)
                              : FindComponentClass(className).CreateComponent(owner_);
  if (flags.Contains(ffInline)) component->SetState(csInline, true);
  return component;
}

// Components of the same name inside two stand-ins are owned by them (as their classes own
// what they hold) rather than clash in the root.
TComponent* TReader::CreateTolerantlyOwned(const std::string& className, const std::string& name,
                                           TFilerFlags flags) {
  auto* standIn = dynamic_cast<TStandInComponent*>(parent_);
  if (tolerance_ == nullptr || standIn == nullptr || owner_ == nullptr || name.empty() ||
      owner_->FindComponent(name) == nullptr) {
    return CreateComponent(className, flags);
  }
  TScopeExit restore([this, oldOwner = owner_] { owner_ = oldOwner; });
  owner_ = standIn;
  return CreateComponent(className, flags);
}

TComponent* TReader::FindAncestorComponent(const std::string& name) {
  TComponent* found = LookupRoot() != nullptr ? LookupRoot()->FindComponent(name) : nullptr;
  if (found == nullptr) throw platform::EReadError("Ancestor for '" + name + "' not found");
  return found;
}

TComponent* TReader::ReadComponent(TComponent* component) {
  TNesting nesting(*this);
  TFilerFlags flags;
  int childPos = 0;
  ReadPrefix(flags, childPos);
  const std::string className = ReadStr();
  const std::string name = ReadStr();
  TComponent* result = component;
  bool created = false;
  try {
    if (result == nullptr && flags.Contains(ffInherited) && tolerance_ != nullptr &&
        (LookupRoot() == nullptr || LookupRoot()->FindComponent(name) == nullptr)) {
      // Without its ancestor form an inherited component is read as it stands.
      flags.Exclude(ffInherited);
      result = CreateComponent(className, flags);
      created = true;
    } else if (result == nullptr && flags.Contains(ffInherited)) {
      result = FindAncestorComponent(name);
    } else if (result == nullptr) {
      result = CreateTolerantlyOwned(className, name, flags);
      created = true;
    }
    if (loaded_ != nullptr) loaded_->Add(result);
    if (!flags.Contains(ffInherited)) {
      result->SetParentComponent(parent_);
      if (auto* standIn = dynamic_cast<TStandInComponent*>(parent_)) standIn->AddChild(result);
      result->SetName(name);
    }
    ReadComponentState(*result, flags, childPos);
  } catch (...) {
    if (created) delete result;
    RethrowInContext("");
  }
  return result;
}

// The component's own part of the stream, read while it is in csReading.
void TReader::ReadOwnState(TComponent& component) {
  component.SetState(csReading, true);
  TScopeExit notReading([&component] { component.SetState(csReading, false); });
  component.ReadState(*this);
}

void TReader::ReadComponentState(TComponent& component, TFilerFlags flags, int childPos) {
  TScopeExit restore([this, oldParent = parent_, oldLookupRoot = LookupRoot()] {
    parent_ = oldParent;
    SetLookupRoot(oldLookupRoot);
  });
  // An inherited component is read where it already stands.
  if (flags.Contains(ffInherited)) {
    parent_ = component.GetParentComponent() != nullptr ? component.GetParentComponent() : Root();
  }
  // The stored names inside a frame refer to the frame's own components.
  if (component.ComponentState().Contains(csInline)) SetLookupRoot(&component);
  ReadOwnState(component);
  if (flags.Contains(ffChildPos) && parent_ != nullptr)
    parent_->SetChildOrder(&component, childPos);
}

void TReader::ReadData(TComponent& instance) {
  const bool outermost = fixups_ == nullptr;
  if (outermost) fixups_ = std::make_unique<TFixups>();
  TScopeExit cleanUp([this, outermost] {
    if (outermost) fixups_.reset();
  });
  while (!EndOfList())
    ReadProperty(instance);
  if (tolerance_ != nullptr) tolerance_->PropertiesEnd(instance, Position());
  ReadListEnd();
  {
    TScopeExit restore([this, oldParent = parent_, oldOwner = owner_] {
      parent_ = oldParent;
      owner_ = oldOwner;
    });
    parent_ = instance.GetChildParent();
    owner_ = instance.GetChildOwner() != nullptr ? instance.GetChildOwner() : Root();
    while (!EndOfList())
      ReadComponent(nullptr);
    ReadListEnd();
  }
  if (outermost) fixups_->Resolve(Root() != nullptr ? *Root() : instance, tolerance_);
}

void TReader::ReadProperty(TPersistent& instance) {
  const std::int64_t nameStart = tolerance_ != nullptr ? Position() : 0;
  const std::string path = ReadStr();
  // Inside a collection item the property of the component names a failure.
  if (propertyOwner_ != nullptr) return ReadPropertyTolerantly(instance, path);
  propertyOwner_ = &instance;
  propertyPath_ = &path;
  try {
    const std::int64_t valueStart = tolerance_ != nullptr ? Position() : 0;
    ReadPropertyTolerantly(instance, path);
    auto* component = tolerance_ != nullptr ? dynamic_cast<TComponent*>(&instance) : nullptr;
    if (component != nullptr)
      tolerance_->PropertyMet(*component, path, nameStart, valueStart, Position());
  } catch (...) {
    const std::string context = PropertyContext();
    propertyOwner_ = nullptr;
    RethrowInContext(context);
  }
  propertyOwner_ = nullptr;
}

std::string TReader::PropertyContext() const {
  return "Error reading " + DisplayName(*propertyOwner_) + "." + *propertyPath_ + ": ";
}

// A tolerant reader keeps what the instance cannot take; seeking back to the value's start
// undoes whatever part of it was read.
void TReader::ReadPropertyTolerantly(TPersistent& instance, const std::string& path) {
  if (tolerance_ == nullptr) return ReadPropertyPath(instance, path);
  const std::int64_t start = Position();
  try {
    ReadPropertyPath(instance, path);
    return;
  } catch (const platform::Exception&) {
    // Whatever the instance refuses, its own setters' errors included.
  }
  KeepValue(instance, path, start);
}

void TReader::KeepValue(TPersistent& instance, const std::string& path, std::int64_t start) {
  SeekTo(start);
  SkipValue();
  const std::int64_t end = Position();
  SeekTo(start);
  std::vector<std::uint8_t> value(static_cast<std::size_t>(end - start));
  Read(value.data(), end - start);
  tolerance_->Keep(instance, path, std::move(value));
}

void TReader::SeekTo(std::int64_t position) {
  FlushBuffer();
  Stream().Seek(position, TSeekOrigin::soBeginning);
}

void TReader::ReadPropertyPath(TPersistent& instance, const std::string& path) {
  TPersistent* target = &instance;
  std::size_t start = 0;
  for (std::size_t dot = path.find('.'); dot != std::string::npos; dot = path.find('.', start)) {
    const std::string part = path.substr(start, dot - start);
    const TPropInfo* property = GetPropInfo(*target, part);
    if (property == nullptr) throw platform::EReadError("Property " + part + " does not exist");
    if (property->Kind() != tkClass || !property->IsReadable()) {
      throw platform::EReadError("Invalid property path");
    }
    target = dynamic_cast<TPersistent*>(GetObjectProp(*target, *property));
    if (target == nullptr) throw platform::EReadError("Invalid property path");
    start = dot + 1;
  }
  const std::string name = path.substr(start);
  if (const TPropInfo* property = GetPropInfo(*target, name)) {
    ReadPropValue(*target, *property);
  } else {
    ReadDefinedProperty(*target, name);
  }
}

void TReader::ReadDefinedProperty(TPersistent& instance, const std::string& name) {
  TScopeExit restore(
      [this, oldName = std::exchange(propName_, name), oldRead = std::exchange(propRead_, false)] {
        propName_ = oldName;
        propRead_ = oldRead;
      });
  instance.DefineProperties(*this);
  if (!propRead_) throw platform::EReadError("Property " + name + " does not exist");
}

void TReader::DefineProperty(const std::string& name, const TReaderProc& readData,
                             const TWriterProc&, bool) {
  if (propRead_ || !readData || !platform::SameTextAscii(name, propName_)) return;
  propRead_ = true;
  readData(*this);
}

void TReader::DefineBinaryProperty(const std::string& name, const TStreamProc& readData,
                                   const TStreamProc&, bool) {
  if (propRead_ || !readData || !platform::SameTextAscii(name, propName_)) return;
  propRead_ = true;
  TMemoryStream bytes(ReadBinary());
  readData(bytes);
}

void TReader::ReadPropValue(TPersistent& instance, const TPropInfo& property) {
  switch (property.Kind()) {
    case tkInteger:
      return SetOrdProp(instance, property, ReadIntegerValue(*this, property));
    case tkChar:
      return SetOrdProp(instance, property, static_cast<unsigned char>(ReadChar()));
    case tkWChar:
      return SetOrdProp(instance, property, ReadWideChar());
    case tkEnumeration: {
      const int value = property.EnumType()->ValueOf(ReadIdent());
      if (value < 0) PropValueError();
      return SetOrdProp(instance, property, value);
    }
    case tkSet:
      return SetOrdProp(instance, property,
                        static_cast<std::int64_t>(ReadSet(*property.EnumType())));
    case tkFloat:
      return SetFloatProp(instance, property, ReadFloat());
    case tkString:
    case tkLString:
      return SetStrProp(instance, property, ReadString());
    case tkWString:
    case tkUString:
      return SetWideStrProp(instance, property, ReadWideString());
    case tkInt64:
      return SetInt64Prop(instance, property, ReadInt64());
    case tkClass:
      return ReadObjectValue(instance, property);
    case tkMethod:
      return ReadMethodValue(instance, property);
    default:
      PropValueError();
  }
}

void TReader::ReadObjectValue(TPersistent& instance, const TPropInfo& property) {
  switch (NextValue()) {
    case vaNil:
      ReadValue();
      return SetObjectProp(instance, property, nullptr);
    case vaCollection: {
      auto* collection = dynamic_cast<TCollection*>(GetObjectProp(instance, property));
      if (collection == nullptr) PropValueError();
      ReadValue();
      return ReadCollection(*collection);
    }
    default:
      break;
  }
  std::string name = ReadIdent();
  if (!fixups_) PropValueError();
  auto* component = dynamic_cast<TComponent*>(propertyOwner_);
  fixups_->Add({component, &instance, &property, PropertyContext(), std::move(name), collections_});
}

void TReader::ReadMethodValue(TPersistent& instance, const TPropInfo& property) {
  if (NextValue() == vaNil) {
    ReadValue();
    return SetMethodProp(instance, property, TMethod{});
  }
  std::string name = ReadIdent();
  // A tolerant reader keeps an event whose method the root lacks as it was stored.
  if (tolerance_ != nullptr &&
      (Root() == nullptr || Root()->ClassInfo().FindMethod(name) == nullptr))
    throw platform::EReadError("Method " + name + " does not exist");
  SetMethodProp(instance, property, TMethod{Root(), std::move(name)});
}

void TReader::ReadCollection(TCollection& collection) {
  TNesting nesting(*this);
  collection.BeginUpdate();
  collections_.push_back(&collection);
  TScopeExit end([this, &collection] {
    collections_.pop_back();
    collection.EndUpdate();
  });
  // Even an empty value replaces the items: an inherited form stores "<>" for an ancestor's
  // items that it deleted.
  if (fixups_) fixups_->DropCollection(&collection);
  collection.Clear();
  while (!EndOfList()) {
    if (NextValue() == vaInt8 || NextValue() == vaInt16 || NextValue() == vaInt32) ReadInteger();
    TCollectionItem* item = collection.Add();
    ReadListBegin();
    while (!EndOfList())
      ReadProperty(*item);
    ReadListEnd();
  }
  ReadListEnd();
}

TComponent* ReadComponentFrom(TStream& stream, TComponent* instance) {
  TReader reader(stream, 4096);
  return reader.ReadRootComponent(instance);
}

}  // namespace lx::framework

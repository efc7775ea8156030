// TWriter: components and their properties, compared with defaults or with the ancestor form.
#include "framework/core/Collection.h"
#include "framework/core/ScopeExit.h"
#include "framework/rtti/TypInfo.h"
#include "framework/streaming/Filer.h"
#include "platform/TextUtils.h"

namespace lx::framework {

namespace {

// Only an event bound to a published method of the form itself can be stored by name.
std::string StoredMethodName(const TMethod& method, const TObject* root) {
  return method.data != nullptr && method.data == root ? method.name : std::string();
}

// A value of a type with named constants is written by its name when it has one.
std::string_view ConstantName(const TPropInfo& property, std::int64_t value) {
  return property.IdentMap() != nullptr ? property.IdentMap()->NameOf(value) : std::string_view();
}

}  // namespace

void TWriter::WriteRootComponent(TComponent& root) {
  WriteDescendent(root, nullptr);
}

void TWriter::WriteDescendent(TComponent& root, TComponent* ancestor) {
  rootAncestor_ = ancestor;
  SetAncestor(ancestor);
  SetRoot(&root);
  SetLookupRoot(&root);
  WriteSignature();
  WriteComponent(root);
  FlushBuffer();
}

void TWriter::WriteComponent(TComponent& component) {
  TNesting nesting(*this);
  TScopeExit restore([this, &component, oldAncestor = Ancestor(), oldRootAncestor = rootAncestor_] {
    component.SetState(csWriting, false);
    SetAncestor(oldAncestor);
    rootAncestor_ = oldRootAncestor;
  });
  component.SetState(csWriting, true);
  if (ancestorList_ != nullptr) FindAncestor(component.Name());
  component.WriteState(*this);
}

// The component of the ancestor form with the same name, if any, is what this one is
// compared with.
void TWriter::FindAncestor(const std::string& name) {
  for (TComponent* candidate : *ancestorList_) {
    if (platform::SameTextAscii(candidate->Name(), name)) {
      SetAncestor(candidate);
      return;
    }
  }
  SetAncestor(nullptr);
}

TFilerFlags TWriter::ComponentFlags(const TComponent& instance) const {
  TFilerFlags flags;
  if (instance.ComponentState().Contains(csInline)) {
    const bool fromAncestorForm = Ancestor() != nullptr &&
                                  instance.ComponentState().Contains(csAncestor) &&
                                  ancestorList_ != nullptr;
    flags.Include(fromAncestorForm ? ffInherited : ffInline);
  } else if (Ancestor() != nullptr) {
    flags.Include(ffInherited);
  }
  // A component that does not stand where the ancestor's next one stood keeps its place.
  if (ancestorList_ != nullptr && ancestorPos_ < ancestorList_->size() &&
      (Ancestor() == nullptr || (*ancestorList_)[ancestorPos_] != Ancestor())) {
    flags.Include(ffChildPos);
  }
  return flags;
}

void TWriter::WriteData(TComponent& instance) {
  const std::int64_t start = Position();
  const TFilerFlags flags = ComponentFlags(instance);
  WriteComponentHeader(flags, childPos_, instance.ClassName(), instance.Name());
  const std::int64_t properties = Position();
  if (ancestorList_ != nullptr && ancestorPos_ < ancestorList_->size()) {
    if (Ancestor() != nullptr) ++ancestorPos_;
    ++childPos_;
  }
  WriteProperties(instance);
  WriteListEnd();
  WriteChildren(instance);
  WriteListEnd();
  // An inherited component that changed nothing is left out altogether.
  const bool unchanged = Position() == properties + 2 && flags == TFilerFlags{ffInherited};
  if (&instance != Root() && unchanged && start >= flushed_) {
    bytes_.resize(static_cast<std::size_t>(start - flushed_));
  }
}

void TWriter::WriteChildren(TComponent& instance) {
  TScopeExit restore([this, oldList = ancestorList_, oldPos = ancestorPos_, oldChild = childPos_,
                      oldRoot = Root(), oldRootAncestor = rootAncestor_] {
    ancestorList_ = oldList;
    ancestorPos_ = oldPos;
    childPos_ = oldChild;
    SetRoot(oldRoot);
    rootAncestor_ = oldRootAncestor;
  });
  ancestorList_ = nullptr;
  ancestorPos_ = 0;
  childPos_ = 0;
  if (IgnoreChildren()) return;
  std::vector<TComponent*> ancestors;
  if (auto* ancestor = dynamic_cast<TComponent*>(Ancestor())) {
    if (ancestor->ComponentState().Contains(csInline)) rootAncestor_ = ancestor;
    ancestor->GetChildren([&ancestors](TComponent* child) { ancestors.push_back(child); },
                          rootAncestor_);
    ancestorList_ = &ancestors;
  }
  if (instance.ComponentState().Contains(csInline)) SetRoot(&instance);
  instance.GetChildren([this](TComponent* child) { WriteComponent(*child); }, Root());
}

void TWriter::WriteProperties(TPersistent& instance) {
  for (const TPropInfo* property : GetPropList(instance)) {
    if (property->IsReadable() && IsStoredProp(instance, *property)) {
      WriteProperty(instance, *property);
    }
  }
  instance.DefineProperties(*this);
}

void TWriter::WriteStoredProperties(TComponent& root, TPersistent& instance) {
  SetRoot(&root);
  SetLookupRoot(&root);
  WriteProperties(instance);
  FlushBuffer();
}

void TWriter::WritePropName(std::string_view name) {
  WriteStr(propPath_ + std::string(name));
}

// The ancestor's own property of the same name and kind, which the value is compared with.
const TPropInfo* TWriter::AncestorProperty(const TPropInfo& property) const {
  if (Ancestor() == nullptr) return nullptr;
  const TPropInfo* same = Ancestor()->ClassInfo().FindProperty(property.Name());
  return same != nullptr && same->Kind() == property.Kind() && same->IsReadable() ? same : nullptr;
}

void TWriter::WriteProperty(TPersistent& instance, const TPropInfo& property) {
  const TPropInfo* ancestorProperty = AncestorProperty(property);
  if (property.Kind() == tkClass) return WriteObjectProp(instance, property, ancestorProperty);
  if (!property.IsWritable()) return;
  if (property.Kind() == tkMethod) return WriteMethodProp(instance, property, ancestorProperty);
  const bool unchanged = ancestorProperty != nullptr ? property.GetValue(instance) ==
                                                           ancestorProperty->GetValue(*Ancestor())
                                                     : IsDefaultPropValue(instance, property);
  if (unchanged) return;
  WritePropName(property.Name());
  WritePropValue(instance, property);
}

void TWriter::WritePropValue(const TPersistent& instance, const TPropInfo& property) {
  switch (property.Kind()) {
    case tkInteger: {
      const std::int64_t value = GetOrdProp(instance, property);
      const std::string_view name = ConstantName(property, value);
      return name.empty() ? WriteInteger(value) : WriteIdent(name);
    }
    case tkChar:
      return WriteChar(static_cast<char>(GetOrdProp(instance, property)));
    case tkWChar:
      return WriteWideChar(static_cast<char16_t>(GetOrdProp(instance, property)));
    case tkEnumeration:
      return WriteIdent(GetEnumProp(instance, property));
    case tkSet:
      return WriteSet(*property.EnumType(),
                      static_cast<std::uint64_t>(GetOrdProp(instance, property)));
    case tkFloat:
      return WriteFloat(GetFloatProp(instance, property));
    case tkString:
    case tkLString:
      return WriteString(GetStrProp(instance, property));
    case tkWString:
    case tkUString:
      return WriteWideString(GetWideStrProp(instance, property));
    case tkInt64:
      return WriteInteger(GetInt64Prop(instance, property));
    default:
      throw platform::EWriteError("Property " + property.Name() + " cannot be stored");
  }
}

void TWriter::WriteMethodProp(TPersistent& instance, const TPropInfo& property,
                              const TPropInfo* ancestorProperty) {
  const std::string name = StoredMethodName(GetMethodProp(instance, property), LookupRoot());
  const std::string ancestorName =
      ancestorProperty != nullptr
          ? StoredMethodName(GetMethodProp(*Ancestor(), *ancestorProperty), rootAncestor_)
          : std::string();
  if (name == ancestorName) return;
  WritePropName(property.Name());
  if (name.empty()) {
    WriteValue(vaNil);
  } else {
    WriteIdent(name);
  }
}

void TWriter::WriteObjectProp(TPersistent& instance, const TPropInfo& property,
                              const TPropInfo* ancestorProperty) {
  TObject* value = GetObjectProp(instance, property);
  TObject* ancestorValue =
      ancestorProperty != nullptr ? GetObjectProp(*Ancestor(), *ancestorProperty) : nullptr;
  if (value == nullptr) {
    if (ancestorValue != nullptr && property.IsWritable()) {
      WritePropName(property.Name());
      WriteValue(vaNil);
    }
    return;
  }
  auto* persistent = dynamic_cast<TPersistent*>(value);
  if (persistent == nullptr) return;
  auto* component = dynamic_cast<TComponent*>(value);
  if (component == nullptr || component->ComponentStyle().Contains(csSubComponent)) {
    return WriteSubObject(*persistent, property, ancestorValue);
  }
  // Another component: stored by name, and only where the reader can set it again.
  if (!property.IsWritable() || SameComponentAsAncestor(*component, ancestorValue)) return;
  const std::string reference = ComponentReference(*component);
  if (reference.empty()) return;
  WritePropName(property.Name());
  WriteIdent(reference);
}

// A sub-object (a font, a string list, a collection) writes its own properties under the
// property's name: "Font.Name", "Lines.Strings", "Items".
void TWriter::WriteSubObject(TPersistent& value, const TPropInfo& property,
                             TObject* ancestorValue) {
  TNesting nesting(*this);
  TPersistent* ancestor =
      ancestorValue != nullptr && &ancestorValue->ClassInfo() == &value.ClassInfo()
          ? dynamic_cast<TPersistent*>(ancestorValue)
          : nullptr;
  {
    TScopeExit restore([this, oldAncestor = Ancestor(), oldPath = propPath_] {
      SetAncestor(oldAncestor);
      propPath_ = oldPath;
    });
    propPath_ += property.Name() + ".";
    SetAncestor(ancestor);
    WriteProperties(value);
  }
  auto* collection = dynamic_cast<TCollection*>(&value);
  if (collection == nullptr) return;
  if (ancestor == nullptr || !CollectionsEqual(*collection, static_cast<TCollection&>(*ancestor))) {
    WritePropName(property.Name());
    WriteCollection(collection);
  }
}

bool TWriter::SameComponentAsAncestor(const TComponent& value, const TObject* ancestorValue) const {
  if (&value == ancestorValue) return true;
  const auto* ancestor = dynamic_cast<const TComponent*>(ancestorValue);
  if (ancestor == nullptr || rootAncestor_ == nullptr) return false;
  if (&value == LookupRoot()) return ancestor == rootAncestor_;
  return ancestor->Owner() == rootAncestor_ && value.Owner() == LookupRoot() &&
         platform::SameTextAscii(ancestor->Name(), value.Name());
}

std::string TWriter::ComponentReference(const TComponent& component) const {
  if (component.Owner() == LookupRoot() && !component.Name().empty()) return component.Name();
  if (&component == LookupRoot()) return "Owner";
  const TComponent* owner = component.Owner();
  if (owner != nullptr && !owner->Name().empty() && !component.Name().empty()) {
    return owner->Name() + "." + component.Name();
  }
  return {};
}

// Two collections are the same when they are written the same.
bool TWriter::CollectionsEqual(TCollection& collection, TCollection& ancestor) {
  auto bytesOf = [this](TCollection& items, TComponent* lookupRoot) {
    TMemoryStream stream;
    TWriter writer(stream);
    writer.SetRoot(Root());
    writer.SetLookupRoot(lookupRoot);
    writer.WriteCollection(&items);
    writer.FlushBuffer();
    return stream.Bytes();
  };
  return bytesOf(collection, LookupRoot()) == bytesOf(ancestor, rootAncestor_);
}

void TWriter::DefineProperty(const std::string& name, const TReaderProc&,
                             const TWriterProc& writeData, bool hasData) {
  if (!hasData || !writeData) return;
  WritePropName(name);
  writeData(*this);
}

void TWriter::DefineBinaryProperty(const std::string& name, const TStreamProc&,
                                   const TStreamProc& writeData, bool hasData) {
  if (!hasData || !writeData) return;
  TMemoryStream bytes;
  writeData(bytes);
  WritePropName(name);
  WriteBinary(bytes.Bytes());
}

void WriteComponentTo(TStream& stream, TComponent& instance, TComponent* ancestor) {
  TWriter writer(stream);
  writer.WriteDescendent(instance, ancestor);
}

}  // namespace lx::framework

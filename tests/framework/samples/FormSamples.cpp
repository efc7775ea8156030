#include "samples/FormSamples.h"

#include <algorithm>

#include "framework/rtti/ClassRegistry.h"
#include "framework/rtti/Published.h"
#include "framework/streaming/Filer.h"

namespace lx::support {

using framework::TComponent;

LX_PUBLISHED(TSampleItem, Property("Caption", &TSampleItem::caption, &TSampleItem::caption),
             Property("Width", &TSampleItem::width, &TSampleItem::width, 0),
             Property("Link", &TSampleItem::link, &TSampleItem::link))

LX_PUBLISHED(TSampleWidget, Property("Count", &TSampleWidget::count, &TSampleWidget::count, 0),
             Property("Letter", &TSampleWidget::letter, &TSampleWidget::letter, 'a'),
             Property("Glyph", &TSampleWidget::glyph, &TSampleWidget::glyph, u'a'),
             Property("Tone", &TSampleWidget::tone, &TSampleWidget::tone, toPlain),
             Property("Enabled", &TSampleWidget::enabled, &TSampleWidget::enabled, true),
             Property("Ratio", &TSampleWidget::ratio, &TSampleWidget::ratio),
             Property("Code", &TSampleWidget::code, &TSampleWidget::code).ShortString(),
             Property("Caption", &TSampleWidget::caption, &TSampleWidget::caption),
             Property("Title", &TSampleWidget::title, &TSampleWidget::title),
             Property("Tones", &TSampleWidget::tones, &TSampleWidget::tones, TTones{}),
             Property("Big", &TSampleWidget::big, &TSampleWidget::big),
             Property("Buddy", &TSampleWidget::buddy, &TSampleWidget::buddy),
             Property("Font", &TSampleWidget::Font, &TSampleWidget::SetFont),
             Property("Lines", &TSampleWidget::Lines, &TSampleWidget::SetLines),
             Property("Items", &TSampleWidget::Items, &TSampleWidget::SetItems),
             Event("OnPing", &TSampleWidget::OnPing))

LX_PUBLISHED(TSampleForm, Property("Caption", &TSampleForm::caption, &TSampleForm::caption),
             Method("WidgetPing", &TSampleForm::WidgetPing),
             Field("Widget1", &TSampleForm::Widget1))

LX_PUBLISHED(TSampleForm2, Field("Widget3", &TSampleForm2::Widget3))

std::vector<std::string>& LoadedLog() {
  static std::vector<std::string> log;
  return log;
}

void RegisterFormSamples() {
  framework::RegisterClasses({&TSampleForm::StaticClassInfo(), &TSampleForm2::StaticClassInfo(),
                              &TSampleWidget::StaticClassInfo(), &TSampleItem::StaticClassInfo()});
}

TSampleWidget::TSampleWidget(TComponent* owner)
    : TComponent(owner),
      font_(std::make_unique<framework::TFont>()),
      lines_(std::make_unique<framework::TStringList>()),
      items_(std::make_unique<framework::TCollection>(TSampleItem::StaticClassInfo(), this)) {}

TSampleWidget::~TSampleWidget() {
  for (TSampleWidget* child : children_)
    child->parent_ = nullptr;
  SetParent(nullptr);
}

void TSampleWidget::SetParent(TSampleWidget* parent) {
  if (parent == parent_) return;
  if (parent_ != nullptr) std::erase(parent_->children_, this);
  parent_ = parent;
  if (parent_ != nullptr) parent_->children_.push_back(this);
}

void TSampleWidget::SetParentComponent(TComponent* value) {
  SetParent(dynamic_cast<TSampleWidget*>(value));
}

void TSampleWidget::GetChildren(const framework::TGetChildProc& proc, TComponent*) {
  for (TSampleWidget* child : children_)
    proc(child);
}

void TSampleWidget::DefineProperties(framework::TFiler& filer) {
  TComponent::DefineProperties(filer);
  const auto* ancestor = dynamic_cast<const TSampleWidget*>(filer.Ancestor());
  filer.DefineProperty(
      "Targets", [this](framework::TReader& reader) { ReadTargets(reader); },
      [this](framework::TWriter& writer) { WriteTargets(writer); },
      ancestor != nullptr ? targets != ancestor->targets : !targets.empty());
  filer.DefineBinaryProperty(
      "Blob",
      [this](framework::TStream& stream) {
        blob.assign(static_cast<std::size_t>(stream.Size()), 0);
        stream.ReadBuffer(blob.data(), stream.Size());
      },
      [this](framework::TStream& stream) {
        stream.WriteBuffer(blob.data(), static_cast<std::int64_t>(blob.size()));
      },
      ancestor != nullptr ? blob != ancestor->blob : !blob.empty());
}

// (version count (class property exclude)...)
void TSampleWidget::ReadTargets(framework::TReader& reader) {
  reader.ReadListBegin();
  reader.ReadInteger();
  const int count = reader.ReadInteger();
  targets.clear();
  for (int i = 0; i < count; ++i) {
    reader.ReadListBegin();
    TSampleTarget target;
    target.className = reader.ReadString();
    target.property = reader.ReadString();
    target.exclude = reader.ReadInteger();
    reader.ReadListEnd();
    targets.push_back(target);
  }
  reader.ReadListEnd();
}

void TSampleWidget::WriteTargets(framework::TWriter& writer) const {
  writer.WriteListBegin();
  writer.WriteInteger(1);
  writer.WriteInteger(static_cast<std::int64_t>(targets.size()));
  for (const TSampleTarget& target : targets) {
    writer.WriteListBegin();
    writer.WriteString(target.className);
    writer.WriteString(target.property);
    writer.WriteInteger(target.exclude);
    writer.WriteListEnd();
  }
  writer.WriteListEnd();
}

void TSampleWidget::Loaded() {
  TComponent::Loaded();
  LoadedLog().push_back(Name());
}

void TSampleForm::GetChildren(const framework::TGetChildProc& proc, TComponent*) {
  for (int i = 0; i < ComponentCount(); ++i) {
    if (!Components(i)->HasParent()) proc(Components(i));
  }
}

void TSampleForm::SetChildOrder(TComponent* child, int order) {
  child->SetComponentIndex(order);
}

void TSampleForm::Loaded() {
  TComponent::Loaded();
  LoadedLog().push_back(Name());
}

}  // namespace lx::support

// Sample classes for the streaming tests and the form fuzz target: a root like a data module,
// a widget with a property of every kind the framework stores (a sub-object, a string list, a
// collection, a component reference, an event, defined properties), widgets inside widgets,
// and a form derived from another form.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "framework/core/Collection.h"
#include "framework/core/Component.h"
#include "framework/core/Font.h"
#include "framework/core/Set.h"
#include "framework/core/Strings.h"

namespace lx::support {

LX_ENUM(TTone, toSoft, toPlain, toLoud)
using TTones = framework::TSet<TTone, std::uint8_t>;

/// The components told Loaded, by name, in order.
std::vector<std::string>& LoadedLog();
/// Registers the sample classes for reading.
void RegisterFormSamples();

class TSampleWidget;

class TSampleItem : public framework::TCollectionItem {
  LX_CLASS(TSampleItem, framework::TCollectionItem)

 public:
  explicit TSampleItem(framework::TCollection* collection) : TCollectionItem(collection) {}

  std::string caption;
  int width = 0;
  TSampleWidget* link = nullptr;
};

/// One entry of the defined property "Targets": (class, property, exclude).
struct TSampleTarget {
  std::string className;
  std::string property;
  int exclude = 0;
  friend bool operator==(const TSampleTarget&, const TSampleTarget&) = default;
};

class TSampleWidget : public framework::TComponent {
  LX_CLASS(TSampleWidget, framework::TComponent)

 public:
  explicit TSampleWidget(framework::TComponent* owner);
  ~TSampleWidget() override;

  int count = 0;
  char letter = 'a';
  char16_t glyph = u'a';
  TTone tone = toPlain;
  bool enabled = true;
  double ratio = 0;
  std::string code;
  std::string caption;
  std::u16string title;
  TTones tones;
  std::int64_t big = 0;
  TSampleWidget* buddy = nullptr;
  framework::TNotifyEvent OnPing;
  std::vector<TSampleTarget> targets;
  std::vector<std::uint8_t> blob;

  framework::TFont* Font() const { return font_.get(); }
  void SetFont(framework::TFont* value) { font_->Assign(value); }
  framework::TStringList* Lines() const { return lines_.get(); }
  void SetLines(framework::TStringList* value) { lines_->Assign(value); }
  framework::TCollection* Items() const { return items_.get(); }
  void SetItems(framework::TCollection* value) { items_->Assign(value); }

  TSampleWidget* Parent() const { return parent_; }
  const std::vector<TSampleWidget*>& Children() const { return children_; }
  void SetParent(TSampleWidget* parent);

  void GetChildren(const framework::TGetChildProc& proc, framework::TComponent* root) override;
  framework::TComponent* GetParentComponent() const override { return parent_; }
  bool HasParent() const override { return parent_ != nullptr; }
  void SetParentComponent(framework::TComponent* value) override;
  void DefineProperties(framework::TFiler& filer) override;
  void Loaded() override;

 private:
  void ReadTargets(framework::TReader& reader);
  void WriteTargets(framework::TWriter& writer) const;

  std::unique_ptr<framework::TFont> font_;
  std::unique_ptr<framework::TStringList> lines_;
  std::unique_ptr<framework::TCollection> items_;
  TSampleWidget* parent_ = nullptr;
  std::vector<TSampleWidget*> children_;
};

/// A root that stores the components it owns without a parent, like a data module.
class TSampleForm : public framework::TComponent {
  LX_CLASS(TSampleForm, framework::TComponent)

 public:
  explicit TSampleForm(framework::TComponent* owner) : TComponent(owner) {}

  std::string caption;
  TSampleWidget* Widget1 = nullptr;
  int pings = 0;
  void WidgetPing(framework::TObject*) { ++pings; }

  void GetChildren(const framework::TGetChildProc& proc, framework::TComponent* root) override;
  void SetChildOrder(framework::TComponent* child, int order) override;
  void Loaded() override;
};

/// A form derived from TSampleForm, with a form resource of its own.
class TSampleForm2 : public TSampleForm {
  LX_CLASS(TSampleForm2, TSampleForm)

 public:
  explicit TSampleForm2(framework::TComponent* owner) : TSampleForm(owner) {}

  TSampleWidget* Widget3 = nullptr;
};

}  // namespace lx::support

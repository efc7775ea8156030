// The GTK widgets of one control: which widgets a kind of control is shown with, how they
// take the control's state, and how they report the user's input.
#pragma once

#include <gtk/gtk.h>

#include <string>
#include <vector>

#include "framework/controls/Controls.h"
#include "screen/internal/DrawnLabels.h"
#include "screen/internal/FontClasses.h"
#include "screen/internal/ScreenTexts.h"

// Kept inside a shared library: only the layer's own units use it.
#pragma GCC visibility push(hidden)

namespace lx::screen {

enum class TWidgetKind {
  None,  // not shown
  Label,
  Button,
  CheckBox,
  RadioButton,
  Edit,
  Memo,
  ListBox,
  ComboBox,
  GroupBox,
  Panel,
  Container,  // any other windowed control: its children still show
};

/// How `control` is shown.
TWidgetKind KindOf(const framework::TControl& control);
/// Whether controls of `kind` have no widget: their parent's box draws them from a record.
bool IsDrawn(TWidgetKind kind);

/// Where widgets send the user's input, by the control (`key`) they show. Never dereference
/// `key` before finding it among the live controls: it may be gone.
class TInputSink {
 public:
  virtual ~TInputSink() = default;
  virtual void Clicked(const void* key) = 0;
  virtual void TextEdited(const void* key, const std::string& utf8) = 0;
  virtual void Toggled(const void* key, bool active) = 0;
  /// The chosen items of a list or combo box, in order; empty for none.
  virtual void ItemsChosen(const void* key, const std::vector<int>& chosen) = 0;
  virtual void MenuItemActivated(const void* key) = 0;
  virtual void CloseRequested(const void* key) = 0;
};

/// What a control shows, read from its window where it has one, else from the control.
/// Texts are UTF-8.
struct TControlState {
  bool visible = true;
  bool enabled = true;
  bool rightToLeft = false;
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  std::string text;
  std::string hint;
  std::string fontCss;
  TFontFace face;
  bool checked = false;
  std::vector<std::string> items;
  std::vector<int> chosen;
  bool multiSelect = false;
  bool operator==(const TControlState&) const = default;
};

/// The widgets of one control. The backend holds a reference on `outer` and puts it into
/// the box of the control's parent. Labels, buttons, check boxes, radio buttons and edits have no
/// widgets: the parent's box draws them from their records there (`drawn`).
struct TControlWidgets {
  TWidgetKind kind = TWidgetKind::None;
  std::string className;
  GtkWidget* parentBox = nullptr;
  TDrawnLabel* drawn = nullptr;  // a drawn control's record in the parent's box
  GtkWidget* outer = nullptr;    // placed in the parent's box
  GtkWidget* content = nullptr;  // the widget that holds the text or value
  GtkWidget* caption = nullptr;  // the label that shows the caption, when there is one
  GtkWidget* box = nullptr;      // containers: where the children go
  std::string fontCss;
  std::vector<std::string> items;  // a combo box's
  TControlState shown;             // what the widgets were last brought to
  bool updated = false;            // whether they ever were
};

/// Widgets waiting for a new reading direction, in the order they were met.
struct TDirectionChange {
  GtkWidget* widget;
  GtkTextDirection direction;
};
using TDirectionChanges = std::vector<TDirectionChange>;

/// Gives each widget its new direction, last met first: a widget's new direction makes GTK
/// restyle the siblings after it, and those have theirs already, so that no style is worked
/// out twice.
void ApplyDirections(const TDirectionChanges& changes);

/// Makes the widgets of a kind (not shown yet) that report to `sink` as `key`, to go into
/// `parentBox`; a label gets its record there (none without a box).
TControlWidgets MakeWidgets(TWidgetKind kind, const void* key, TInputSink& sink,
                            GtkWidget* parentBox = nullptr);
/// What a label's record shows for `state`.
TLabelLook LabelLookOf(const TControlState& state);
/// Brings the widgets (a label: its record) to `state`, fonts through `fonts`; the caller
/// places `outer`. Widgets
/// already showing `state` are not touched; false then. A new reading direction goes to
/// `directions` when given (for ApplyDirections), else to the widgets at once.
bool UpdateWidgets(TControlWidgets& widgets, const TControlState& state, TFontClasses& fonts,
                   TDirectionChanges* directions = nullptr);
/// Destroys the widgets (a label: drops its record) and the references held on them.
void DestroyWidgets(TControlWidgets& widgets);

/// Connects `signal` of `instance` to `handler`, which receives `sink` and `key`.
void ConnectInput(gpointer instance, const char* signal, GCallback handler, TInputSink& sink,
                  const void* key);

/// What ConnectInput hands to a handler.
struct TInputTarget {
  TInputSink* sink;
  const void* key;
};

}  // namespace lx::screen
#pragma GCC visibility pop

#include <gtest/gtest.h>
#include <gtk/gtk.h>

#include <string>
#include <vector>

#include "ScreenFixture.h"
#include "framework/controls/StdCtrls.h"
#include "screen/EditMode.h"
#include "screen/internal/FixedBox.h"

namespace lx::screen::test {
namespace {

using namespace framework;

// The open dialog answered as a user would: the translation typed over, then Save `accepts`
// times, then `response`.
struct TAnswer {
  std::string typed;
  int accepts;
  int response;
  std::vector<std::string> shown;  // the dialog's texts, as the user saw them
  int answered = 0;
};

// The values of the dialog's rows (key, native text, translation, room), then its message;
// the translation is typed over.
void ReadRows(GtkWidget* widget, gpointer data) {
  auto& answer = *static_cast<TAnswer*>(data);
  if (!GTK_IS_GRID(widget)) return;
  for (int row = 0; row < 5; ++row) {
    GtkWidget* value = gtk_grid_get_child_at(GTK_GRID(widget), row < 4 ? 1 : 0, row);
    if (GTK_IS_ENTRY(value)) {
      answer.shown.push_back(gtk_entry_get_text(GTK_ENTRY(value)));
      gtk_entry_set_text(GTK_ENTRY(value), answer.typed.c_str());
    } else if (GTK_IS_LABEL(value)) {
      answer.shown.push_back(gtk_label_get_text(GTK_LABEL(value)));
    }
  }
}

gboolean Answer(gpointer data) {
  auto& answer = *static_cast<TAnswer*>(data);
  GList* windows = gtk_window_list_toplevels();
  for (GList* item = windows; item != nullptr; item = item->next) {
    if (!GTK_IS_DIALOG(item->data) || !gtk_widget_get_visible(GTK_WIDGET(item->data))) continue;
    answer.shown.clear();
    GtkWidget* content = gtk_dialog_get_content_area(GTK_DIALOG(item->data));
    gtk_container_foreach(GTK_CONTAINER(content), ReadRows, data);
    ++answer.answered;
    gtk_dialog_response(GTK_DIALOG(item->data),
                        answer.accepts-- > 0 ? GTK_RESPONSE_ACCEPT : answer.response);
  }
  g_list_free(windows);
  return G_SOURCE_CONTINUE;
}

class EditModeTest : public ScreenTest {
 protected:
  EditModeTest() {
    Application().CreateForm(form_);
    form_->SetBounds(40, 30, 300, 200);
    button_ = new TButton(form_);
    button_->SetParent(form_);
    button_->SetBounds(10, 10, 80, 24);
    button_->SetCaption("&Open");
    form_->Show();
    Refresh();
  }
  ~EditModeTest() override { SetTextEditor({}); }

  // Edit mode on: the button's text can be edited, every save answers `saveResult`.
  void EditOn(std::string saveResult) {
    TTextEditor editor;
    editor.find = [this](TControl& control) -> std::optional<TEditableText> {
      if (&control != button_) return std::nullopt;
      return TEditableText{"TForm1|Button1", "&Open", button_->Caption(), "80 x 24 pixels"};
    };
    editor.save = [this, saveResult](TControl&, const std::string& text) {
      saved.push_back(text);
      if (saveResult.empty()) button_->SetCaption(text);
      return saveResult;
    };
    SetTextEditor(std::move(editor));
  }
  bool EditWith(TAnswer& answer) {
    const guint source = g_timeout_add(50, Answer, &answer);
    const bool result = EditText(*button_);
    g_source_remove(source);
    return result;
  }

  TForm* form_ = nullptr;
  TButton* button_ = nullptr;
  std::vector<std::string> saved;
};

TEST_F(EditModeTest, SaveHandsTheTextOverAndCancelChangesNothing) {
  EXPECT_FALSE(EditText(*button_)) << "edit mode is off";
  EditOn("");
  EXPECT_TRUE(EditModeOn());
  EXPECT_FALSE(EditText(*form_)) << "the editor has nothing there";
  TAnswer cancel{"&Zu", 0, GTK_RESPONSE_CANCEL, {}};
  EXPECT_FALSE(EditWith(cancel));
  EXPECT_EQ(cancel.shown,
            (std::vector<std::string>{"TForm1|Button1", "&Open", "&Open", "80 x 24 pixels", ""}));
  EXPECT_TRUE(saved.empty());
  EXPECT_EQ(button_->Caption(), "&Open");
  TAnswer save{"&Auf", 1, GTK_RESPONSE_CANCEL, {}};
  EXPECT_TRUE(EditWith(save));
  EXPECT_EQ(saved, std::vector<std::string>{"&Auf"});
  EXPECT_EQ(button_->Caption(), "&Auf");
}

TEST_F(EditModeTest, AFailedSaveKeepsTheDialogWithItsReason) {
  EditOn("de.po: no entry");
  // Saved twice, refused twice, then cancelled.
  TAnswer answer{"&Auf", 2, GTK_RESPONSE_CANCEL, {}};
  EXPECT_FALSE(EditWith(answer));
  EXPECT_EQ(saved, (std::vector<std::string>{"&Auf", "&Auf"}));
  EXPECT_EQ(answer.shown.back(), "de.po: no entry");
  EXPECT_EQ(button_->Caption(), "&Open");
}

// The chord reaches a drawn button through GDK's own queue, as a user's click or key does:
// Ctrl+Shift+click on it, or Ctrl+Shift+E while it has the focus, edits its caption.
TEST_F(EditModeTest, TheChordEditsADrawnButtonsCaption) {
  EditOn("");
  Refresh();
  const TDrawnLabel* drawn = backend().LabelOf(*button_);
  ASSERT_NE(drawn, nullptr);
  GtkWidget* window = backend().WindowOf(*form_);
  for (const bool click : {true, false}) {
    TAnswer cancel{"&Zu", 0, GTK_RESPONSE_CANCEL, {}};
    const guint source = g_timeout_add(50, Answer, &cancel);
    GdkEvent* event = gdk_event_new(click ? GDK_BUTTON_PRESS : GDK_KEY_PRESS);
    const guint chord = GDK_CONTROL_MASK | GDK_SHIFT_MASK;
    if (click) {
      event->button.window = GDK_WINDOW(g_object_ref(gtk_widget_get_window(drawn->box)));
      event->button.x = drawn->look.place.x + 5;
      event->button.y = drawn->look.place.y + 5;
      event->button.button = 1;
      event->button.state = chord;
    } else {
      LabelsOf(drawn->box).Activate(*const_cast<TDrawnLabel*>(drawn));  // focused
      event->key.window = GDK_WINDOW(g_object_ref(gtk_widget_get_window(window)));
      event->key.keyval = GDK_KEY_E;
      event->key.state = chord;
    }
    GdkSeat* seat = gdk_display_get_default_seat(gtk_widget_get_display(window));
    gdk_event_set_device(event, click ? gdk_seat_get_pointer(seat) : gdk_seat_get_keyboard(seat));
    gdk_event_put(event);
    gdk_event_free(event);
    for (int i = 0; i < 200 && cancel.answered == 0; ++i)
      g_main_context_iteration(nullptr, TRUE);
    g_source_remove(source);
    ASSERT_EQ(cancel.answered, 1) << click;
    EXPECT_EQ(cancel.shown.at(0), "TForm1|Button1") << click;
  }
}

// Typing into an edit, the chord edits that edit's text, not the form's.
TEST_F(EditModeTest, TheChordEditsTheTextOfTheEditBeingTypedInto) {
  auto* edit = new TEdit(form_);
  edit->SetParent(form_);
  edit->SetBounds(10, 50, 120, 24);
  TTextEditor editor;
  editor.find = [edit](TControl& control) -> std::optional<TEditableText> {
    if (&control != edit) return std::nullopt;
    return TEditableText{"TForm1|Edit1", "", "", "120 x 24 pixels"};
  };
  editor.save = [](TControl&, const std::string&) { return std::string(); };
  SetTextEditor(std::move(editor));
  Refresh();
  Click(*edit);
  GtkWidget* window = backend().WindowOf(*form_);
  TAnswer cancel{"", 0, GTK_RESPONSE_CANCEL, {}};
  const guint source = g_timeout_add(50, Answer, &cancel);
  GdkEvent* event = gdk_event_new(GDK_KEY_PRESS);
  event->key.window = GDK_WINDOW(g_object_ref(gtk_widget_get_window(window)));
  event->key.keyval = GDK_KEY_E;
  event->key.state = GDK_CONTROL_MASK | GDK_SHIFT_MASK;
  gdk_event_set_device(
      event, gdk_seat_get_keyboard(gdk_display_get_default_seat(gdk_display_get_default())));
  gdk_event_put(event);
  gdk_event_free(event);
  for (int i = 0; i < 200 && cancel.answered == 0; ++i)
    g_main_context_iteration(nullptr, TRUE);
  g_source_remove(source);
  ASSERT_EQ(cancel.answered, 1);
  EXPECT_EQ(cancel.shown.at(0), "TForm1|Edit1");
}

}  // namespace
}  // namespace lx::screen::test

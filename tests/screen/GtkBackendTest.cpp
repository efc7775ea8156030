#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ScreenFixture.h"
#include "framework/controls/Dialogs.h"
#include "framework/controls/ExtCtrls.h"
#include "framework/controls/Menus.h"
#include "framework/controls/StdCtrls.h"
#include "screen/internal/FixedBox.h"
#include "screen/internal/GtkBackend.h"
#include "support/FixedSystem.h"
#include "support/lang/LxMemoryDictionary.h"
#include "support/lang/LxProcessState.h"
#include "translator/LxPoly.h"

namespace lx::screen::test {
namespace {

using namespace framework;

// Owned by the parent's owner, as a form's designer makes them.
template <typename T>
T* PutOwned(TWinControl* parent, const char* name, TBounds bounds, const char* caption = "") {
  auto* control = new T(parent->Owner() == &Application() ? parent : parent->Owner());
  control->SetName(name);
  control->SetParent(parent);
  control->SetBounds(bounds.left, bounds.top, bounds.width, bounds.height);
  if (*caption != '\0') control->SetCaption(caption);
  return control;
}

// A form with one control of every kind, a group box and a panel holding controls of their
// own, as small as classic forms make them.
struct TSample {
  TForm* form = nullptr;
  TLabel* name;
  TEdit* edit;
  TButton* help;
  TMemo* notes;
  TListBox* list;
  TComboBox* combo;
  TCheckBox* check;
  TRadioButton* first;
  TRadioButton* second;
  TGroupBox* group;
  TButton* inner;
  TPanel* panel;
  TLabel* panelLabel;

  std::vector<TControl*> All() const {
    return {name,  edit,   help,  notes, list,  combo,     check,
            first, second, group, inner, panel, panelLabel};
  }
};

TSample MakeSample() {
  TSample s;
  Application().CreateForm(s.form);
  s.form->SetBounds(40, 30, 400, 300);
  s.form->SetCaption("Locale Probe");
  s.name = PutOwned<TLabel>(s.form, "NameLabel", {8, 8, 120, 13}, "&Name:");
  s.edit = PutOwned<TEdit>(s.form, "NameEdit", {136, 6, 121, 21});
  s.help = PutOwned<TButton>(s.form, "HelpButton", {312, 264, 75, 25}, "&Help");
  s.notes = PutOwned<TMemo>(s.form, "Notes", {8, 160, 185, 89});
  s.list = PutOwned<TListBox>(s.form, "LanguageList", {8, 36, 121, 97});
  s.combo = PutOwned<TComboBox>(s.form, "Choice", {136, 36, 145, 21});
  s.check = PutOwned<TCheckBox>(s.form, "Wrap", {136, 64, 97, 17}, "&Wrap");
  s.first = PutOwned<TRadioButton>(s.form, "First", {136, 84, 113, 17}, "&First");
  s.second = PutOwned<TRadioButton>(s.form, "Second", {136, 104, 113, 17}, "&Second");
  s.group = PutOwned<TGroupBox>(s.form, "Group", {200, 130, 185, 105}, "&Group");
  s.inner = PutOwned<TButton>(s.group, "InnerButton", {10, 20, 60, 25}, "&OK");
  s.panel = PutOwned<TPanel>(s.form, "Panel", {264, 6, 128, 50}, "Panel");
  s.panelLabel = PutOwned<TLabel>(s.panel, "PanelLabel", {4, 4, 60, 13}, "Inside");
  s.list->Items()->Add("English");
  s.list->Items()->Add("Deutsch");
  s.combo->Items()->Add("one");
  s.combo->Items()->Add("two");
  s.notes->Lines()->Add("first line");
  s.notes->Lines()->Add("second line");
  s.form->Show();
  Refresh();
  return s;
}

std::string LabelText(GtkWidget* label) {
  return gtk_label_get_text(GTK_LABEL(label));
}

std::string MemoText(GtkWidget* view) {
  GtkTextBuffer* buffer = gtk_text_view_get_buffer(GTK_TEXT_VIEW(view));
  GtkTextIter start;
  GtkTextIter end;
  gtk_text_buffer_get_bounds(buffer, &start, &end);
  gchar* text = gtk_text_buffer_get_text(buffer, &start, &end, FALSE);
  std::string result = text;
  g_free(text);
  return result;
}

int Rows(GtkWidget* view) {
  return gtk_tree_model_iter_n_children(gtk_tree_view_get_model(GTK_TREE_VIEW(view)), nullptr);
}

// Mirrors every control inside its parent, as the translator does for a right-to-left
// language, and sets the reading order.
void Mirror(TWinControl& parent, TBiDiMode mode) {
  for (int i = 0; i < parent.ControlCount(); ++i) {
    TControl& control = *parent.Controls(i);
    control.SetLeft(parent.ClientWidth() - control.Left() - control.Width());
    if (auto* windowed = dynamic_cast<TWinControl*>(&control)) Mirror(*windowed, mode);
  }
  parent.SetBiDiMode(mode);
}

class GtkBackendTest : public ScreenTest {};

TEST_F(GtkBackendTest, AShownFormIsAWindowWithEveryControlExactlyInItsPlace) {
  const TSample s = MakeSample();
  GtkWidget* window = backend().WindowOf(*s.form);
  ASSERT_NE(window, nullptr);
  EXPECT_STREQ(gtk_window_get_title(GTK_WINDOW(window)), "Locale Probe");
  EXPECT_TRUE(gtk_widget_get_visible(window));
  GtkWidget* box = backend().BoxOf(*s.form);
  GtkAllocation client;
  gtk_widget_get_allocation(box, &client);
  EXPECT_EQ(client.width, 400);
  EXPECT_EQ(client.height, 300);
  for (const TControl* control : s.All())
    EXPECT_EQ(Placed(*control), BoundsOf(*control)) << control->Name();
  // The group box's child is placed inside the group box, in its coordinates.
  int x = 0;
  int y = 0;
  gtk_widget_translate_coordinates(Drawn(*s.inner).box, box, 10, 20, &x, &y);
  EXPECT_EQ(Drawn(*s.inner).box, Widgets(*s.group).box);
  EXPECT_EQ(x, 210);
  EXPECT_EQ(y, 150);
}

TEST_F(GtkBackendTest, TextsMnemonicsItemsAndStatesReachTheWidgets) {
  const TSample s = MakeSample();
  EXPECT_EQ(Drawn(*s.name).text, "Name:");
  EXPECT_EQ(Drawn(*s.name).hotKeys, std::vector<std::size_t>{0});
  EXPECT_EQ(Drawn(*s.help).text, "Help");
  EXPECT_EQ(Drawn(*s.help).hotKeys, std::vector<std::size_t>{0});
  EXPECT_EQ(Drawn(*s.help).kind, TDrawnKind::Button);
  EXPECT_EQ(LabelText(Widgets(*s.group).caption), "Group");
  EXPECT_EQ(LabelText(Widgets(*s.panel).caption), "Panel");
  EXPECT_EQ(Drawn(*s.check).text, "Wrap");
  EXPECT_EQ(Drawn(*s.check).kind, TDrawnKind::CheckBox);
  EXPECT_EQ(Drawn(*s.first).kind, TDrawnKind::RadioButton);
  EXPECT_EQ(MemoText(Widgets(*s.notes).content), "first line\nsecond line\n");
  EXPECT_EQ(Rows(Widgets(*s.list).content), 2);

  s.list->SetItemIndex(1);
  s.combo->SetItemIndex(1);
  s.check->SetChecked(true);
  s.second->SetChecked(true);
  s.edit->SetText("typed");
  s.help->SetCaption("&&More && _less");
  s.name->SetHint("Your name");
  s.help->SetEnabled(false);
  s.panelLabel->SetVisible(false);
  Refresh();
  GtkTreeSelection* selection =
      gtk_tree_view_get_selection(GTK_TREE_VIEW(Widgets(*s.list).content));
  GtkTreePath* path = gtk_tree_path_new_from_indices(1, -1);
  EXPECT_TRUE(gtk_tree_selection_path_is_selected(selection, path));
  gtk_tree_path_free(path);
  // An item chosen below the visible rows is scrolled into view.
  for (int i = 0; i < 20; ++i)
    s.list->Items()->Add("more");
  s.list->SetItemIndex(21);
  Refresh();
  GtkTreePath* first = nullptr;
  GtkTreePath* last = nullptr;
  ASSERT_TRUE(
      gtk_tree_view_get_visible_range(GTK_TREE_VIEW(Widgets(*s.list).content), &first, &last));
  EXPECT_EQ(gtk_tree_path_get_indices(last)[0], 21);
  gtk_tree_path_free(first);
  gtk_tree_path_free(last);
  EXPECT_EQ(gtk_combo_box_get_active(GTK_COMBO_BOX(Widgets(*s.combo).content)), 1);
  EXPECT_TRUE(Drawn(*s.check).look.checked);
  EXPECT_TRUE(Drawn(*s.second).look.checked);
  EXPECT_EQ(Drawn(*s.edit).text, "typed");
  EXPECT_EQ(Drawn(*s.help).text, "&More & _less");
  EXPECT_EQ(Drawn(*s.name).look.hint, "Your name");
  EXPECT_TRUE(gtk_widget_get_has_tooltip(backend().BoxOf(*s.form)));
  EXPECT_FALSE(Drawn(*s.help).look.enabled);
  EXPECT_FALSE(Drawn(*s.panelLabel).look.visible);
  s.form->SetEnabled(false);
  Refresh();
  EXPECT_FALSE(gtk_widget_get_sensitive(backend().WindowOf(*s.form)));

  // Unchecking through the framework unchecks the record too, radio buttons included.
  s.first->SetChecked(true);
  Refresh();
  EXPECT_FALSE(Drawn(*s.second).look.checked);
  EXPECT_TRUE(Drawn(*s.first).look.checked);
  s.first->SetChecked(false);
  Refresh();
  EXPECT_FALSE(Drawn(*s.first).look.checked);
  EXPECT_FALSE(s.first->Checked());
}

TEST_F(GtkBackendTest, ChangesMadeOutsideInputShowOnceGtkIsIdle) {
  const TSample s = MakeSample();
  s.name->SetCaption("&Renamed");
  s.panelLabel->Font()->SetStyle({fsBold});
  s.list->Items()->Add(
      "Fran\xE7"
      "ais");
  s.help->SetCaption("&Later");
  ProcessPending();  // no Refresh: the windows layer told the backend
  EXPECT_EQ(Drawn(*s.name).text, "Renamed");
  EXPECT_EQ(Drawn(*s.help).text, "Later");
  EXPECT_EQ(Rows(Widgets(*s.list).content), 3);
  EXPECT_TRUE(Drawn(*s.panelLabel).look.face.bold);
}

TEST_F(GtkBackendTest, FontsBecomePangoFontDescriptions) {
  const TSample s = MakeSample();
  s.name->Font()->SetName("DejaVu Serif");
  s.name->Font()->SetSize(14);
  s.name->Font()->SetStyle({fsBold, fsItalic});
  Refresh();
  cairo_surface_destroy(Drawing(backend().WindowOf(*s.form)));
  const PangoFontDescription* font = TextFont(Drawn(*s.name));
  ASSERT_NE(font, nullptr);
  EXPECT_STREQ(pango_font_description_get_family(font), "DejaVu Serif");
  EXPECT_EQ(pango_font_description_get_size(font), 14 * PANGO_SCALE);
  EXPECT_EQ(pango_font_description_get_weight(font), PANGO_WEIGHT_BOLD);
  EXPECT_EQ(pango_font_description_get_style(font), PANGO_STYLE_ITALIC);
  // The label keeps its bounds, whatever the font would like, and cuts its text short.
  s.name->SetCaption("A caption far longer than the label is wide");
  Refresh();
  EXPECT_EQ(Placed(*s.name), BoundsOf(*s.name));
  cairo_surface_destroy(Drawing(backend().WindowOf(*s.form)));
  EXPECT_TRUE(TextCutShort(Drawn(*s.name)));
}

TEST_F(GtkBackendTest, RightToLeftMirrorsOnceAndComesBackExactly) {
  const TSample s = MakeSample();
  std::vector<TBounds> native;
  for (const TControl* control : s.All())
    native.push_back(Placed(*control));

  Mirror(*s.form, bdRightToLeft);
  Refresh();
  EXPECT_EQ(s.help->Left(), 400 - 312 - 75);
  for (const TControl* control : s.All()) {
    EXPECT_EQ(Placed(*control), BoundsOf(*control)) << control->Name();
    // Drawn controls read right to left in their records, the other kinds in GTK's direction.
    if (Widgets(*control).drawn != nullptr) {
      EXPECT_TRUE(Drawn(*control).look.rightToLeft) << control->Name();
      continue;
    }
    EXPECT_EQ(gtk_widget_get_direction(Widgets(*control).content), GTK_TEXT_DIR_RTL)
        << control->Name();
  }
  // The boxes themselves never mirror what the framework has mirrored already.
  EXPECT_EQ(gtk_widget_get_direction(backend().BoxOf(*s.form)), GTK_TEXT_DIR_LTR);
  EXPECT_EQ(gtk_widget_get_direction(Widgets(*s.group).box), GTK_TEXT_DIR_LTR);
  EXPECT_EQ(Placed(*s.inner), (TBounds{185 - 10 - 60, 20, 60, 25}));

  Mirror(*s.form, bdLeftToRight);
  Refresh();
  std::vector<TBounds> back;
  for (const TControl* control : s.All())
    back.push_back(Placed(*control));
  EXPECT_EQ(back, native);
  EXPECT_EQ(gtk_widget_get_direction(Widgets(*s.notes).content), GTK_TEXT_DIR_LTR);
  EXPECT_FALSE(Drawn(*s.name).look.rightToLeft);
}

TEST_F(GtkBackendTest, UserInputReachesTheControlsEvents) {
  const TSample s = MakeSample();
  std::vector<std::string> events;
  auto note = [&events](const char* what) {
    return [&events, what](TObject*) { events.push_back(what); };
  };
  s.help->OnClick = note("click");
  s.edit->OnChange = note("edit");
  s.combo->OnChange = note("combo");
  s.check->OnClick = note("check");
  s.second->OnClick = note("radio");

  Click(*s.help);
  Click(*s.edit);
  gtk_entry_set_text(GTK_ENTRY(LabelsOf(Drawn(*s.edit).box).Entry()), "Zoë");
  gtk_combo_box_set_active(GTK_COMBO_BOX(Widgets(*s.combo).content), 1);
  Click(*s.check);
  Click(*s.second);
  GtkTreeSelection* selection =
      gtk_tree_view_get_selection(GTK_TREE_VIEW(Widgets(*s.list).content));
  GtkTreePath* path = gtk_tree_path_new_from_indices(1, -1);
  gtk_tree_selection_select_path(selection, path);
  gtk_tree_path_free(path);
  gtk_text_buffer_set_text(gtk_text_view_get_buffer(GTK_TEXT_VIEW(Widgets(*s.notes).content)),
                           "one\ntwo", -1);

  EXPECT_EQ(events, (std::vector<std::string>{"click", "edit", "combo", "check", "radio"}));
  EXPECT_EQ(s.edit->Text(), "Zo\xEB");  // back in the Western code page of the font
  EXPECT_EQ(s.combo->ItemIndex(), 1);
  EXPECT_EQ(s.combo->Text(), "two");
  EXPECT_TRUE(s.check->Checked());
  EXPECT_TRUE(s.second->Checked());
  EXPECT_EQ(s.list->ItemIndex(), 1);
  EXPECT_EQ(s.notes->Lines()->Count(), 2);
  EXPECT_EQ(s.notes->Lines()->Strings(1), "two");

  // A disabled button does not click; nor does a control that is gone.
  s.help->SetEnabled(false);
  Refresh();
  Click(*s.help);
  GtkWidget* group = Widgets(*s.group).box;
  delete s.inner;
  ClickIn(group, 40, 32);  // where it was, before the box knows
  EXPECT_EQ(events.size(), 5u);
  Refresh();
  EXPECT_EQ(backend().WidgetsOf(*s.group)->box != nullptr, true);
}

TEST_F(GtkBackendTest, BringingWidgetsUpToDateFiresNoEvents) {
  const TSample s = MakeSample();
  int changes = 0;
  s.notes->OnChange = [&changes](TObject*) { ++changes; };
  s.edit->OnChange = [&changes](TObject*) { ++changes; };
  s.combo->OnChange = [&changes](TObject*) { ++changes; };
  s.notes->Lines()->Add("third line");
  s.edit->SetText("new");
  s.combo->Items()->Insert(0, "zero");
  const int made = changes;
  Refresh();
  EXPECT_EQ(changes, made);
  EXPECT_EQ(s.combo->ItemIndex(), -1);
}

TEST_F(GtkBackendTest, AnExceptionInAnEventGoesToTheApplication) {
  const TSample s = MakeSample();
  s.help->OnClick = [](TObject*) { throw platform::EConvertError("Not a number"); };
  std::string reported;
  Application().OnException = [&reported](TObject*, platform::Exception& e) {
    reported = e.Message();
  };
  Click(*s.help);
  EXPECT_EQ(reported, "Not a number");
}

TEST_F(GtkBackendTest, ClosingTheWindowClosesTheForm) {
  TSample s = MakeSample();
  TForm* other = nullptr;
  Application().CreateForm(other);
  other->SetCaption("Other");
  other->Show();
  Refresh();
  GtkWidget* window = backend().WindowOf(*other);
  ASSERT_NE(window, nullptr);
  bool asked = false;
  other->OnCloseQuery = [&asked](TObject*, bool& canClose) {
    asked = true;
    canClose = false;
  };
  gtk_window_close(GTK_WINDOW(window));
  ProcessPending();
  EXPECT_TRUE(asked);
  EXPECT_TRUE(other->Visible());
  EXPECT_EQ(backend().WindowOf(*other), window);

  other->OnCloseQuery = nullptr;
  gtk_window_close(GTK_WINDOW(window));
  Refresh();
  EXPECT_FALSE(other->Visible());
  EXPECT_EQ(backend().WindowOf(*other), nullptr);

  gtk_window_close(GTK_WINDOW(backend().WindowOf(*s.form)));
  ProcessPending();
  EXPECT_TRUE(Application().Terminated());
}

TEST_F(GtkBackendTest, TheMainMenuIsAMenuBarWithMnemonicsAndShortcutTexts) {
  TSample s = MakeSample();
  auto* menu = new TMainMenu(s.form);
  auto* file = new TMenuItem(s.form);
  file->SetCaption("&File");
  auto* exit = new TMenuItem(s.form);
  exit->SetCaption("E&xit");
  exit->SetShortCut(scCtrl | 'Q');
  auto* line = new TMenuItem(s.form);
  line->SetCaption("-");
  auto* hidden = new TMenuItem(s.form);
  hidden->SetCaption("Hidden");
  hidden->SetVisible(false);
  menu->Items()->Add(file);
  file->Add(line);
  file->Add(hidden);
  file->Add(exit);
  s.form->SetMenu(menu);
  int exits = 0;
  exit->OnClick = [&exits](TObject*) { ++exits; };
  Refresh();

  GtkWidget* bar = backend().MenuBarOf(*s.form);
  ASSERT_NE(bar, nullptr);
  GList* top = gtk_container_get_children(GTK_CONTAINER(bar));
  ASSERT_EQ(g_list_length(top), 1u);
  GtkWidget* fileItem = GTK_WIDGET(top->data);
  g_list_free(top);
  GtkWidget* submenu = gtk_menu_item_get_submenu(GTK_MENU_ITEM(fileItem));
  ASSERT_NE(submenu, nullptr);
  EXPECT_EQ(gtk_container_get_children(GTK_CONTAINER(submenu)), nullptr);  // built when shown
  gtk_widget_show(submenu);
  GList* items = gtk_container_get_children(GTK_CONTAINER(submenu));
  ASSERT_EQ(g_list_length(items), 2u);  // the separator and Exit; the hidden item is left out
  EXPECT_TRUE(GTK_IS_SEPARATOR_MENU_ITEM(items->data));
  GtkWidget* exitItem = GTK_WIDGET(items->next->data);
  g_list_free(items);
  GList* parts = gtk_container_get_children(GTK_CONTAINER(gtk_bin_get_child(GTK_BIN(exitItem))));
  ASSERT_EQ(g_list_length(parts), 2u);
  EXPECT_EQ(LabelText(GTK_WIDGET(parts->data)), "Exit");
  EXPECT_EQ(gtk_label_get_mnemonic_keyval(GTK_LABEL(parts->data)), GDK_KEY_x);
  EXPECT_EQ(LabelText(GTK_WIDGET(parts->next->data)), "Ctrl+Q");
  g_list_free(parts);

  gtk_menu_item_activate(GTK_MENU_ITEM(exitItem));
  EXPECT_EQ(exits, 1);
  // The shortcut itself chooses the item.
  gtk_accel_groups_activate(G_OBJECT(backend().WindowOf(*s.form)), GDK_KEY_q, GDK_CONTROL_MASK);
  EXPECT_EQ(exits, 2);

  // A renamed item shows at once, in the bar that was built.
  exit->SetCaption("&Quit");
  Refresh();
  EXPECT_EQ(backend().MenuBarOf(*s.form), bar);
  top = gtk_container_get_children(GTK_CONTAINER(backend().MenuBarOf(*s.form)));
  items = gtk_container_get_children(
      GTK_CONTAINER(gtk_menu_item_get_submenu(GTK_MENU_ITEM(top->data))));
  parts = gtk_container_get_children(GTK_CONTAINER(gtk_bin_get_child(GTK_BIN(items->next->data))));
  EXPECT_EQ(LabelText(GTK_WIDGET(parts->data)), "Quit");
  g_list_free(parts);
  g_list_free(items);
  g_list_free(top);
}

TEST_F(GtkBackendTest, RunWaitsInTheGtkLoopUntilTheMainFormCloses) {
  TSample s = MakeSample();
  s.help->OnClick = [&s](TObject*) { s.form->Close(); };
  const TButton* help = s.help;
  g_timeout_add(
      10,
      [](gpointer data) {
        Click(*static_cast<const TButton*>(data));
        return G_SOURCE_REMOVE;
      },
      const_cast<TButton*>(help));
  Application().Run();
  EXPECT_TRUE(Application().Terminated());
}

TEST_F(GtkBackendTest, ShowModalRunsANestedLoopUntilAButtonAnswers) {
  TSample s = MakeSample();
  TForm* dialog = nullptr;
  Application().CreateForm(dialog);
  dialog->SetCaption("Question");
  auto* yes = PutOwned<TButton>(dialog, "Yes", {10, 10, 75, 25}, "&Yes");
  yes->SetModalResult(mrYes);
  bool modalShown = false;
  Application().Post([&] {
    Refresh();
    GtkWidget* window = backend().WindowOf(*dialog);
    modalShown =
        window != nullptr && gtk_window_get_modal(GTK_WINDOW(window)) &&
        gtk_window_get_transient_for(GTK_WINDOW(window)) == GTK_WINDOW(backend().WindowOf(*s.form));
    Click(*yes);
  });
  EXPECT_EQ(dialog->ShowModal(), mrYes);
  EXPECT_TRUE(modalShown);
  Refresh();
  EXPECT_EQ(backend().WindowOf(*dialog), nullptr);
}

TEST_F(GtkBackendTest, AFormThatGoesTakesItsWindowAlong) {
  TSample s = MakeSample();
  ASSERT_NE(backend().WindowOf(*s.form), nullptr);
  delete s.form;
  Refresh();
  int titled = 0;
  GList* windows = gtk_window_list_toplevels();
  for (GList* window = windows; window != nullptr; window = window->next) {
    const char* title = gtk_window_get_title(GTK_WINDOW(window->data));
    if (title != nullptr && std::string(title) == "Locale Probe") ++titled;
  }
  g_list_free(windows);
  EXPECT_EQ(titled, 0);
}

// A form and its translator switched between English, Arabic and Hebrew by a dictionary, as
// a running program switches them.
class GtkBackendTranslationTest : public ScreenTest {
 protected:
  GtkBackendTranslationTest() {
    dictionary_.SetDictionaryName("Dictionary1");
    dictionary_.SetBinding(lang::lxbiNone);
    dictionary_.SetCheckLevel(lang::lxclNone);
    dictionary_.AddLanguage(0, 0, 1252, "", "English");
    dictionary_.AddLanguage(lang::TLxLanguage(1, 1, 1256, "", "Arabic", "", "", 0, {}));
    dictionary_.AddLanguage(lang::TLxLanguage(13, 1, 1255, "", "Hebrew", "", "", 0, {}));
    dictionary_.SetText("Locale Probe", 1, "\xE3\xD3\xC8\xC7\xD1 \xC7\xE1\xE1\xDB\xC9");
    dictionary_.SetText("&Language:", 1, "&\xC7\xE1\xE1\xDB\xC9:");
    dictionary_.SetText("&Help", 1, "&\xE3\xD3\xC7\xDA\xCF\xC9");
    dictionary_.SetText("&Language:", 2, "&\xF9\xF4\xE4:");
    Application().CreateForm(form_);
    form_->SetBounds(40, 30, 400, 300);
    form_->SetCaption("Locale Probe");
    label_ = PutOwned<TLabel>(form_, "LanguageLabel", {8, 8, 120, 13}, "&Language:");
    button_ = PutOwned<TButton>(form_, "HelpButton", {312, 264, 75, 25}, "&Help");
    panel_ = PutOwned<TPanel>(form_, "Panel", {200, 100, 150, 60});
    inner_ = PutOwned<TLabel>(panel_, "InnerLabel", {10, 10, 50, 13}, "&Help");
    auto* translator = new translator::TLxTranslator(form_);
    translator->SetName("Translator1");
    translator->SetDictionaryName("Dictionary1");
    translator->Targets()->Add("", 0, "Caption");
    form_->Show();
    dictionary_.SetLanguage(0);
    dictionary_.Open();
    translator->Open();
    Refresh();
  }

  void Switch(int language) {
    dictionary_.SetLanguage(language);
    Refresh();
  }

  std::vector<TBounds> Places() const {
    std::vector<TBounds> places;
    for (const TControl* control :
         {static_cast<const TControl*>(label_), static_cast<const TControl*>(button_),
          static_cast<const TControl*>(panel_), static_cast<const TControl*>(inner_)})
      places.push_back(Placed(*control));
    return places;
  }

  support::FixedSystem system_;
  support::TLxProcessState state_;
  support::TLxMemoryDictionary dictionary_{nullptr};
  TForm* form_ = nullptr;
  TLabel* label_;
  TButton* button_;
  TPanel* panel_;
  TLabel* inner_;
};

TEST_F(GtkBackendTranslationTest, ASwitchToArabicMirrorsTheWindowAndEnglishPutsItBack) {
  const std::vector<TBounds> english = Places();
  EXPECT_EQ(english[1], (TBounds{312, 264, 75, 25}));

  Switch(1);
  GtkWidget* window = backend().WindowOf(*form_);
  EXPECT_STREQ(gtk_window_get_title(GTK_WINDOW(window)),
               "\u0645\u0633\u0628\u0627\u0631 \u0627\u0644\u0644\u063A\u0629");
  EXPECT_EQ(Drawn(*label_).text, "\u0627\u0644\u0644\u063A\u0629:");
  EXPECT_TRUE(Drawn(*label_).look.rightToLeft);
  EXPECT_EQ(gtk_widget_get_direction(backend().BoxOf(*form_)), GTK_TEXT_DIR_LTR);
  const std::vector<TBounds> arabic = Places();
  EXPECT_EQ(arabic, (std::vector<TBounds>{{400 - 8 - 120, 8, 120, 13},
                                          {400 - 312 - 75, 264, 75, 25},
                                          {400 - 200 - 150, 100, 150, 60},
                                          {150 - 10 - 50, 10, 50, 13}}));

  // Hebrew is right to left as well: nothing flips a second time.
  Switch(2);
  EXPECT_EQ(Places(), arabic);
  EXPECT_EQ(Drawn(*label_).text, "\u05E9\u05E4\u05D4:");

  Switch(0);
  EXPECT_EQ(Places(), english);
  EXPECT_STREQ(gtk_window_get_title(GTK_WINDOW(window)), "Locale Probe");
  EXPECT_FALSE(Drawn(*label_).look.rightToLeft);
}

}  // namespace
}  // namespace lx::screen::test

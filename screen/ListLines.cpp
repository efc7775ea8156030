#include "screen/internal/ListLines.h"

#include <utility>

namespace lx::screen {

namespace {

struct LxListLines {
  GObject parent;
  std::vector<std::string>* lines;
};

struct LxListLinesClass {
  GObjectClass parentClass;
};

// Iterators carry their row; the rows of a model never change in number, so they persist.
constexpr gint kStamp = 0x4C784C6E;

GType ListLinesType();

std::vector<std::string>& Lines(GtkTreeModel* model) {
  return *G_TYPE_CHECK_INSTANCE_CAST(model, ListLinesType(), LxListLines)->lines;
}

gint RowOf(const GtkTreeIter* iter) {
  return GPOINTER_TO_INT(iter->user_data);
}

gboolean PointAt(GtkTreeModel* model, GtkTreeIter* iter, gint row) {
  if (row < 0 || static_cast<std::size_t>(row) >= Lines(model).size()) {
    iter->stamp = 0;
    return FALSE;
  }
  iter->stamp = kStamp;
  iter->user_data = GINT_TO_POINTER(row);
  return TRUE;
}

GtkTreeModelFlags Flags(GtkTreeModel*) {
  return static_cast<GtkTreeModelFlags>(GTK_TREE_MODEL_LIST_ONLY | GTK_TREE_MODEL_ITERS_PERSIST);
}

gint Columns(GtkTreeModel*) {
  return 1;
}

GType ColumnType(GtkTreeModel*, gint) {
  return G_TYPE_STRING;
}

gboolean IterAt(GtkTreeModel* model, GtkTreeIter* iter, GtkTreePath* path) {
  if (gtk_tree_path_get_depth(path) != 1) return FALSE;
  return PointAt(model, iter, gtk_tree_path_get_indices(path)[0]);
}

GtkTreePath* PathOf(GtkTreeModel*, GtkTreeIter* iter) {
  return gtk_tree_path_new_from_indices(RowOf(iter), -1);
}

void ValueOf(GtkTreeModel* model, GtkTreeIter* iter, gint, GValue* value) {
  g_value_init(value, G_TYPE_STRING);
  const std::vector<std::string>& lines = Lines(model);
  const auto row = static_cast<std::size_t>(RowOf(iter));
  if (iter->stamp == kStamp && row < lines.size()) g_value_set_string(value, lines[row].c_str());
}

gboolean Next(GtkTreeModel* model, GtkTreeIter* iter) {
  return PointAt(model, iter, RowOf(iter) + 1);
}

gboolean Previous(GtkTreeModel* model, GtkTreeIter* iter) {
  return PointAt(model, iter, RowOf(iter) - 1);
}

// A list: the rows are the root's children, and have none.
gboolean Children(GtkTreeModel* model, GtkTreeIter* iter, GtkTreeIter* parent) {
  return parent == nullptr ? PointAt(model, iter, 0) : FALSE;
}

gboolean HasChildren(GtkTreeModel*, GtkTreeIter*) {
  return FALSE;
}

gint ChildCount(GtkTreeModel* model, GtkTreeIter* iter) {
  return iter == nullptr ? static_cast<gint>(Lines(model).size()) : 0;
}

gboolean NthChild(GtkTreeModel* model, GtkTreeIter* iter, GtkTreeIter* parent, gint n) {
  return parent == nullptr ? PointAt(model, iter, n) : FALSE;
}

gboolean Parent(GtkTreeModel*, GtkTreeIter* iter, GtkTreeIter*) {
  iter->stamp = 0;
  return FALSE;
}

void InitModel(gpointer face, gpointer) {
  auto* model = static_cast<GtkTreeModelIface*>(face);
  model->get_flags = Flags;
  model->get_n_columns = Columns;
  model->get_column_type = ColumnType;
  model->get_iter = IterAt;
  model->get_path = PathOf;
  model->get_value = ValueOf;
  model->iter_next = Next;
  model->iter_previous = Previous;
  model->iter_children = Children;
  model->iter_has_child = HasChildren;
  model->iter_n_children = ChildCount;
  model->iter_nth_child = NthChild;
  model->iter_parent = Parent;
}

void Finalize(GObject* object) {
  delete reinterpret_cast<LxListLines*>(object)->lines;
  G_OBJECT_CLASS(g_type_class_peek_parent(G_OBJECT_GET_CLASS(object)))->finalize(object);
}

void InitClass(gpointer klass, gpointer) {
  G_OBJECT_CLASS(klass)->finalize = Finalize;
}

void InitInstance(GTypeInstance* instance, gpointer) {
  reinterpret_cast<LxListLines*>(instance)->lines = new std::vector<std::string>();
}

GType ListLinesType() {
  static GType type = 0;
  if (type == 0) {
    const GTypeInfo info{
        sizeof(LxListLinesClass), nullptr, nullptr,      InitClass, nullptr, nullptr,
        sizeof(LxListLines),      0,       InitInstance, nullptr};
    type = g_type_register_static(G_TYPE_OBJECT, "LxListLines", &info, static_cast<GTypeFlags>(0));
    const GInterfaceInfo model{InitModel, nullptr, nullptr};
    g_type_add_interface_static(type, GTK_TYPE_TREE_MODEL, &model);
  }
  return type;
}

}  // namespace

GtkTreeModel* NewListLines(std::vector<std::string> lines) {
  GtkTreeModel* model = GTK_TREE_MODEL(g_object_new(ListLinesType(), nullptr));
  Lines(model) = std::move(lines);
  return model;
}

const std::vector<std::string>& LinesOf(GtkTreeModel* model) {
  return Lines(model);
}

void ReplaceLines(GtkTreeModel* model, std::vector<std::string> lines, GtkTreeView* view) {
  std::vector<std::string>& own = Lines(model);
  if (lines.size() != own.size()) return;
  GtkTreePath* first = nullptr;
  GtkTreePath* last = nullptr;
  gint from = 0;
  gint to = -1;
  if (gtk_tree_view_get_visible_range(view, &first, &last)) {
    from = gtk_tree_path_get_indices(first)[0];
    to = gtk_tree_path_get_indices(last)[0];
    gtk_tree_path_free(first);
    gtk_tree_path_free(last);
  }
  std::vector<gint> shown;
  for (gint row = from; row <= to && static_cast<std::size_t>(row) < own.size(); ++row) {
    if (own[static_cast<std::size_t>(row)] != lines[static_cast<std::size_t>(row)])
      shown.push_back(row);
  }
  own = std::move(lines);
  for (const gint row : shown) {
    GtkTreeIter iter;
    PointAt(model, &iter, row);
    GtkTreePath* path = gtk_tree_path_new_from_indices(row, -1);
    gtk_tree_model_row_changed(model, path, &iter);
    gtk_tree_path_free(path);
  }
}

}  // namespace lx::screen

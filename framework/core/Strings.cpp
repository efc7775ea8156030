#include "framework/core/Strings.h"

#include <algorithm>

#include "framework/rtti/Published.h"
#include "framework/streaming/Filer.h"

namespace lx::framework {

LX_PUBLISHED(TStrings)
LX_PUBLISHED(TStringList)

namespace {

// Runs `change` inside BeginUpdate/EndUpdate; the update ends also when the change fails.
template <typename F>
void InUpdate(TStrings& strings, F change) {
  strings.BeginUpdate();
  try {
    change();
  } catch (...) {
    strings.EndUpdate();
    throw;
  }
  strings.EndUpdate();
}

// Blanks of the comma format: every byte up to the space, the control characters included.
bool IsBlank(char c) {
  return static_cast<unsigned char>(c) <= ' ';
}

bool NeedsQuotes(const std::string& value) {
  return std::any_of(value.begin(), value.end(),
                     [](char c) { return IsBlank(c) || c == '"' || c == ','; });
}

std::string Quoted(const std::string& value) {
  std::string result = "\"";
  for (char c : value) {
    if (c == '"') result += '"';
    result += c;
  }
  return result + '"';
}

// Reads a double-quoted item starting at `pos`; doubled quotes stand for one. An item whose
// closing quote is missing runs to the end of the text.
std::string ReadQuoted(std::string_view text, std::size_t& pos) {
  std::string item;
  ++pos;
  while (pos < text.size()) {
    const std::size_t quote = text.find('"', pos);
    if (quote == std::string_view::npos) {
      item += text.substr(pos);
      pos = text.size();
      break;
    }
    item += text.substr(pos, quote - pos);
    pos = quote + 1;
    if (pos < text.size() && text[pos] == '"') {
      item += '"';
      ++pos;
    } else {
      break;
    }
  }
  return item;
}

std::vector<std::string> SplitCommaText(std::string_view text) {
  std::vector<std::string> items;
  std::size_t pos = 0;
  auto skipBlanks = [&] {
    while (pos < text.size() && IsBlank(text[pos]))
      ++pos;
  };
  skipBlanks();
  while (pos < text.size()) {
    if (text[pos] == '"') {
      items.push_back(ReadQuoted(text, pos));
    } else {
      const std::size_t start = pos;
      while (pos < text.size() && !IsBlank(text[pos]) && text[pos] != ',')
        ++pos;
      items.emplace_back(text.substr(start, pos - start));
    }
    skipBlanks();
    if (pos < text.size() && text[pos] == ',') {
      if (pos + 1 == text.size()) items.emplace_back();
      ++pos;
      skipBlanks();
    }
  }
  return items;
}

std::vector<std::string> SplitLines(std::string_view text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\r' && text[i] != '\n') continue;
    lines.emplace_back(text.substr(start, i - start));
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    start = i + 1;
  }
  if (start < text.size()) lines.emplace_back(text.substr(start));
  return lines;
}

unsigned char UpperAscii(char c) {
  const auto byte = static_cast<unsigned char>(c);
  return byte >= 'a' && byte <= 'z' ? static_cast<unsigned char>(byte - 'a' + 'A') : byte;
}

// Compares as the upper-case forms would, without building them.
int CompareTextAscii(std::string_view a, std::string_view b) {
  const std::size_t common = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < common; ++i) {
    const unsigned char x = UpperAscii(a[i]);
    const unsigned char y = UpperAscii(b[i]);
    if (x != y) return x < y ? -1 : 1;
  }
  return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

}  // namespace

// TStrings

void TStrings::IndexError(int index) const {
  throw EStringListError("List index out of bounds (" + std::to_string(index) + ")");
}

void TStrings::SetStrings(int index, const std::string& value) {
  TObject* object = Objects(index);
  InUpdate(*this, [&] {
    Delete(index);
    InsertObject(index, value, object);
  });
}

TObject* TStrings::Objects(int) const {
  return nullptr;
}

void TStrings::SetObjects(int, TObject*) {}

int TStrings::Add(const std::string& value) {
  return AddObject(value, nullptr);
}

int TStrings::AddObject(const std::string& value, TObject* object) {
  const int index = Count();
  InsertObject(index, value, object);
  return index;
}

void TStrings::InsertObject(int index, const std::string& value, TObject* object) {
  InUpdate(*this, [&] {
    Insert(index, value);
    SetObjects(index, object);
  });
}

void TStrings::Exchange(int index1, int index2) {
  InUpdate(*this, [&] {
    const std::string text = Strings(index1);
    TObject* object = Objects(index1);
    SetStrings(index1, Strings(index2));
    SetObjects(index1, Objects(index2));
    SetStrings(index2, text);
    SetObjects(index2, object);
  });
}

void TStrings::Move(int curIndex, int newIndex) {
  if (curIndex == newIndex) return;
  InUpdate(*this, [&] {
    const std::string text = Strings(curIndex);
    TObject* object = Objects(curIndex);
    Delete(curIndex);
    InsertObject(newIndex, text, object);
  });
}

void TStrings::AddStrings(const TStrings& strings) {
  const int count = strings.Count();
  InUpdate(*this, [&] {
    for (int i = 0; i < count; ++i)
      AddObject(strings.Strings(i), strings.Objects(i));
  });
}

int TStrings::IndexOf(const std::string& value) const {
  for (int i = 0; i < Count(); ++i) {
    if (CompareStrings(Strings(i), value) == 0) return i;
  }
  return -1;
}

int TStrings::IndexOfObject(const TObject* object) const {
  for (int i = 0; i < Count(); ++i) {
    if (Objects(i) == object) return i;
  }
  return -1;
}

bool TStrings::Equals(const TStrings& strings) const {
  if (strings.Count() != Count()) return false;
  for (int i = 0; i < Count(); ++i) {
    if (strings.Strings(i) != Strings(i)) return false;
  }
  return true;
}

std::string TStrings::Text() const {
  std::string text;
  for (int i = 0; i < Count(); ++i) {
    text += Strings(i);
    text += '\n';
  }
  return text;
}

void TStrings::SetText(std::string_view text) {
  const std::vector<std::string> lines = SplitLines(text);
  InUpdate(*this, [&] {
    Clear();
    for (const std::string& line : lines)
      Add(line);
  });
}

std::string TStrings::CommaText() const {
  if (Count() == 1 && Strings(0).empty()) return "\"\"";
  std::string text;
  for (int i = 0; i < Count(); ++i) {
    if (i > 0) text += ',';
    const std::string value = Strings(i);
    text += NeedsQuotes(value) ? Quoted(value) : value;
  }
  return text;
}

void TStrings::SetCommaText(std::string_view text) {
  const std::vector<std::string> items = SplitCommaText(text);
  InUpdate(*this, [&] {
    Clear();
    for (const std::string& item : items)
      Add(item);
  });
}

void TStrings::DefineProperties(TFiler& filer) {
  TPersistent::DefineProperties(filer);
  const auto* ancestor = dynamic_cast<const TStrings*>(filer.Ancestor());
  const bool hasData =
      filer.Ancestor() != nullptr ? ancestor == nullptr || !Equals(*ancestor) : Count() > 0;
  filer.DefineProperty(
      "Strings", [this](TReader& reader) { ReadData(reader); },
      [this](TWriter& writer) { WriteData(writer); }, hasData);
}

void TStrings::ReadData(TReader& reader) {
  reader.ReadListBegin();
  InUpdate(*this, [&] {
    Clear();
    while (!reader.EndOfList())
      Add(reader.ReadString());
  });
  reader.ReadListEnd();
}

void TStrings::WriteData(TWriter& writer) const {
  writer.WriteListBegin();
  for (int i = 0; i < Count(); ++i)
    writer.WriteString(Strings(i));
  writer.WriteListEnd();
}

void TStrings::Assign(const TPersistent* source) {
  if (source == this) return;
  if (const auto* strings = dynamic_cast<const TStrings*>(source)) {
    InUpdate(*this, [&] {
      Clear();
      AddStrings(*strings);
    });
    return;
  }
  TPersistent::Assign(source);
}

void TStrings::BeginUpdate() {
  if (updateCount_ == 0) SetUpdateState(true);
  ++updateCount_;
}

void TStrings::EndUpdate() {
  if (updateCount_ == 0) return;
  --updateCount_;
  if (updateCount_ == 0) SetUpdateState(false);
}

void TStrings::SetUpdateState(bool) {}

int TStrings::CompareStrings(const std::string& a, const std::string& b) const {
  return CompareTextAscii(a, b);
}

// TStringList

TStringList::~TStringList() {
  OnChanging = nullptr;
  OnChange = nullptr;
  for (const Item& item : items_)
    FreeObject(item.object);
}

void TStringList::CheckIndex(int index) const {
  if (index < 0 || index >= Count()) IndexError(index);
}

void TStringList::CheckUnsorted() const {
  if (sorted_) throw EStringListError("Operation not allowed on sorted list");
}

void TStringList::FreeObject(TObject* object) const {
  if (ownsObjects_) delete object;
}

std::string TStringList::Strings(int index) const {
  CheckIndex(index);
  return items_[static_cast<std::size_t>(index)].text;
}

void TStringList::SetStrings(int index, const std::string& value) {
  CheckUnsorted();
  CheckIndex(index);
  Changing();
  items_[static_cast<std::size_t>(index)].text = value;
  Changed();
}

TObject* TStringList::Objects(int index) const {
  CheckIndex(index);
  return items_[static_cast<std::size_t>(index)].object;
}

void TStringList::SetObjects(int index, TObject* object) {
  CheckIndex(index);
  Changing();
  TObject* old = std::exchange(items_[static_cast<std::size_t>(index)].object, object);
  if (old != object) FreeObject(old);
  Changed();
}

int TStringList::AddObject(const std::string& value, TObject* object) {
  int index = Count();
  if (sorted_ && Find(value, index)) {
    if (duplicates_ == dupIgnore) {
      if (object != items_[static_cast<std::size_t>(index)].object) FreeObject(object);
      return index;
    }
    if (duplicates_ == dupError) throw EStringListError("String list does not allow duplicates");
  }
  InsertItem(index, value, object);
  return index;
}

void TStringList::Insert(int index, const std::string& value) {
  InsertObject(index, value, nullptr);
}

void TStringList::InsertObject(int index, const std::string& value, TObject* object) {
  CheckUnsorted();
  if (index < 0 || index > Count()) IndexError(index);
  InsertItem(index, value, object);
}

void TStringList::InsertItem(int index, const std::string& value, TObject* object) {
  Changing();
  items_.insert(items_.begin() + index, Item{value, object});
  Changed();
}

void TStringList::Delete(int index) {
  CheckIndex(index);
  Changing();
  TObject* object = items_[static_cast<std::size_t>(index)].object;
  items_.erase(items_.begin() + index);
  FreeObject(object);
  Changed();
}

void TStringList::Clear() {
  if (items_.empty()) return;
  Changing();
  std::vector<Item> old;
  old.swap(items_);
  for (const Item& item : old)
    FreeObject(item.object);
  Changed();
}

void TStringList::Exchange(int index1, int index2) {
  CheckUnsorted();
  CheckIndex(index1);
  CheckIndex(index2);
  Changing();
  std::swap(items_[static_cast<std::size_t>(index1)], items_[static_cast<std::size_t>(index2)]);
  Changed();
}

void TStringList::Move(int curIndex, int newIndex) {
  CheckUnsorted();
  CheckIndex(curIndex);
  CheckIndex(newIndex);
  if (curIndex == newIndex) return;
  Changing();
  const auto first = items_.begin();
  if (curIndex < newIndex) {
    std::rotate(first + curIndex, first + curIndex + 1, first + newIndex + 1);
  } else {
    std::rotate(first + newIndex, first + curIndex, first + curIndex + 1);
  }
  Changed();
}

int TStringList::IndexOf(const std::string& value) const {
  if (!sorted_) return TStrings::IndexOf(value);
  int index = 0;
  return Find(value, index) ? index : -1;
}

bool TStringList::Find(const std::string& value, int& index) const {
  if (!sorted_) {
    const int found = TStrings::IndexOf(value);
    index = found >= 0 ? found : Count();
    return found >= 0;
  }
  const auto place = std::lower_bound(
      items_.begin(), items_.end(), value,
      [this](const Item& item, const std::string& v) { return CompareStrings(item.text, v) < 0; });
  index = static_cast<int>(place - items_.begin());
  return place != items_.end() && CompareStrings(place->text, value) == 0;
}

void TStringList::Sort() {
  if (Count() < 2) return;
  Changing();
  std::stable_sort(items_.begin(), items_.end(), [this](const Item& a, const Item& b) {
    return CompareStrings(a.text, b.text) < 0;
  });
  Changed();
}

void TStringList::SetSorted(bool value) {
  if (value == sorted_) return;
  if (value) Sort();
  sorted_ = value;
}

void TStringList::SetCaseSensitive(bool value) {
  if (value == caseSensitive_) return;
  caseSensitive_ = value;
  if (sorted_) Sort();
}

void TStringList::Changing() {
  if (UpdateCount() == 0 && OnChanging) OnChanging(this);
}

void TStringList::Changed() {
  if (UpdateCount() == 0 && OnChange) OnChange(this);
}

void TStringList::SetUpdateState(bool updating) {
  if (updating) {
    Changing();
  } else {
    Changed();
  }
}

int TStringList::CompareStrings(const std::string& a, const std::string& b) const {
  return caseSensitive_ ? a.compare(b) : CompareTextAscii(a, b);
}

}  // namespace lx::framework

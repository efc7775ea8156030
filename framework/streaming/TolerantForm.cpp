#include "framework/streaming/TolerantForm.h"

#include <algorithm>
#include <optional>
#include <string_view>

#include "framework/streaming/LoadedList.h"
#include "framework/streaming/StandIns.h"
#include "framework/streaming/Streams.h"
#include "platform/TextUtils.h"

namespace lx::framework {

namespace {

struct TCaseless {
  bool operator()(const std::string& a, const std::string& b) const {
    return platform::LowerCaseAscii(a) < platform::LowerCaseAscii(b);
  }
};

using TStoredProperties = std::vector<std::pair<std::string, std::vector<std::uint8_t>>>;

bool StartsWithSignature(std::span<const std::uint8_t> bytes) {
  return bytes.size() >= kFormSignature.size() &&
         std::equal(kFormSignature.begin(), kFormSignature.end(), bytes.begin());
}

// A resource header: FF, the type as FF and a 16-bit number or... (always 0A 00 for form
// data), the name as FF and a number or as a null-ended text, 16-bit flags, a 32-bit size.
std::optional<std::size_t> ResourceHeaderSize(const std::vector<std::uint8_t>& bytes) {
  if (bytes.size() < 3 || bytes[0] != 0xFF || bytes[1] != 0x0A || bytes[2] != 0x00) return {};
  std::size_t at = 3;
  if (at < bytes.size() && bytes[at] == 0xFF) {
    at += 3;
  } else {
    while (at < bytes.size() && bytes[at] != 0)
      ++at;
    ++at;
  }
  at += 2 + 4;
  if (at > bytes.size()) return {};
  return at;
}

std::uint32_t HeaderDataSize(const std::vector<std::uint8_t>& header) {
  const std::size_t at = header.size() - 4;
  return header[at] | (header[at + 1] << 8) | (header[at + 2] << 16) |
         (static_cast<std::uint32_t>(header[at + 3]) << 24);
}

// What the writer stores for `instance`, name by name.
TStoredProperties StoredPropertiesOf(TComponent& root, TComponent& instance) {
  TMemoryStream stream;
  {
    TWriter writer(stream);
    writer.WriteStoredProperties(root, instance);
  }
  TStoredProperties properties;
  const std::vector<std::uint8_t>& bytes = stream.Bytes();
  TReadOnlyMemoryStream input(bytes);
  TReader reader(input, 4096);
  while (reader.Position() < input.Size()) {
    std::string name = reader.ReadStr();
    const std::int64_t start = reader.Position();
    reader.SkipValue();
    properties.emplace_back(
        std::move(name),
        std::vector<std::uint8_t>(bytes.begin() + start, bytes.begin() + reader.Position()));
  }
  return properties;
}

std::size_t IndentAt(const std::string& text, std::size_t lineStart) {
  std::size_t at = lineStart;
  while (at < text.size() && text[at] == ' ')
    ++at;
  return at - lineStart;
}

}  // namespace

struct TTolerantForm::TRecord {
  struct TSpan {
    std::int64_t nameStart, valueStart, valueEnd;
  };
  TComponent* component = nullptr;
  std::map<std::string, TSpan, TCaseless> spans;
  std::map<std::string, bool, TCaseless> kept;
  std::int64_t propertiesEnd = -1;
  std::optional<TStoredProperties> before;
};

// One change of the binary stream: [start, end) becomes `value`, after `name` when it is
// a property inserted (`inserted`) at start.
struct TTolerantForm::TEdit {
  std::int64_t start, end;
  std::string name;
  std::vector<std::uint8_t> value;
  bool inserted = false;
  std::int64_t nameStart = -1;  // a replaced value's property
};

TTolerantForm::~TTolerantForm() = default;

bool TTolerantForm::IsBinary(const std::vector<std::uint8_t>& bytes) {
  if (StartsWithSignature(bytes)) return true;
  const std::optional<std::size_t> header = ResourceHeaderSize(bytes);
  return header && StartsWithSignature(std::span(bytes).subspan(*header));
}

std::unique_ptr<TTolerantForm> TTolerantForm::FromBinary(std::vector<std::uint8_t> bytes) {
  std::unique_ptr<TTolerantForm> form(new TTolerantForm());
  const std::optional<std::size_t> header = ResourceHeaderSize(bytes);
  if (header && !StartsWithSignature(bytes)) {
    form->header_.assign(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(*header));
    const std::size_t size = HeaderDataSize(form->header_);
    if (size > bytes.size() - *header) throw platform::EReadError("Stream read error");
    form->binary_.assign(bytes.begin() + static_cast<std::ptrdiff_t>(*header),
                         bytes.begin() + static_cast<std::ptrdiff_t>(*header + size));
  } else {
    form->binary_ = bytes;
  }
  form->source_ = std::move(bytes);
  return form;
}

std::unique_ptr<TTolerantForm> TTolerantForm::FromText(std::string text,
                                                       platform::CodePage codePage) {
  std::unique_ptr<TTolerantForm> form(new TTolerantForm());
  form->source_.assign(text.begin(), text.end());
  form->codePage_ = codePage;
  form->text_ = std::make_unique<std::string>(
      codePage == platform::CP_UTF8 ? std::move(text) : FormTextFromCodePage(text, codePage));
  form->binary_ = FormTextToBinary(*form->text_, &form->map_);
  return form;
}

std::unique_ptr<TTolerantForm> TTolerantForm::FromSource(std::vector<std::uint8_t> bytes,
                                                         platform::CodePage codePage) {
  if (IsBinary(bytes)) return FromBinary(std::move(bytes));
  return FromText(std::string(bytes.begin(), bytes.end()), codePage);
}

std::string TTolerantForm::RootClassName() const {
  TReadOnlyMemoryStream stream(binary_);
  TReader reader(stream, 4096);
  reader.ReadSignature();
  TFilerFlags flags;
  int childPos = 0;
  reader.ReadPrefix(flags, childPos);
  return reader.ReadStr();
}

bool TTolerantForm::RootInherited() const {
  TReadOnlyMemoryStream stream(binary_);
  TReader reader(stream, 4096);
  reader.ReadSignature();
  TFilerFlags flags;
  int childPos = 0;
  reader.ReadPrefix(flags, childPos);
  return flags.Contains(ffInherited);
}

void TTolerantForm::ReadInto(TComponent& root, TLoadedList* loaded) {
  root_ = &root;
  TReadOnlyMemoryStream stream(binary_);
  TReader reader(stream, 4096);
  reader.SetTolerance(this);
  reader.SetLoadedList(loaded);
  reader.ReadRootComponent(&root);
  if (reader.Position() != stream.Size())
    throw platform::EReadError("Unexpected data after the form");
}

TComponent* TTolerantForm::CreateStandIn(const std::string& className, TComponent* owner) {
  if (standInFactory_) {
    if (TComponent* made = standInFactory_(className, owner)) return made;
  }
  return new TStandInComponent(className, owner);
}

void TTolerantForm::Keep(TPersistent& instance, const std::string& path,
                         std::vector<std::uint8_t> value) {
  if (auto* standIn = dynamic_cast<TStandInComponent*>(&instance))
    return standIn->Values().Take(path, value);
  if (auto* item = dynamic_cast<TStandInItem*>(&instance)) return item->Values().Take(path, value);
  if (auto* component = dynamic_cast<TComponent*>(&instance))
    RecordOf(*component).kept[path] = true;
  kept_.push_back({&instance, path, std::move(value)});
}

void TTolerantForm::PropertyMet(TComponent& component, const std::string& path,
                                std::int64_t nameStart, std::int64_t valueStart,
                                std::int64_t valueEnd) {
  RecordOf(component).spans[path] = {nameStart, valueStart, valueEnd};
}

void TTolerantForm::PropertiesEnd(TComponent& component, std::int64_t position) {
  RecordOf(component).propertiesEnd = position;
}

TTolerantForm::TRecord& TTolerantForm::RecordOf(TComponent& component) {
  auto found = recordOf_.find(&component);
  if (found != recordOf_.end()) return *found->second;
  records_.push_back(std::make_unique<TRecord>());
  records_.back()->component = &component;
  recordOf_[&component] = records_.back().get();
  return *records_.back();
}

// A component whose properties cannot be written is left as it stood.
void TTolerantForm::Snapshot() {
  for (const auto& record : records_) {
    try {
      record->before = StoredPropertiesOf(*root_, *record->component);
    } catch (const platform::Exception&) {
      record->before.reset();
    }
  }
}

std::vector<TTolerantForm::TEdit> TTolerantForm::Edits() const {
  std::vector<TEdit> edits;
  for (const auto& record : records_) {
    if (!record->before || record->propertiesEnd < 0) continue;
    TStoredProperties after;
    try {
      after = StoredPropertiesOf(*root_, *record->component);
    } catch (const platform::Exception&) {
      continue;
    }
    std::map<std::string, const std::vector<std::uint8_t>*, TCaseless> before;
    for (const auto& [name, value] : *record->before)
      before[name] = &value;
    std::map<std::string, bool, TCaseless> present;
    for (const auto& [name, value] : after) {
      present[name] = true;
      const auto old = before.find(name);
      if (old != before.end() && *old->second == value) continue;
      if (record->kept.contains(name)) continue;
      const auto span = record->spans.find(name);
      if (span != record->spans.end()) {
        edits.push_back({span->second.valueStart, span->second.valueEnd, name, value, false,
                         span->second.nameStart});
      } else {
        edits.push_back({record->propertiesEnd, record->propertiesEnd, name, value, true});
      }
    }
    for (const auto& [name, value] : *record->before) {
      const auto span = record->spans.find(name);
      if (present.contains(name) || record->kept.contains(name) || span == record->spans.end())
        continue;
      edits.push_back({span->second.nameStart, span->second.valueEnd, name, {}, false});
    }
  }
  std::stable_sort(edits.begin(), edits.end(),
                   [](const TEdit& a, const TEdit& b) { return a.start < b.start; });
  return edits;
}

int TTolerantForm::ChangedValues() const {
  return static_cast<int>(Edits().size());
}

std::vector<std::uint8_t> TTolerantForm::SpliceBinary(const std::vector<TEdit>& edits) const {
  std::vector<std::uint8_t> out;
  std::int64_t at = 0;
  for (const TEdit& edit : edits) {
    out.insert(out.end(), binary_.begin() + at, binary_.begin() + edit.start);
    if (edit.inserted) {
      out.push_back(static_cast<std::uint8_t>(edit.name.size()));
      out.insert(out.end(), edit.name.begin(), edit.name.end());
    }
    out.insert(out.end(), edit.value.begin(), edit.value.end());
    at = edit.end;
  }
  out.insert(out.end(), binary_.begin() + at, binary_.end());
  return out;
}

// Every edit's place in the text is known from the parse: a value replaced after its '=', a
// property removed with its lines, a new property on a line of its own.
std::string TTolerantForm::SpliceText(const std::vector<TEdit>& edits,
                                      std::optional<platform::CodePage> narrowCodePage) const {
  const std::string& text = *text_;
  const auto place = [](const std::map<std::int64_t, std::size_t>& map, std::int64_t at) {
    const auto found = map.find(at);
    if (found == map.end()) throw platform::EReadError("Invalid stream format");
    return found->second;
  };
  std::string out;
  std::size_t at = 0;
  for (const TEdit& edit : edits) {
    std::size_t start = 0;
    std::size_t end = 0;
    std::string replacement;
    if (edit.inserted) {
      start = end = place(map_.propertiesEnds, edit.start);
      std::size_t indent = IndentAt(text, start);
      if (text.compare(start + indent, 3, "end") == 0) indent += 2;
      replacement = std::string(indent, ' ') + edit.name + " =" +
                    FormValueText(edit.value, indent, narrowCodePage) + "\n";
    } else if (edit.nameStart >= 0) {
      start = place(map_.starts, edit.start);
      end = place(map_.valueEnds, edit.end);
      replacement = FormValueText(edit.value, IndentAt(text, place(map_.starts, edit.nameStart)),
                                  narrowCodePage);
    } else {
      start = place(map_.starts, edit.start);
      end = place(map_.valueEnds, edit.end);
      if (end < text.size() && text[end] == '\r') ++end;
      if (end < text.size() && text[end] == '\n') ++end;
    }
    if (start < at) throw platform::EReadError("Invalid stream format");
    out.append(text, at, start - at);
    out += replacement;
    at = end;
  }
  out.append(text, at);
  return out;
}

std::vector<std::uint8_t> TTolerantForm::WriteBinary() const {
  const std::vector<TEdit> edits = Edits();
  if (edits.empty() && !IsText()) return source_;
  std::vector<std::uint8_t> out = header_;
  const std::vector<std::uint8_t> stream = SpliceBinary(edits);
  if (!out.empty()) {
    const auto size = static_cast<std::uint32_t>(stream.size());
    for (std::size_t i = 0; i < 4; ++i)
      out[out.size() - 4 + i] = static_cast<std::uint8_t>(size >> (8 * i));
  }
  out.insert(out.end(), stream.begin(), stream.end());
  return out;
}

std::string TTolerantForm::WriteText() const {
  if (!IsText()) {
    const std::vector<std::uint8_t> binary = SpliceBinary(Edits());
    return FormBinaryToText(binary);
  }
  const std::vector<TEdit> edits = Edits();
  if (edits.empty()) return std::string(source_.begin(), source_.end());
  const std::string text = SpliceText(edits);
  if (codePage_ == platform::CP_UTF8) return text;
  return platform::WideToMultiByte(platform::MultiByteToWide(text, platform::CP_UTF8), codePage_);
}

std::string TTolerantForm::PrintText(platform::CodePage narrowCodePage) const {
  if (!IsText()) return FormBinaryToText(SpliceBinary(Edits()), narrowCodePage);
  // The source's text is held in UTF-8 whatever its file's code page.
  return SpliceText(Edits(), narrowCodePage);
}

std::vector<std::uint8_t> TTolerantForm::Write() const {
  if (!IsText()) return WriteBinary();
  const std::string text = WriteText();
  return std::vector<std::uint8_t>(text.begin(), text.end());
}

}  // namespace lx::framework

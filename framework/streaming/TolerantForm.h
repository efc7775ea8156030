// A stored form read tolerantly, as forms from other form designers need, and written back
// as it stood: a class the program has not registered is read into a stand-in of the stored
// class name (framework/streaming/StandIns.h); a property a registered class lacks, a defined
// property nobody reads and an event naming a method the root lacks are kept as stored. When
// the form is written again, every stored value that did not change since Snapshot is given
// back exactly as it stood in the source (text or binary, its lines, splits and order), so a
// form nobody changed comes back byte for byte, and a translated copy differs only in the
// values that changed.
//
//   auto form = TTolerantForm::FromSource(bytes);   // text (UTF-8 or a code page) or binary
//   TStandInForm root(form->RootClassName());        // or any root of the program
//   form->ReadInto(root);
//   form->Snapshot();
//   ... translate root ...
//   std::vector<std::uint8_t> out = form->Write();   // the same kind as the source
//
// The object lives no longer than the root it was read into.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "framework/streaming/Filer.h"
#include "framework/streaming/TextForm.h"
#include "platform/CodePages.h"

namespace lx::framework {

class TLoadedList;

/// A stored value that its object could not take, as it was stored.
struct TKeptValue {
  TPersistent* instance;
  std::string path;
  std::vector<std::uint8_t> value;  // kind first
};

class TTolerantForm : public TReadTolerance {
 public:
  /// A binary form stream, bare ("TPF0") or after a resource header (bytes FF 0A ...).
  static std::unique_ptr<TTolerantForm> FromBinary(std::vector<std::uint8_t> bytes);
  /// A text form in `codePage` (UTF-8 by default); raises EParserError.
  static std::unique_ptr<TTolerantForm> FromText(std::string text,
                                                 platform::CodePage codePage = platform::CP_UTF8);
  /// Either, by the bytes: binary when they start with "TPF0" or a resource header.
  static std::unique_ptr<TTolerantForm> FromSource(std::vector<std::uint8_t> bytes,
                                                   platform::CodePage codePage = platform::CP_UTF8);
  /// True when `bytes` are a binary form stream, bare or after a resource header.
  static bool IsBinary(const std::vector<std::uint8_t>& bytes);
  ~TTolerantForm() override;

  bool IsText() const { return text_ != nullptr; }
  /// The bare binary form stream of the source.
  const std::vector<std::uint8_t>& Binary() const { return binary_; }
  /// The class name and the flags of the stored root.
  std::string RootClassName() const;
  bool RootInherited() const;

  /// Reads the form into `root`. With `loaded`, the components join that list (an inherited
  /// form read after its ancestors into the same root) and the caller calls NotifyLoaded.
  void ReadInto(TComponent& root, TLoadedList* loaded = nullptr);
  /// Notes what every component read stores now: what differs from it later is written.
  void Snapshot();
  /// The form as stored, with what changed since Snapshot: in the source's kind (the source
  /// bytes themselves when nothing changed), as binary (with the source's resource header),
  /// or as text (for a binary source, the text form of the binary).
  std::vector<std::uint8_t> Write() const;
  std::vector<std::uint8_t> WriteBinary() const;
  std::string WriteText() const;
  /// The form as text to read, in UTF-8: what changed written with its 8-bit strings as
  /// characters of `narrowCodePage` (a binary source printed whole so).
  std::string PrintText(platform::CodePage narrowCodePage) const;
  /// How many stored values differ since Snapshot; a value whose component has no place in
  /// this source (a component of an ancestor form that this one does not store) is not counted.
  int ChangedValues() const;
  /// What was kept, in the order it was met.
  const std::vector<TKeptValue>& Kept() const { return kept_; }
  /// Makes the stand-ins of unregistered classes (a frame read from its own form, say); by
  /// default, and when `factory` gives null, a TStandInComponent of the stored class name.
  using TStandInFactory =
      std::function<TComponent*(const std::string& className, TComponent* owner)>;
  void SetStandInFactory(TStandInFactory factory) { standInFactory_ = std::move(factory); }

  // TReadTolerance
  TComponent* CreateStandIn(const std::string& className, TComponent* owner) override;
  void Keep(TPersistent& instance, const std::string& path,
            std::vector<std::uint8_t> value) override;
  void PropertyMet(TComponent& component, const std::string& path, std::int64_t nameStart,
                   std::int64_t valueStart, std::int64_t valueEnd) override;
  void PropertiesEnd(TComponent& component, std::int64_t position) override;

 private:
  struct TRecord;
  struct TEdit;
  TTolerantForm() = default;
  TRecord& RecordOf(TComponent& component);
  std::vector<TEdit> Edits() const;
  std::string SpliceText(const std::vector<TEdit>& edits,
                         std::optional<platform::CodePage> narrowCodePage = std::nullopt) const;
  std::vector<std::uint8_t> SpliceBinary(const std::vector<TEdit>& edits) const;

  std::vector<std::uint8_t> source_;
  std::vector<std::uint8_t> header_;  // the resource header, if any
  std::vector<std::uint8_t> binary_;
  std::unique_ptr<std::string> text_;  // the UTF-8 text of a text source
  TFormTextMap map_;
  platform::CodePage codePage_ = platform::CP_UTF8;
  TComponent* root_ = nullptr;
  std::vector<std::unique_ptr<TRecord>> records_;
  std::map<const TComponent*, TRecord*> recordOf_;
  std::vector<TKeptValue> kept_;
  TStandInFactory standInFactory_;
};

}  // namespace lx::framework

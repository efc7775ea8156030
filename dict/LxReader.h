// TLxReader: finds one stored property of one component in a form resource, and
// reads the older list form of embedded dictionary data.
//
// A dictionary that carries its data in its form does not keep it in memory:
// every query opens the owner's form resource again, walks it up to the
// dictionary component (a direct child of the root, found by class name and
// name exactly as they were stored) and reads the property from there.
//
// Forms saved by the component's earlier generation hold the data as three
// list values ("Languages", "Translations", "Locales", versions 1 and 2): a
// list of a version, [the translations' content flags from version 2,] a count
// and one list per entry. They are read, never written.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "dict/LxTranslationList.h"
#include "framework/streaming/Filer.h"
#include "lang/LxRecords.h"

namespace lx::dict {

/// How a dictionary names itself in its owner's stored form: the owner's class (the name of
/// the form resource), its own class and its own name.
struct TLxStoredComponent {
  std::string ownerClassName;
  std::string className;
  std::string componentName;
};

class TLxReader : public framework::TReader {
 public:
  TLxReader(framework::TStream& stream, int bufSize) : TReader(stream, bufSize) {}

  using TReader::SkipComponent;
  using TReader::SkipProperty;
  using TReader::SkipValue;

  /// Positions `reader`, which stands at the start of a stored form, at the value of the
  /// property `propertyName` of the root's direct child `className`/`componentName` (both
  /// compared exactly). Raises EResNotFound "Could not find the property" when the child or
  /// the property is not there, and the reader's errors for a damaged form.
  static void FindStoredProperty(framework::TReader& reader, std::string_view className,
                                 std::string_view componentName, std::string_view propertyName);
  /// One value of any kind; a kind above 20 raises EReadError "Unknown property value: <kind>".
  static void SkipValue(framework::TReader& reader) { reader.SkipValue(); }
  /// A property name and its value.
  static void SkipProperty(framework::TReader& reader) { reader.SkipProperty(); }
  /// A whole component with its properties and children.
  static void SkipComponent(framework::TReader& reader) { reader.SkipComponent(true); }

  /// Opens the form resource `component.ownerClassName` of the main module, makes a reader on
  /// it positioned at the property's value, and keeps both until `CloseStoredProperty`. A
  /// property still open is closed first. On failure nothing stays open.
  static TLxReader& OpenStoredProperty(const TLxStoredComponent& component,
                                       std::string_view propertyName);
  static void CloseStoredProperty();
};

/// Sets the entry's text and state as both forms of embedded data do: the active language's
/// text, else the fallback's, else state kNoText with the text untouched. Returns the state.
std::uint8_t SetTranslationText(lang::TLxTranslation& translation, const std::string& active,
                                const std::string& fallback);

// ---- The list form: counting passes over a reader standing at the value.
// A version above 2 raises Exception "Unknown language data version: <v>" (translation,
// locale alike); a list that does not end where its format says, the reader's error.

int CountListLanguages(framework::TReader& reader);
/// Every record holds `languageCount` texts besides its keys.
int CountListTranslations(framework::TReader& reader, int languageCount);
int CountListLocales(framework::TReader& reader);

// ---- The list form: queries, each opening and closing the stored property itself.

/// Entry `index` of "Languages" into dest, which is emptied before each entry read.
void ReadListLanguage(const TLxStoredComponent& component, int index, lang::TLxLanguage& dest);
void ReadListLanguages(const TLxStoredComponent& component,
                       std::vector<std::unique_ptr<lang::TLxLanguage>>& list);
void ReadListLocale(const TLxStoredComponent& component, int index, lang::TLxLocale& dest);
void ReadListLocales(const TLxStoredComponent& component,
                     std::vector<std::unique_ptr<lang::TLxLocale>>& list);
/// Appends to `table` the entries with a text in language `activeIndex` or `fallbackIndex`
/// (texts unescaped, keys as stored); true when the records carry context or id keys.
bool LoadListTranslations(const TLxStoredComponent& component, int languageCount, int activeIndex,
                          int fallbackIndex, TLxTranslationList& table);

}  // namespace lx::dict

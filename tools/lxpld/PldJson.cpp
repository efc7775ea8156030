#include "lxpld/PldJson.h"

#include <nlohmann/json.hpp>
#include <set>

#include "pldimage/PldFields.h"
#include "toolfiles/ToolFiles.h"

namespace lx::tools {

namespace {

using Json = nlohmann::ordered_json;

constexpr char kHexDigits[] = "0123456789abcdef";

std::string Hex(const std::vector<std::uint8_t>& bytes) {
  std::string text;
  for (const std::uint8_t byte : bytes) {
    text += kHexDigits[byte >> 4];
    text += kHexDigits[byte & 15];
  }
  return text;
}

// ---- Out

// Writes every field of a record, in the order of the image.
class JsonOut {
 public:
  explicit JsonOut(Json& object) : object_(object) {}

  const int version = 3;

  void U8(const char* field, int value) { object_[field] = value; }
  void U16(const char* field, int value) { object_[field] = value; }
  void Text(const char* field, const std::string& text, int) { object_[field] = text; }
  void Fixed(const char* field, const std::string& text, std::size_t, int) {
    object_[field] = text;
  }
  template <class Names>
  void Texts(const char* field, const Names& names, int) {
    object_[field] = Json(names);
  }
  void Extra(const std::vector<std::uint8_t>& extra) {
    if (extra.empty()) return;
    const bool zeros = std::all_of(extra.begin(), extra.end(), [](auto b) { return b == 0; });
    object_["extra"] = zeros ? Json(extra.size()) : Json(Hex(extra));
  }

 private:
  Json& object_;
};

Json TranslationToJson(const PldTranslation& translation, int contentFlags) {
  Json object = Json::object();
  object["texts"] = translation.texts;
  if (contentFlags == 1 || contentFlags == 3) object["context"] = translation.context;
  if (contentFlags == 1 || contentFlags == 2) object["id"] = translation.id;
  if (translation.variantKind == PldVariantKind::None) return object;
  object["variantKind"] = translation.variantKind == PldVariantKind::Plural ? "plural" : "choice";
  Json& variants = object["variants"] = Json::array();
  for (const PldVariant& variant : translation.variants) {
    Json item = Json::object();
    item["keyword"] = variant.keyword;
    item["texts"] = variant.texts;
    variants.push_back(std::move(item));
  }
  return object;
}

// ---- In

[[noreturn]] void Fail(const std::string& where, const std::string& message) {
  throw PldImageError(where + ": " + message);
}

// Reads the fields of one JSON object, each checked for its type and range, and refuses
// the keys nobody asked for.
class JsonIn {
 public:
  JsonIn(const Json& object, std::string where) : object_(object), where_(std::move(where)) {
    if (!object_.is_object()) Fail(where_, "expected an object");
  }

  const int version = 3;

  void U8(const char* field, int& value) { Number(field, value, 0xFF); }
  void U16(const char* field, int& value) { Number(field, value, 0xFFFF); }
  void Text(const char* field, std::string& text, int = 0);
  void Fixed(const char* field, std::string& text, std::size_t, int) { Text(field, text); }
  template <class Names>
  void Texts(const char* field, Names& names, int);
  void Extra(std::vector<std::uint8_t>& extra);
  /// The array under `field`; null when it is absent.
  const Json* Array(const char* field);
  void Number(const char* field, int& value, int limit);
  void Finish() const;

  std::string Where(const std::string& field) const { return where_ + "." + field; }

 private:
  const Json* Find(const char* field);

  const Json& object_;
  std::string where_;
  std::set<std::string> taken_;
};

const Json* JsonIn::Find(const char* field) {
  taken_.insert(field);
  const auto found = object_.find(field);
  return found == object_.end() ? nullptr : &*found;
}

void JsonIn::Number(const char* field, int& value, int limit) {
  const Json* found = Find(field);
  if (!found) return;
  if (found->is_boolean()) {
    value = found->get<bool>() ? 1 : 0;
    return;
  }
  if (!found->is_number_integer() || *found < 0 || *found > limit) {
    Fail(Where(field), "expected a whole number from 0 to " + std::to_string(limit));
  }
  value = found->get<int>();
}

void JsonIn::Text(const char* field, std::string& text, int) {
  const Json* found = Find(field);
  if (!found) return;
  if (!found->is_string()) Fail(Where(field), "expected a text");
  text = found->get<std::string>();
}

template <class Names>
void JsonIn::Texts(const char* field, Names& names, int) {
  const Json* found = Find(field);
  if (!found) return;
  if (!found->is_array() || found->size() != names.size()) {
    Fail(Where(field), "expected " + std::to_string(names.size()) + " texts");
  }
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (!(*found)[i].is_string()) {
      Fail(Where(field) + "[" + std::to_string(i) + "]", "expected a text");
    }
    names[i] = (*found)[i].get<std::string>();
  }
}

void JsonIn::Extra(std::vector<std::uint8_t>& extra) {
  const Json* found = Find("extra");
  if (!found) return;
  if (found->is_number_integer() && *found >= 0 && *found <= 0xFFFF) {
    extra.assign(found->get<std::size_t>(), 0);
    return;
  }
  const std::string hex = found->is_string() ? found->get<std::string>() : "?";
  if (hex.size() % 2 != 0 || hex.find_first_not_of(kHexDigits) != std::string::npos) {
    Fail(Where("extra"), "expected a count of zero bytes or lower-case hex digits");
  }
  extra.clear();
  for (std::size_t i = 0; i < hex.size(); i += 2)
    extra.push_back(static_cast<std::uint8_t>(std::stoi(hex.substr(i, 2), nullptr, 16)));
}

const Json* JsonIn::Array(const char* field) {
  const Json* found = Find(field);
  if (found && !found->is_array()) Fail(Where(field), "expected an array");
  return found;
}

void JsonIn::Finish() const {
  for (const auto& [key, value] : object_.items()) {
    if (!taken_.contains(key)) Fail(where_, "unknown field \"" + Excerpt(key) + "\"");
  }
}

std::string Indexed(const char* section, std::size_t index) {
  return std::string(section) + "[" + std::to_string(index) + "]";
}

template <class Record, class Fields>
void ReadRecords(JsonIn& top, const char* section, std::vector<Record>& records, Fields fields) {
  const Json* array = top.Array(section);
  if (!array) return;
  for (std::size_t i = 0; i < array->size(); ++i) {
    JsonIn in((*array)[i], Indexed(section, i));
    fields(in, records.emplace_back());
    in.Extra(records.back().extra);
    in.Finish();
  }
}

// "variantKind" ("plural" or "choice") and "variants": [{"keyword": ..., "texts": [...]}].
void ReadVariants(JsonIn& in, PldTranslation& translation) {
  std::string kind;
  in.Text("variantKind", kind);
  const Json* variants = in.Array("variants");
  if (kind.empty() && !variants) return;
  if (kind != "plural" && kind != "choice") {
    Fail(in.Where("variantKind"), "expected \"plural\" or \"choice\"");
  }
  if (!variants) Fail(in.Where("variants"), "no variants");
  translation.variantKind = kind == "plural" ? PldVariantKind::Plural : PldVariantKind::Choice;
  for (std::size_t v = 0; v < variants->size(); ++v) {
    JsonIn item((*variants)[v], in.Where(Indexed("variants", v)));
    PldVariant& variant = translation.variants.emplace_back();
    item.Text("keyword", variant.keyword);
    const Json* texts = item.Array("texts");
    if (!texts) Fail(in.Where(Indexed("variants", v)), "no texts");
    variant.texts.resize(texts->size());
    item.Texts("texts", variant.texts, 0);
    item.Finish();
  }
}

void ReadTranslations(JsonIn& top, std::vector<PldTranslation>& translations) {
  const Json* array = top.Array("translations");
  if (!array) return;
  for (std::size_t i = 0; i < array->size(); ++i) {
    JsonIn in((*array)[i], Indexed("translations", i));
    PldTranslation& translation = translations.emplace_back();
    const Json* texts = in.Array("texts");
    if (!texts) Fail(Indexed("translations", i), "no texts");
    translation.texts.resize(texts->size());
    in.Texts("texts", translation.texts, 0);
    in.Text("context", translation.context);
    in.Text("id", translation.id);
    ReadVariants(in, translation);
    in.Finish();
  }
}

void ReadLayout(JsonIn& top, PldImage& image) {
  top.Number("version", image.version, 0xFF);
  std::string order = image.bigEndian ? "big" : "little";
  top.Text("byteOrder", order);
  if (order != "little" && order != "big") Fail("byteOrder", "expected \"little\" or \"big\"");
  image.bigEndian = order == "big";
  int width = image.utf16 ? 16 : 8;
  top.Number("textWidth", width, 16);
  if (width != 8 && width != 16) Fail("textWidth", "expected 8 or 16");
  image.utf16 = width == 16;
  top.Number("contentFlags", image.contentFlags, 0xFF);
  top.Number("textCodePage", image.textCodePage, 0xFFFF);
}

}  // namespace

std::string ImageToJson(const PldImage& image) {
  Json top = Json::object();
  top["version"] = image.version;
  top["byteOrder"] = image.bigEndian ? "big" : "little";
  top["textWidth"] = image.utf16 ? 16 : 8;
  top["contentFlags"] = image.contentFlags;
  if (image.textCodePage != 0) top["textCodePage"] = image.textCodePage;
  Json& languages = top["languages"] = Json::array();
  for (const PldLanguage& language : image.languages) {
    Json object = Json::object();
    JsonOut out(object);
    detail::LanguageFields(out, language);
    out.Extra(language.extra);
    languages.push_back(std::move(object));
  }
  Json& translations = top["translations"] = Json::array();
  for (const PldTranslation& translation : image.translations)
    translations.push_back(TranslationToJson(translation, image.contentFlags));
  Json& locales = top["locales"] = Json::array();
  for (const PldLocale& locale : image.locales) {
    Json object = Json::object();
    JsonOut out(object);
    detail::LocaleFields(out, locale);
    out.Extra(locale.extra);
    locales.push_back(std::move(object));
  }
  return top.dump(2, ' ', false, Json::error_handler_t::replace) + "\n";
}

void CheckJsonNesting(std::string_view text) {
  int depth = 0;
  bool inString = false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (inString) {
      if (c == '\\') ++i;
      inString = c != '"';
    } else if (c == '"') {
      inString = true;
    } else if (c == '[' || c == '{') {
      if (++depth > kMaxJsonNesting)
        throw PldImageError("arrays and objects nested deeper than " +
                            std::to_string(kMaxJsonNesting) + " levels");
    } else if (c == ']' || c == '}') {
      --depth;
    }
  }
}

std::string JsonMessage(std::string_view what) {
  const std::size_t bracket = what.starts_with("[json.exception.") ? what.find("] ") : what.npos;
  // The library quotes what it last read, which may be a whole long line.
  return ShortenQuoted(bracket == std::string_view::npos ? what : what.substr(bracket + 2));
}

PldImage ImageFromJson(std::string_view text) {
  CheckJsonNesting(text);
  Json top;
  try {
    top = Json::parse(text);
  } catch (const Json::exception& error) {
    throw PldImageError(JsonMessage(error.what()));
  }
  if (!top.is_object()) throw PldImageError("expected an object at the top");
  PldImage image;
  JsonIn in(top, "image");
  ReadLayout(in, image);
  ReadRecords(in, "languages", image.languages, [](JsonIn& fields, PldLanguage& language) {
    detail::LanguageFields(fields, language);
  });
  ReadTranslations(in, image.translations);
  ReadRecords(in, "locales", image.locales,
              [](JsonIn& fields, PldLocale& locale) { detail::LocaleFields(fields, locale); });
  in.Finish();
  return image;
}

}  // namespace lx::tools

// A translator for the dictionary's tests: it binds and registers like the full
// translator does, and records what its dictionary tells it.
#pragma once

#include <string>
#include <vector>

#include "lang/LxCustomTranslator.h"

namespace lx::support {

class TLxRecordingTranslator : public lang::TLxCustomTranslator {
  LX_CLASS(TLxRecordingTranslator, lang::TLxCustomTranslator)

 public:
  explicit TLxRecordingTranslator(framework::TComponent* owner);

  /// Every `LanguageChanged` as "language", "locale", "both" or "none".
  std::vector<std::string> changes;
  int closes = 0;

  /// Binds to the dictionary named `DictionaryName` (else the first registered one) unless
  /// bound, registers with it and becomes active.
  void Open() override;
  void Close() override;
  void LanguageChanged(bool languageChanged, bool localeChanged) override;
};

}  // namespace lx::support

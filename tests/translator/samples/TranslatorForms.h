// Form classes and dictionaries of the translator's tests.
//
// TMainForm is built from forms/MainForm.lxfm (every kind of text the translator handles, a
// menu, and a translator bound to "Dictionary1"); TChildForm derives from it
// (forms/ChildForm.lxfm). The same translations are in two dictionaries: an in-memory one,
// and TranslatorDictionary.json, built by lxpld and linked in as the program's dictionary
// resource. Languages: 0 English, 1 Spanish, 2 German.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "framework/controls/Forms.h"
#include "lang/LxDictionary.h"
#include "support/lang/LxMemoryDictionary.h"

namespace lx::support {

class TMainForm : public framework::TForm {
  LX_CLASS(TMainForm, framework::TForm)

 public:
  explicit TMainForm(framework::TComponent* owner) : TForm(owner) {}
};

class TChildForm : public TMainForm {
  LX_CLASS(TChildForm, TMainForm)

 public:
  explicit TChildForm(framework::TComponent* owner) : TMainForm(owner) {}
};

/// Registers the controls, the form classes and the translator for reading.
void RegisterTranslatorForms();

/// The in-memory dictionary "Dictionary1" with the test translations, not open, binding none,
/// without flat translation.
std::unique_ptr<TLxMemoryDictionary> MemoryDictionary();
/// The binary dictionary "Dictionary1" on the linked resource image, likewise.
std::unique_ptr<lang::TLxDictionary> ResourceDictionary();

/// A form of `T` read from its resources.
template <typename T>
std::unique_ptr<T> LoadForm() {
  auto form = std::make_unique<T>(nullptr);
  framework::LoadFormResource(*form);
  return form;
}

}  // namespace lx::support

// Forms of programs the tools do not know: a stored form read into a stand-in root that
// answers to the stored root's class name, so that its translator looks texts up in the
// same context as in the program. The tools' shared way to load such forms.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "framework/controls/Forms.h"
#include "framework/rtti/Rtti.h"

namespace lx::translator {
class TLxTranslator;
}

namespace lx::tools {

/// A form that answers to a class name of the caller's, a direct descendant of TForm. The
/// tools never show it, so its FormStyle is only a stored value: an MDI child needs no frame.
class TStandInForm : public framework::TForm {
 public:
  explicit TStandInForm(const std::string& className);

  const framework::TClassInfo& ClassInfo() const override { return classInfo_; }

 private:
  framework::TFormStyle storedStyle_ = framework::fsNormal;
  framework::TClassInfo classInfo_;
};

/// Registers the framework's controls and menus, the binary dictionary and the translator, so
/// that stored forms made of them can be read.
void RegisterStandardClasses();

/// True when `bytes` are a binary form stream: they start with its signature, or with a
/// resource header (bytes FF 0A) before it.
bool IsBinaryForm(const std::vector<std::uint8_t>& bytes);
/// The bare binary form stream of `bytes`, without the resource header it may have.
std::vector<std::uint8_t> BareBinaryForm(const std::vector<std::uint8_t>& bytes);

/// `form` as a bare binary form stream: as it is when binary, else read as a text form.
std::vector<std::uint8_t> BinaryFormOf(const std::vector<std::uint8_t>& form);

/// The class name of the root of the binary form stream `binary`.
std::string RootClassName(const std::vector<std::uint8_t>& binary);

/// The first translator that `form` owns, or null.
translator::TLxTranslator* FindTranslator(const framework::TComponent& form);

}  // namespace lx::tools

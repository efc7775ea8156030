#include <gtest/gtest.h>

#include "formtools/FormBatch.h"

namespace lx::tools {
namespace {

// Pictures are named by the form's path among the forms and the language's ISO codes; a code
// that would not make a plain file name counts as none.
TEST(FormBatchTest, PictureNamesTellFormAndLanguage) {
  struct Case {
    const char* form;
    const char* language;
    const char* country;
    const char* name;
  };
  const Case cases[] = {
      {"ProbeForm.lxfm", "de", "DE", "ProbeForm.de_DE.png"},
      {"Main.dfm", "ja", "", "Main.ja.png"},
      {"Main.dfm", "", "", "Main.native.png"},
      {"dialogs/About.lfm", "he", "IL", "dialogs-About.he_IL.png"},
      {"Main.lxfm", "../x", "", "Main.native.png"},
      {"Main.lxfm", "fr", "F/R", "Main.fr.png"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(FormPictureName(c.form, c.language, c.country), c.name) << c.form;
}

}  // namespace
}  // namespace lx::tools

// Embeds a dictionary file into a stored form: the form's binary dictionary is read in
// design state, pointed at the file with Storage lxsEmbedded, and written again, so that
// its writers copy the file's languages, translations and locales into the form. Every
// other byte of the form stays as it was.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/Exception.h"

namespace lx::tools {

/// A form or dictionary file that cannot be embedded; the message says why.
class EEmbedError : public platform::Exception {
 public:
  using Exception::Exception;
};

/// `form` (a binary form stream) with the dictionary file `pldFile` embedded into its
/// dictionary: the root's direct child named `componentName`, or when that is empty its only
/// direct child of class TLxBinaryDictionary (or a registered descendant). Raises
/// EEmbedError when there is no such child or several of them, ToolFileError naming the file
/// when the file cannot be embedded (missing, no regular file, damaged, UTF-16 texts), and
/// the reader's errors for a damaged form.
std::vector<std::uint8_t> EmbedDictionary(const std::vector<std::uint8_t>& form,
                                          const std::string& pldFile,
                                          const std::string& componentName);

}  // namespace lx::tools

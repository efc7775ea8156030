// The menus a translator meets beside the walk: the menus of its root, whose automatic hot
// keys are held back while a pass writes their captions, and the window's system menu.
#pragma once

#include <vector>

#include "framework/core/Component.h"
#include "platform/Windows.h"

namespace lx::framework {
class TMenu;
}
namespace lx::lang {
class TLxDictionary;
}

namespace lx::translator {

class TLxTranslator;

class TLxFormMenus {
 public:
  /// Switches the menus of `translator`'s root that give their hot keys automatically to
  /// manual, and gives those back. The owner's menus are kept from pass to pass.
  std::vector<framework::TMenu*> SwitchToManual(TLxTranslator& translator);
  /// Automatic again, each menu working its hot keys out anew.
  static void RestoreAutomaticHotkeys(const std::vector<framework::TMenu*>& menus);
  /// A component joined or left the owner: the menus are looked for again.
  void Forget() { menusOf_ = nullptr; }

 private:
  const std::vector<framework::TMenu*>& MenusOf(TLxTranslator& translator,
                                                framework::TComponent& root);

  // The menus of `menusOf_` (null when not known) while it owned `menusCount_` components.
  std::vector<framework::TMenu*> menus_;
  const framework::TComponent* menusOf_ = nullptr;
  int menusCount_ = 0;
};

/// Translates the standard items of the window's system menu from their English texts
/// ("&Close", "Mi&nimize", ...), keeping each shortcut label after a tab. Nothing without a
/// dictionary or a window.
void TranslateSystemMenu(lang::TLxDictionary* dictionary, platform::HWND handle);

}  // namespace lx::translator

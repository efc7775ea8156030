// What fonts, far-east scaling and right-to-left mirroring keep of a translator's form: the
// form's own font, each control's mirroring state, the layouts of a scaled root, and the
// steps of the pass that use them. The translator's virtual functions of the same names
// delegate here, and the steps call those functions, so that a descendant's override counts.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "translator/LxPoly.h"

namespace lx::translator {

struct TLxClassPlan;

/// A control's place and font size as in the native reading order (a flipped control's
/// native Left), compared and restored whole.
struct TLxLayout {
  int left = 0, top = 0, width = 0, height = 0, fontHeight = 0;
  bool operator==(const TLxLayout&) const = default;
};

class TLxLayoutState {
 public:
  explicit TLxLayoutState(TLxTranslator& translator);
  ~TLxLayoutState();
  TLxLayoutState(const TLxLayoutState&) = delete;
  TLxLayoutState& operator=(const TLxLayoutState&) = delete;

  /// The reading order of the dictionary's current language, worked out by each pass.
  TLxReadingOrder ReadingOrder() const { return readingOrder_; }
  /// At the start of a pass: from the dictionary's language; without one, while reverting,
  /// the native layout.
  void FollowLanguage();
  /// What Revert found before it closed: the pass it runs then goes back to the native layout.
  void SetReverting(bool reverting, bool mirrored);

  /// Remembers the form's own font, which a language without a font brings back.
  void SaveFormFont();
  const std::string& SavedFontName() const { return savedFontName_; }
  int SavedFontSize() const { return savedFontSize_; }

  const std::vector<std::unique_ptr<TLxBidirectionalState>>& BidiStates() const {
    return bidiStates_;
  }
  TLxBidirectionalState* FindBidiState(framework::TControl* control, bool create);
  /// Drops what is kept of a component being destroyed.
  void Forget(framework::TComponent* component);
  /// Whether something kept must still hear of `component`'s destruction after Close.
  bool Keeps(const framework::TComponent* component) const;

  // The steps of the pass.
  void ChangeFormFont();
  void ChangeFont(framework::TObject* obj, framework::TFont* font, TLxRestrictions restrictions);
  /// What the font step asks before it looks at the font: false where it would do nothing.
  bool FontStepMayApply(framework::TObject* obj, const TLxClassPlan& plan,
                        TLxRestrictions restrictions) const;
  void ApplyReadingOrderStep(framework::TComponent* component, TLxRestrictions restrictions);
  void ApplyMultiByteScale();
  void ApplyMirrorFlag();
  void MirrorControl(framework::TControl* control, TLxBidirectionalState* state);
  void UnmirrorControl(framework::TControl* control, TLxBidirectionalState* state);
  bool ApplyReadingOrder(framework::TComponent* component);
  void RealignControl(framework::TControl* control);
  void RealignControls();

 private:
  bool FontMayChange(framework::TObject* obj) const;
  void ScaleRoot(framework::TWinControl* root, int multiplier, int divisor);
  TLxLayout LayoutOf(framework::TControl* control);
  void SetLayout(framework::TControl* control, const TLxLayout& layout);

  TLxTranslator& translator_;
  TLxReadingOrder readingOrder_ = lxroLeftToRight;
  std::string savedFontName_;
  int savedFontSize_ = 0;
  std::vector<std::unique_ptr<TLxBidirectionalState>> bidiStates_;
  // Where each control's state is in bidiStates_, and the state a pass is likely to ask next.
  std::unordered_map<const framework::TComponent*, std::size_t> bidiIndex_;
  std::size_t bidiNext_ = 0;
  // The root that this translator scaled and has not scaled back (kept through Close, so that
  // a reopened translator neither scales it twice nor leaves it scaled), with every control's
  // layout before and after, so that scaling back restores what was not changed meanwhile.
  framework::TComponent* scaledRoot_ = nullptr;
  int scaledBy_ = 100;
  std::unordered_map<const framework::TControl*, std::pair<TLxLayout, TLxLayout>> scaledLayouts_;
  bool reverting_ = false;
  bool revertMirrored_ = false;
};

}  // namespace lx::translator

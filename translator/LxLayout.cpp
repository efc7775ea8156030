#include "translator/LxLayout.h"

#include "framework/controls/Controls.h"
#include "framework/controls/Forms.h"
#include "lang/LxDictionary.h"
#include "lang/LxLanguageIds.h"
#include "platform/Windows.h"
#include "translator/LxModules.h"
#include "translator/LxTranslatorSupport.h"
#include "translator/LxWalkPlans.h"

namespace lx::translator {

using framework::TComponent;
using framework::TObject;

namespace {

// How many controls ahead a pass asks for their mirroring states.
constexpr std::size_t kBidiReadAhead = 4;

}  // namespace

TLxLayoutState::TLxLayoutState(TLxTranslator& translator) : translator_(translator) {}

TLxLayoutState::~TLxLayoutState() = default;

void TLxLayoutState::FollowLanguage() {
  if (lang::TLxDictionary* dictionary = translator_.Dictionary()) {
    readingOrder_ = dictionary->CurrentLanguage().ScriptClass() == lang::kLxScriptRightToLeft
                        ? lxroRightToLeft
                        : lxroLeftToRight;
  } else if (reverting_) {
    readingOrder_ = translator_.NativeLayout();
  }
}

void TLxLayoutState::SetReverting(bool reverting, bool mirrored) {
  reverting_ = reverting;
  revertMirrored_ = mirrored;
}

void TLxLayoutState::SaveFormFont() {
  if (auto* form = As<framework::TCustomForm>(translator_.GetRoot())) {
    savedFontName_ = form->Font()->Name();
    savedFontSize_ = form->Font()->Size();
  } else {
    savedFontName_.clear();
    savedFontSize_ = 0;
  }
}

// ---- Fonts, scaling and mirroring: the steps the pass calls at their fixed points

// A pass meets the controls in the order of the pass before, which made their states in
// that order: the state after the one found last is tried first.
TLxBidirectionalState* TLxLayoutState::FindBidiState(framework::TControl* control, bool create) {
  if (bidiNext_ < bidiStates_.size() && bidiStates_[bidiNext_]->Control == control) {
    // The states lie apart on the heap: the one a few controls on is asked for now.
    if (bidiNext_ + kBidiReadAhead < bidiStates_.size())
      __builtin_prefetch(bidiStates_[bidiNext_ + kBidiReadAhead].get());
    return bidiStates_[bidiNext_++].get();
  }
  const auto found = bidiIndex_.find(static_cast<TComponent*>(control));
  if (found != bidiIndex_.end()) {
    bidiNext_ = found->second + 1;
    return bidiStates_[found->second].get();
  }
  if (!create || control == nullptr) return nullptr;
  auto state = std::make_unique<TLxBidirectionalState>();
  state->Control = control;
  state->NativeLeft = control->Left();
  bidiIndex_.emplace(control, bidiStates_.size());
  bidiStates_.push_back(std::move(state));
  bidiNext_ = bidiStates_.size();
  // Controls of other owners do not tell the translator that they go.
  if (control->Owner() != translator_.Owner()) translator_.FreeNotification(control);
  return bidiStates_.back().get();
}

// Told while the control is being destroyed: it is no longer known as a control then.
void TLxLayoutState::Forget(TComponent* component) {
  if (component == scaledRoot_) {
    scaledRoot_ = nullptr;
    scaledLayouts_.clear();
  }
  const auto found = bidiIndex_.find(component);
  if (found == bidiIndex_.end()) return;
  const std::size_t gone = found->second;
  bidiIndex_.erase(found);
  bidiStates_.erase(bidiStates_.begin() + static_cast<std::ptrdiff_t>(gone));
  for (std::size_t i = gone; i < bidiStates_.size(); ++i)
    bidiIndex_[bidiStates_[i]->Control] = i;
  bidiNext_ = 0;
}

bool TLxLayoutState::Keeps(const TComponent* component) const {
  return component == scaledRoot_ || bidiIndex_.contains(component);
}

// The form's font follows the language; a language without one brings back the form's own.
// While the form is scaled its font is set at the scaled size.
void TLxLayoutState::ChangeFormFont() {
  auto* form = As<framework::TCustomForm>(translator_.GetRoot());
  if (form == nullptr || translator_.Dictionary() == nullptr || !form->HandleAllocated()) return;
  const lang::TLxLanguage& language = translator_.Dictionary()->CurrentLanguage();
  framework::TFont* font = form->Font();
  const std::string& name = language.FontName.empty() ? savedFontName_ : language.FontName;
  int size = language.FontSize == 0 ? savedFontSize_ : language.FontSize;
  if (scaledRoot_ == form) size = framework::MulDiv(size, scaledBy_, 100);
  if (!name.empty() && name != font->Name()) font->SetName(name);
  if (size > 0 && size != font->Size()) font->SetSize(size);
  if (font->Charset() != language.Charset) font->SetCharset(language.Charset);
}

void TLxLayoutState::ChangeFont(TObject* obj, framework::TFont* font,
                                TLxRestrictions restrictions) {
  if (translator_.Dictionary() == nullptr || translator_.CharsetChange() == lxccDisabled ||
      restrictions.Contains(lxrCharset) || translator_.PlanOf(*obj).columnTitle ||
      !FontMayChange(obj)) {
    return;
  }
  const lang::TLxLanguage& language = translator_.Dictionary()->CurrentLanguage();
  if (!language.FontName.empty() && language.FontName != font->Name())
    font->SetName(language.FontName);
  if (language.FontSize != 0 && language.FontSize != font->Size()) font->SetSize(language.FontSize);
  if (font->Charset() != language.Charset) font->SetCharset(language.Charset);
}

// What the font step asks before it looks at the font, where the answer is no without
// doing anything: a font that cannot change is not even read.
bool TLxLayoutState::FontStepMayApply(TObject* obj, const TLxClassPlan& plan,
                                      TLxRestrictions restrictions) const {
  if (translator_.Dictionary() == nullptr || translator_.CharsetChange() == lxccDisabled ||
      restrictions.Contains(lxrCharset) || plan.columnTitle) {
    return false;
  }
  if (translator_.CharsetChange() != lxccNormal || !plan.winControl) return true;
  const auto* control = static_cast<const framework::TWinControl*>(obj);
  return control->HandleAllocated() ||
         (control->Parent() != nullptr && control->Parent()->HandleAllocated());
}

// Under lxccNormal a windowed control without a window takes a new font only when its
// parent has one: its window is made at once, and a control whose window cannot be made
// keeps its font.
bool TLxLayoutState::FontMayChange(TObject* obj) const {
  if (translator_.CharsetChange() != lxccNormal || !translator_.PlanOf(*obj).winControl)
    return true;
  auto* control = static_cast<framework::TWinControl*>(obj);
  if (control->HandleAllocated()) return true;
  if (control->Parent() == nullptr || !control->Parent()->HandleAllocated()) return false;
  try {
    control->HandleNeeded();
  } catch (const std::exception&) {
    return false;
  }
  return control->HandleAllocated();
}

void TLxLayoutState::ApplyReadingOrderStep(TComponent* component, TLxRestrictions restrictions) {
  bool changed = true;
  if (translator_.PlanOf(*component).control) {
    auto* control = static_cast<framework::TControl*>(component);
    TLxBidirectionalState* state = FindBidiState(control, true);
    changed = state->ReadingOrder != readingOrder_;
    if (!restrictions.Contains(lxrFlip)) {
      if (component == translator_.GetRoot())
        state->ReadingOrder = readingOrder_;  // the root itself never moves
      else if (readingOrder_ == translator_.NativeLayout())
        translator_.UnmirrorControl(control, state);
      else
        translator_.MirrorControl(control, state);
    }
  }
  if (changed && !restrictions.Contains(lxrReadingOrder)) translator_.ApplyReadingOrder(component);
}

// Far-east languages scale the root by MultiByteScale percent; any other language (and
// Revert) scales it back, by the percentage it was scaled with. A root this translator
// scaled before it was closed counts as scaled still. A percentage below 1 scales nothing.
void TLxLayoutState::ApplyMultiByteScale() {
  lang::TLxDictionary* dictionary = translator_.Dictionary();
  auto* root = As<framework::TWinControl>(translator_.GetRoot());
  if ((dictionary == nullptr && !reverting_) ||
      !translator_.Options().Contains(lxtoScaleMultiByte) || translator_.MultiByteScale() == 100 ||
      translator_.MultiByteScale() < 1 || root == nullptr) {
    return;
  }
  const bool scaled = translator_.Scaled() || scaledRoot_ == root;
  translator_.SetStateFlag(lang::lxtsScaled, scaled);
  const bool farEast = dictionary != nullptr &&
                       dictionary->CurrentLanguage().ScriptClass() == lang::kLxScriptFarEast;
  if (farEast && !scaled) {
    auto* form = As<framework::TForm>(root);
    if (form != nullptr && form->AutoScroll()) {
      throw lang::ELxPoly("Cannot scale a form (" + form->Name() +
                          ") that has AutoScroll property set True");
    }
    ScaleRoot(root, translator_.MultiByteScale(), 100);
    translator_.SetStateFlag(lang::lxtsScaled, true);
    Fire(translator_.OnScale, &translator_, root);
  } else if (!farEast && scaled) {
    ScaleRoot(root, 100, scaledBy_);
    translator_.SetStateFlag(lang::lxtsScaled, false);
    Fire(translator_.OnScale, &translator_, root);
  }
}

// The controls under `root`, parents before their children.
namespace {
void CollectControls(framework::TControl* control, std::vector<framework::TControl*>& controls) {
  controls.push_back(control);
  if (auto* parent = As<framework::TWinControl>(control)) {
    for (int i = 0; i < parent->ControlCount(); ++i)
      CollectControls(parent->Controls(i), controls);
  }
}
}  // namespace

TLxLayout TLxLayoutState::LayoutOf(framework::TControl* control) {
  TLxLayout layout{control->Left(), control->Top(), control->Width(), control->Height(),
                   control->Font()->Height()};
  if (TLxBidirectionalState* state = FindBidiState(control, false); state && state->Flipped)
    layout.left = state->NativeLeft;
  return layout;
}

// A flipped control keeps its mirrored place under its (already laid out) parent.
void TLxLayoutState::SetLayout(framework::TControl* control, const TLxLayout& layout) {
  int left = layout.left;
  TLxBidirectionalState* state = FindBidiState(control, false);
  if (state != nullptr && state->Flipped && control->Parent() != nullptr) {
    state->NativeLeft = layout.left;
    left = control->Parent()->ClientWidth() - layout.width - layout.left;
  }
  control->SetBounds(left, layout.top, layout.width, layout.height);
  if (!control->ParentFont() && control->Font()->Height() != layout.fontHeight)
    control->Font()->SetHeight(layout.fontHeight);
}

// The framework scales; then every control is laid out from its native-order place, so that
// mirrored controls stay mirrored exactly, and scaling back restores every layout that
// nothing changed since it was scaled.
void TLxLayoutState::ScaleRoot(framework::TWinControl* root, int multiplier, int divisor) {
  std::vector<framework::TControl*> controls;
  CollectControls(root, controls);
  std::vector<TLxLayout> before;
  before.reserve(controls.size());
  for (framework::TControl* control : controls)
    before.push_back(LayoutOf(control));
  const bool scalingBack = scaledRoot_ == root;
  root->ScaleBy(multiplier, divisor);
  for (std::size_t i = 0; i < controls.size(); ++i) {
    framework::TControl* control = controls[i];
    TLxLayout layout = LayoutOf(control);
    const auto remembered = scaledLayouts_.find(control);
    if (scalingBack && remembered != scaledLayouts_.end() && remembered->second.second == before[i])
      layout = remembered->second.first;
    else if (i > 0)
      layout.left = framework::MulDiv(before[i].left, multiplier, divisor);
    SetLayout(control, layout);
  }
  scaledLayouts_.clear();
  scaledRoot_ = scalingBack ? nullptr : root;
  scaledBy_ = scalingBack ? 100 : multiplier;
  if (scalingBack) return;
  for (std::size_t i = 0; i < controls.size(); ++i)
    scaledLayouts_.emplace(controls[i], std::make_pair(before[i], LayoutOf(controls[i])));
}

// The frame is drawn anew when the form turns to or from right-to-left.
void TLxLayoutState::ApplyMirrorFlag() {
  const bool wasMirrored = translator_.Mirrored() || (reverting_ && revertMirrored_);
  const bool mirrored = readingOrder_ != translator_.NativeLayout();
  translator_.SetStateFlag(lang::lxtsMirrored, mirrored);
  auto* root = As<framework::TWinControl>(translator_.GetRoot());
  if (root == nullptr || mirrored == wasMirrored || !root->HandleAllocated()) return;
  platform::SetWindowPos(root->Handle(), platform::HWND_TOP, 0, 0, 0, 0,
                         platform::SWP_NOSIZE | platform::SWP_NOMOVE | platform::SWP_FRAMECHANGED);
}

// A control is mirrored from where it stands in the native order, which is remembered anew
// each time, so that a control moved meanwhile comes back to its new place.
void TLxLayoutState::MirrorControl(framework::TControl* control, TLxBidirectionalState* state) {
  TLxModules* modules = ModulesToAsk();
  if (modules != nullptr && modules->MirrorControl(&translator_, control, state)) return;
  if (state->Flipped || control->Parent() == nullptr) return;
  state->Flipped = true;
  state->ReadingOrder =
      translator_.NativeLayout() == lxroLeftToRight ? lxroRightToLeft : lxroLeftToRight;
  state->NativeLeft = control->Left();
  control->SetLeft(control->Parent()->ClientWidth() - control->Width() - control->Left());
}

void TLxLayoutState::UnmirrorControl(framework::TControl* control, TLxBidirectionalState* state) {
  TLxModules* modules = ModulesToAsk();
  if (modules != nullptr && modules->UnmirrorControl(&translator_, control, state)) return;
  if (!state->Flipped) return;
  state->Flipped = false;
  state->ReadingOrder = translator_.NativeLayout();
  control->SetLeft(state->NativeLeft);
}

bool TLxLayoutState::ApplyReadingOrder(TComponent* component) {
  TLxModules* modules = ModulesToAsk();
  return modules != nullptr && modules->ApplyReadingOrder(&translator_, component);
}

// Both place a flipped control anew from its parent's current width (after a resize).
void TLxLayoutState::RealignControl(framework::TControl* control) {
  if (!translator_.Mirrored() || control == nullptr || control->Parent() == nullptr ||
      control == translator_.GetRoot())
    return;
  const TLxBidirectionalState* state = FindBidiState(control, false);
  if (state != nullptr && state->Flipped)
    control->SetLeft(control->Parent()->ClientWidth() - control->Width() - state->NativeLeft);
}

void TLxLayoutState::RealignControls() {
  if (!translator_.Mirrored()) return;
  const TComponent* root = translator_.GetRoot();
  for (const auto& state : bidiStates_) {
    framework::TControl* control = state->Control;
    if (control == root || control->Parent() == nullptr || !state->Flipped) continue;
    const int left = control->Parent()->ClientWidth() - control->Width() - state->NativeLeft;
    if (left != control->Left()) control->SetLeft(left);
  }
}

}  // namespace lx::translator

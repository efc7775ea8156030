#include "framework/controls/Controls.h"

#include <algorithm>
#include <array>
#include <cstdlib>

#include "framework/rtti/Published.h"
#include "framework/runtime/FrameworkStrings.h"

namespace lx::framework {

LX_PUBLISHED(
    TControl, Property("Left", &TControl::Left, &TControl::SetLeft),
    Property("Top", &TControl::Top, &TControl::SetTop),
    Property("Width", &TControl::Width, &TControl::SetWidth),
    Property("Height", &TControl::Height, &TControl::SetHeight),
    Property("Cursor", &TControl::Cursor, &TControl::SetCursor, crDefault).Idents(CursorIdents()),
    Property("Color", &TControl::Color, &TControl::SetColor, clWindow).Idents(ColorIdents()),
    Property("Hint", &TControl::Hint, &TControl::SetHint))

LX_PUBLISHED(TGraphicControl)

LX_PUBLISHED(TWinControl)

namespace {

// crSize comes last: it is read, but crSizeAll is the name written.
constexpr std::array<TIdentMapEntry, 23> kCursors{{
    {crDefault, "crDefault"},     {crNone, "crNone"},           {crArrow, "crArrow"},
    {crCross, "crCross"},         {crIBeam, "crIBeam"},         {crSizeNESW, "crSizeNESW"},
    {crSizeNS, "crSizeNS"},       {crSizeNWSE, "crSizeNWSE"},   {crSizeWE, "crSizeWE"},
    {crUpArrow, "crUpArrow"},     {crHourGlass, "crHourGlass"}, {crDrag, "crDrag"},
    {crNoDrop, "crNoDrop"},       {crHSplit, "crHSplit"},       {crVSplit, "crVSplit"},
    {crMultiDrag, "crMultiDrag"}, {crSQLWait, "crSQLWait"},     {crNo, "crNo"},
    {crAppStart, "crAppStart"},   {crHelp, "crHelp"},           {crHandPoint, "crHandPoint"},
    {crSizeAll, "crSizeAll"},     {crSize, "crSize"},
}};

}  // namespace

const TIdentMap& CursorIdents() {
  static const TIdentMap map("TCursor", kCursors);
  return map;
}

int MulDiv(int value, int numerator, int denominator) {
  if (denominator == 0) return -1;
  const long long product = static_cast<long long>(value) * numerator;
  const long long half = std::llabs(static_cast<long long>(denominator)) / 2;
  long long rounded =
      (std::llabs(product) + half) / std::llabs(static_cast<long long>(denominator));
  if ((product < 0) != (denominator < 0)) rounded = -rounded;
  return static_cast<int>(rounded);
}

// ---- TControl ----

TControl::TControl(TComponent* owner) : TComponent(owner), font_(std::make_unique<TFont>()) {
  font_->OnChange = [this](TObject*) { FontChanged(); };
}

TControl::~TControl() {
  font_->OnChange = nullptr;
  if (parent_ != nullptr) parent_->RemoveControl(this);
}

void TControl::SetBounds(int left, int top, int width, int height) {
  width = std::max(width, 0);
  height = std::max(height, 0);
  if (left == left_ && top == top_ && width == width_ && height == height_) return;
  UpdateBoundsFromWindow(left, top, width, height);
  BoundsChanged();
}

void TControl::UpdateBoundsFromWindow(int left, int top, int width, int height) {
  left_ = left;
  top_ = top;
  width_ = width;
  height_ = height;
}

void TControl::SetParent(TWinControl* value) {
  if (value == parent_) return;
  for (const TControl* above = value; above != nullptr; above = above->parent_) {
    if (above == this) throw EInvalidOperation(LoadResString(SControlParentSetToSelf));
  }
  if (value != nullptr) {
    value->InsertControl(this);
  } else {
    parent_->RemoveControl(this);
  }
}

TComponent* TControl::GetParentComponent() const {
  return parent_;
}

void TControl::SetParentComponent(TComponent* value) {
  if (auto* parent = dynamic_cast<TWinControl*>(value)) SetParent(parent);
}

void TControl::SetText(const std::string& value) {
  if (value == text_) return;
  text_ = value;
  TextChanged();
}

// Parents are windowed controls: the first with a window shows this one.
void TControl::Invalidate() {
  ++invalidateCount_;
  for (const TWinControl* shown = parent_; shown != nullptr; shown = shown->parent_) {
    if (shown->HandleAllocated()) {
      platform::InvalidateRect(shown->handle_);
      return;
    }
  }
}

void TControl::SetEnabled(bool value) {
  if (value == enabled_) return;
  enabled_ = value;
  EnabledChanged();
}

void TControl::SetColor(TColor value) {
  if (value == color_) return;
  color_ = value;
  Invalidate();
}

void TControl::SetFont(TFont* value) {
  font_->Assign(value);
}

void TControl::SetParentFont(bool value) {
  parentFont_ = value;
  if (value) ParentFontChanged();
}

void TControl::ParentFontChanged() {
  if (!parentFont_ || parent_ == nullptr) return;
  followingParentFont_ = true;
  try {
    font_->Assign(parent_->Font());
  } catch (...) {
    followingParentFont_ = false;
    throw;
  }
  followingParentFont_ = false;
}

// A font changed by hand no longer follows the parent's; the children that follow this one
// take it over.
void TControl::FontChanged() {
  if (!followingParentFont_) parentFont_ = false;
  if (auto* self = dynamic_cast<TWinControl*>(this)) {
    for (TControl* child : self->controls_)
      child->ParentFontChanged();
  }
  Invalidate();
}

void TControl::SetVisible(bool value) {
  if (value == visible_) return;
  visible_ = value;
  VisibleChanged();
}

void TControl::SetBiDiMode(TBiDiMode value) {
  parentBiDiMode_ = false;
  if (value == biDiMode_) return;
  biDiMode_ = value;
  BiDiModeChanged();
  if (auto* self = dynamic_cast<TWinControl*>(this)) {
    for (TControl* child : self->controls_)
      child->ParentBiDiModeChanged();
  }
}

void TControl::SetParentBiDiMode(bool value) {
  parentBiDiMode_ = value;
  if (value) ParentBiDiModeChanged();
}

bool TControl::InheritedBiDiMode(TBiDiMode& mode) const {
  if (parent_ == nullptr) return false;
  mode = parent_->BiDiMode();
  return true;
}

void TControl::ParentBiDiModeChanged() {
  TBiDiMode mode;
  if (!parentBiDiMode_ || !InheritedBiDiMode(mode)) return;
  SetBiDiMode(mode);
  parentBiDiMode_ = true;
}

void TControl::ScaleBy(int multiplier, int divisor) {
  if (multiplier < 1 || divisor < 1) return;
  SetBounds(left_, top_, MulDiv(width_, multiplier, divisor), MulDiv(height_, multiplier, divisor));
  if (!parentFont_) font_->SetSize(MulDiv(font_->Size(), multiplier, divisor));
}

void TControl::ChangeScale(int multiplier, int divisor) {
  SetBounds(MulDiv(left_, multiplier, divisor), MulDiv(top_, multiplier, divisor),
            MulDiv(width_, multiplier, divisor), MulDiv(height_, multiplier, divisor));
  if (!parentFont_) font_->SetSize(MulDiv(font_->Size(), multiplier, divisor));
}

// ---- TWinControl ----

TWinControl::TWinControl(TComponent* owner) : TControl(owner) {}

TWinControl::~TWinControl() {
  while (!controls_.empty())
    delete controls_.back();
  if (handle_ != 0) {
    ForgetHandles();
    platform::DestroyWindow(handle_);
    handle_ = 0;
  }
}

TControl* TWinControl::Controls(int index) const {
  if (index < 0 || index >= ControlCount()) {
    throw platform::EListError("List index out of bounds (" + std::to_string(index) + ")");
  }
  return controls_[static_cast<std::size_t>(index)];
}

bool TWinControl::ContainsControl(const TControl* control) const {
  for (const TControl* above = control; above != nullptr; above = above->parent_) {
    if (above == this) return true;
  }
  return false;
}

void TWinControl::InsertControl(TControl* control) {
  if (control == nullptr || control->parent_ == this) return;
  if (control == this || (dynamic_cast<TWinControl*>(control) != nullptr &&
                          static_cast<TWinControl*>(control)->ContainsControl(this))) {
    throw EInvalidOperation(LoadResString(SControlParentSetToSelf));
  }
  if (control->parent_ != nullptr) control->parent_->RemoveControl(control);
  controls_.push_back(control);
  control->parent_ = this;
  control->ParentFontChanged();
  control->ParentBiDiModeChanged();
  // A window lives in its parent's window: it is made anew in the new one.
  if (auto* windowed = dynamic_cast<TWinControl*>(control)) {
    if (handle_ != 0 && windowed->Visible()) windowed->HandleNeeded();
  }
}

void TWinControl::RemoveControl(TControl* control) {
  if (control == nullptr || control->parent_ != this) return;
  if (auto* windowed = dynamic_cast<TWinControl*>(control)) windowed->DestroyHandle();
  // Controls mostly go last first, as their owner frees them: the search starts at the end.
  const auto found = std::find(controls_.rbegin(), controls_.rend(), control);
  if (found != controls_.rend()) controls_.erase(std::next(found).base());
  control->parent_ = nullptr;
}

platform::HWND TWinControl::Handle() {
  HandleNeeded();
  return handle_;
}

void TWinControl::HandleNeeded() {
  if (handle_ == 0) CreateHandle();
}

platform::HWND TWinControl::ParentWindow() {
  return Parent() != nullptr ? Parent()->Handle() : 0;
}

platform::DWORD TWinControl::WindowStyle() const {
  platform::DWORD style = platform::WS_CLIPCHILDREN | platform::WS_CLIPSIBLINGS;
  if (Visible()) style |= platform::WS_VISIBLE;
  if (!Enabled()) style |= platform::WS_DISABLED;
  return style;
}

platform::DWORD TWinControl::WindowExStyle() const {
  return UseRightToLeftReading() ? platform::WS_EX_RTLREADING : platform::WS_EX_LTRREADING;
}

void TWinControl::CreateHandle() {
  if (handle_ != 0) return;
  const platform::HWND parentWindow = ParentWindow();
  if (parentWindow == 0 && NeedsParentWindow()) {
    throw EInvalidOperation(LoadResStringWith(SParentRequired, Name()));
  }
  platform::DWORD style = WindowStyle();
  if (parentWindow != 0) style |= platform::WS_CHILD;
  handle_ = platform::CreateWindowEx(WindowExStyle(), ClassName(), Text(), style, Left(), Top(),
                                     Width(), Height(), parentWindow);
  if (handle_ == 0) throw EInvalidOperation(LoadResString(SWindowCreate));
  WindowCreated();
}

// The windows layer destroys the windows inside a window with it.
void TWinControl::ForgetHandles() {
  for (TControl* child : controls_) {
    if (auto* windowed = dynamic_cast<TWinControl*>(child)) {
      windowed->ForgetHandles();
      windowed->handle_ = 0;
    }
  }
}

void TWinControl::DestroyHandle() {
  if (handle_ == 0) return;
  ForgetHandles();
  platform::DestroyWindow(handle_);
  handle_ = 0;
}

void TWinControl::CollectWindowedChildren(std::vector<TWinControl*>& into) {
  for (TControl* child : controls_) {
    auto* windowed = dynamic_cast<TWinControl*>(child);
    if (windowed == nullptr || windowed->handle_ == 0) continue;
    into.push_back(windowed);
    windowed->CollectWindowedChildren(into);
  }
}

void TWinControl::RecreateWnd() {
  if (handle_ == 0) return;
  std::vector<TWinControl*> children;
  CollectWindowedChildren(children);
  platform::WINDOWPLACEMENT placement;
  const bool placed = platform::GetWindowPlacement(handle_, placement);
  DestroyHandle();
  CreateHandle();
  if (placed) platform::SetWindowPlacement(handle_, placement);
  for (TWinControl* child : children)
    child->HandleNeeded();
}

void TWinControl::GetChildren(const TGetChildProc& proc, TComponent* root) {
  const std::vector<TControl*> children = controls_;
  for (TControl* child : children) {
    if (child->Owner() == root) proc(child);
  }
}

void TWinControl::ScaleControls(int multiplier, int divisor) {
  for (TControl* child : controls_)
    child->ChangeScale(multiplier, divisor);
}

void TWinControl::ScaleBy(int multiplier, int divisor) {
  if (multiplier < 1 || divisor < 1) return;
  ScaleControls(multiplier, divisor);
  TControl::ScaleBy(multiplier, divisor);
}

void TWinControl::ChangeScale(int multiplier, int divisor) {
  ScaleControls(multiplier, divisor);
  TControl::ChangeScale(multiplier, divisor);
}

void TWinControl::BoundsChanged() {
  if (handle_ == 0) return;
  platform::SetWindowPos(handle_, 0, Left(), Top(), Width(), Height(),
                         platform::SWP_NOZORDER | platform::SWP_NOACTIVATE);
}

// A control with a window of its own repaints it; one without is shown by its parent's.
void TWinControl::Invalidate() {
  if (!HandleAllocated()) return TControl::Invalidate();
  ++invalidateCount_;
  platform::InvalidateRect(handle_);
}

void TWinControl::TextChanged() {
  if (handle_ != 0) platform::SetWindowText(handle_, Text());
}

void TWinControl::VisibleChanged() {
  if (handle_ != 0)
    platform::ShowWindow(handle_, Visible() ? platform::SW_SHOW : platform::SW_HIDE);
}

void TWinControl::EnabledChanged() {
  if (handle_ == 0) return;
  const auto style =
      static_cast<platform::DWORD>(platform::GetWindowLong(handle_, platform::GWL_STYLE));
  const platform::DWORD disabled = Enabled() ? 0 : platform::WS_DISABLED;
  platform::SetWindowLong(handle_, platform::GWL_STYLE,
                          static_cast<platform::LONG>((style & ~platform::WS_DISABLED) | disabled));
}

void TWinControl::BiDiModeChanged() {
  if (handle_ == 0) return;
  const auto exStyle =
      static_cast<platform::DWORD>(platform::GetWindowLong(handle_, platform::GWL_EXSTYLE));
  const platform::DWORD reading = UseRightToLeftReading() ? platform::WS_EX_RTLREADING : 0;
  platform::SetWindowLong(
      handle_, platform::GWL_EXSTYLE,
      static_cast<platform::LONG>((exStyle & ~platform::WS_EX_RTLREADING) | reading));
}

}  // namespace lx::framework

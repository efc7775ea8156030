// TControl and TWinControl: the visual components of a form.
//
// A control sits in a parent (a TWinControl) at a position relative to the parent's client
// area; its owner, which frees it, is a separate matter. A windowed control gets its window
// from the windows layer when a handle is first needed, and its parent's window is made first,
// since a child window lives inside it. A parent frees the controls it holds when it goes.
//
// Headless: every state is kept here and in the windows layer, whether or not anything is
// drawn. Invalidate only counts repaint requests.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "framework/core/Component.h"
#include "framework/core/Font.h"
#include "platform/Windows.h"

namespace lx::framework {

/// An operation that the control's state does not allow ("Control 'X' has no parent window").
class EInvalidOperation : public platform::Exception {
 public:
  using Exception::Exception;
};

/// A mouse cursor, by its index in the screen's cursor table.
using TCursor = std::int16_t;
inline constexpr TCursor crDefault = 0;
inline constexpr TCursor crNone = -1;
inline constexpr TCursor crArrow = -2;
inline constexpr TCursor crCross = -3;
inline constexpr TCursor crIBeam = -4;
inline constexpr TCursor crSizeNESW = -6;
inline constexpr TCursor crSizeNS = -7;
inline constexpr TCursor crSizeNWSE = -8;
inline constexpr TCursor crSizeWE = -9;
inline constexpr TCursor crUpArrow = -10;
inline constexpr TCursor crHourGlass = -11;
inline constexpr TCursor crDrag = -12;
inline constexpr TCursor crNoDrop = -13;
inline constexpr TCursor crHSplit = -14;
inline constexpr TCursor crVSplit = -15;
inline constexpr TCursor crMultiDrag = -16;
inline constexpr TCursor crSQLWait = -17;
inline constexpr TCursor crNo = -18;
inline constexpr TCursor crAppStart = -19;
inline constexpr TCursor crHelp = -20;
inline constexpr TCursor crHandPoint = -21;
inline constexpr TCursor crSizeAll = -22;
inline constexpr TCursor crSize = crSizeAll;
/// The named cursors, stored by name with the form ("crHandPoint").
const TIdentMap& CursorIdents();

LX_ENUM(TBiDiMode, bdLeftToRight, bdRightToLeft, bdRightToLeftNoAlign, bdRightToLeftReadingOnly)

/// value * numerator / denominator, rounded half away from zero, as the scaling uses it.
int MulDiv(int value, int numerator, int denominator);

class TWinControl;

class TControl : public TComponent {
  LX_CLASS(TControl, TComponent)
  friend class TWinControl;

 public:
  explicit TControl(TComponent* owner);
  /// Leaves the parent.
  ~TControl() override;

  int Left() const { return left_; }
  void SetLeft(int value) { SetBounds(value, top_, width_, height_); }
  int Top() const { return top_; }
  void SetTop(int value) { SetBounds(left_, value, width_, height_); }
  int Width() const { return width_; }
  void SetWidth(int value) { SetBounds(left_, top_, value, height_); }
  int Height() const { return height_; }
  void SetHeight(int value) { SetBounds(left_, top_, width_, value); }
  /// Moves and sizes the control at once; sizes below 0 count as 0.
  virtual void SetBounds(int left, int top, int width, int height);
  /// The client area; a control here has no frame, so it is the whole control.
  int ClientWidth() const { return width_; }
  void SetClientWidth(int value) { SetWidth(value); }
  int ClientHeight() const { return height_; }
  void SetClientHeight(int value) { SetHeight(value); }

  TWinControl* Parent() const { return parent_; }
  /// Moves the control into `value` (or out of any parent when null). Raises EInvalidOperation
  /// "A control cannot have itself as its parent" for the control itself or one of its
  /// children.
  virtual void SetParent(TWinControl* value);

  /// Caption and Text are one text, the window text of a windowed control.
  const std::string& Caption() const { return text_; }
  void SetCaption(const std::string& value) { SetText(value); }
  virtual std::string Text() const { return text_; }
  virtual void SetText(const std::string& value);
  const std::string& Hint() const { return hint_; }
  void SetHint(const std::string& value) { hint_ = value; }

  /// The control's own font. With ParentFont the font follows the parent's; changing it
  /// directly switches ParentFont off.
  TFont* Font() const { return font_.get(); }
  void SetFont(TFont* value);
  bool ParentFont() const { return parentFont_; }
  void SetParentFont(bool value);
  /// A font that follows the parent's is not stored with the form.
  bool IsFontStored() const { return !parentFont_; }

  bool Visible() const { return visible_; }
  virtual void SetVisible(bool value);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool value);
  TCursor Cursor() const { return cursor_; }
  void SetCursor(TCursor value) { cursor_ = value; }
  /// The background colour; clWindow unless set.
  TColor Color() const { return color_; }
  void SetColor(TColor value);

  /// The reading direction. With ParentBiDiMode the mode follows the parent's (a form's
  /// follows the application's); setting it directly switches ParentBiDiMode off.
  TBiDiMode BiDiMode() const { return biDiMode_; }
  void SetBiDiMode(TBiDiMode value);
  bool ParentBiDiMode() const { return parentBiDiMode_; }
  void SetParentBiDiMode(bool value);
  bool IsBiDiModeStored() const { return !parentBiDiMode_; }
  bool UseRightToLeftReading() const { return biDiMode_ != bdLeftToRight; }

  /// Asks for a repaint of the window that shows the control (its own, or its parent's for a
  /// control without one); headless, the requests are only counted.
  virtual void Invalidate();
  /// Repaints at once; headless, counted as a request.
  void Repaint() { Invalidate(); }
  int InvalidateCount() const { return invalidateCount_; }

  /// Scales the control by multiplier / divisor, keeping its upper-left corner: its size, its
  /// font unless it follows the parent's, and for a windowed control the positions, sizes and
  /// fonts of everything inside. A divisor or multiplier below 1 does nothing.
  virtual void ScaleBy(int multiplier, int divisor);

  // Stored controls belong to their parent.
  bool HasParent() const override { return true; }
  TComponent* GetParentComponent() const override;
  void SetParentComponent(TComponent* value) override;

 protected:
  /// Scales position, size and font (unless it follows the parent's); windowed controls scale
  /// their children too.
  virtual void ChangeScale(int multiplier, int divisor);
  /// The bounds, text or visibility changed; windowed controls let their window follow.
  virtual void BoundsChanged() {}
  virtual void TextChanged() {}
  virtual void VisibleChanged() {}
  /// The reading direction to follow with ParentBiDiMode: the parent's; none without parent.
  virtual bool InheritedBiDiMode(TBiDiMode& mode) const;
  /// Takes the parent's font or reading direction again, when following them.
  void ParentFontChanged();
  void ParentBiDiModeChanged();
  virtual void BiDiModeChanged() {}
  virtual void EnabledChanged() {}
  /// Bounds set without telling the window: the window itself moved or resized.
  void UpdateBoundsFromWindow(int left, int top, int width, int height);

 private:
  void FontChanged();

  int left_ = 0;
  int top_ = 0;
  int width_ = 0;
  int height_ = 0;
  TWinControl* parent_ = nullptr;
  std::string text_;
  std::string hint_;
  std::unique_ptr<TFont> font_;
  bool parentFont_ = true;
  bool followingParentFont_ = false;
  bool visible_ = true;
  bool enabled_ = true;
  TCursor cursor_ = crDefault;
  TColor color_ = clWindow;
  TBiDiMode biDiMode_ = bdLeftToRight;
  bool parentBiDiMode_ = true;
  int invalidateCount_ = 0;
};

/// A control drawn in its parent's window, without one of its own (labels). Whatever changes
/// in it asks for a repaint of that window.
class TGraphicControl : public TControl {
  LX_CLASS(TGraphicControl, TControl)

 public:
  explicit TGraphicControl(TComponent* owner) : TControl(owner) {}

 protected:
  void BoundsChanged() override { Invalidate(); }
  void TextChanged() override { Invalidate(); }
  void VisibleChanged() override { Invalidate(); }
  void BiDiModeChanged() override { Invalidate(); }
  void EnabledChanged() override { Invalidate(); }
};

class TWinControl : public TControl {
  LX_CLASS(TWinControl, TControl)
  friend class TControl;

 public:
  explicit TWinControl(TComponent* owner);
  /// Frees the controls it holds, then its window.
  ~TWinControl() override;

  int ControlCount() const { return static_cast<int>(controls_.size()); }
  /// The child control at `index`; raises EListError "List index out of bounds (<index>)".
  TControl* Controls(int index) const;
  /// Makes `control` a child (as its SetParent does).
  void InsertControl(TControl* control);
  void RemoveControl(TControl* control);
  bool ContainsControl(const TControl* control) const;

  /// The window, made first when there is none yet (see CreateHandle).
  platform::HWND Handle();
  bool HandleAllocated() const { return handle_ != 0; }
  void HandleNeeded();
  /// Makes the window. A control that lives in a parent's window makes the parent's first;
  /// one that has no parent raises EInvalidOperation "Control '<name>' has no parent window".
  /// Does nothing when the window exists.
  virtual void CreateHandle();
  /// Destroys the window of the control and of every windowed control inside it.
  virtual void DestroyHandle();
  /// Makes the window anew, keeping its placement (its normal rectangle and show state);
  /// the children that had windows get new ones as well. Does nothing without a window.
  void RecreateWnd();

  void Invalidate() override;
  void ScaleBy(int multiplier, int divisor) override;
  void GetChildren(const TGetChildProc& proc, TComponent* root) override;

 protected:
  void ChangeScale(int multiplier, int divisor) override;
  void BoundsChanged() override;
  void TextChanged() override;
  void VisibleChanged() override;
  void BiDiModeChanged() override;
  void EnabledChanged() override;

  /// The window that this control's window lives in; 0 for a top-level window.
  virtual platform::HWND ParentWindow();
  /// Whether the control can exist only inside a parent's window.
  virtual bool NeedsParentWindow() const { return true; }
  virtual platform::DWORD WindowStyle() const;
  virtual platform::DWORD WindowExStyle() const;
  /// After the window was made: descendants put their own state into it.
  virtual void WindowCreated() {}

 private:
  void ScaleControls(int multiplier, int divisor);
  void CollectWindowedChildren(std::vector<TWinControl*>& into);
  void ForgetHandles();

  std::vector<TControl*> controls_;
  platform::HWND handle_ = 0;
};

}  // namespace lx::framework

// TFont: the description of a text font, as controls and forms publish it.
//
// Size (points) and Height (pixels, negative for the character height without internal
// leading) are two views of one value, related through 96 pixels per inch:
// Height = -round(Size * 96 / 72). OnChange fires after every change that alters a value.
#pragma once

#include <cstdint>
#include <string>

#include "framework/core/Graphics.h"
#include "framework/core/Persistent.h"
#include "framework/core/Set.h"

namespace lx::framework {

LX_ENUM(TFontStyle, fsBold, fsItalic, fsUnderline, fsStrikeOut)
using TFontStyles = TSet<TFontStyle, std::uint8_t>;

LX_ENUM(TFontPitch, fpDefault, fpVariable, fpFixed)

class TFont : public TPersistent {
  LX_CLASS(TFont, TPersistent)

 public:
  /// "MS Sans Serif", 8 points, default character set, window-text colour, no style.
  TFont();

  TNotifyEvent OnChange;

  static constexpr int kPixelsPerInch = 96;

  const std::string& Name() const { return name_; }
  /// An empty name is ignored.
  void SetName(const std::string& value);
  int Size() const;
  void SetSize(int value);
  int Height() const { return height_; }
  void SetHeight(int value);
  TFontCharset Charset() const { return charset_; }
  void SetCharset(TFontCharset value);
  TColor Color() const { return color_; }
  void SetColor(TColor value);
  TFontStyles Style() const { return style_; }
  void SetStyle(TFontStyles value);
  TFontPitch Pitch() const { return pitch_; }
  void SetPitch(TFontPitch value);

  /// Takes every value of another TFont, with one OnChange when anything differs.
  void Assign(const TPersistent* source) override;

 protected:
  virtual void Changed();

 private:
  template <typename T>
  void Change(T& field, const T& value);

  std::string name_ = "MS Sans Serif";
  int height_;
  TFontCharset charset_ = kDefaultCharset;
  TColor color_ = clWindowText;
  TFontStyles style_;
  TFontPitch pitch_ = fpDefault;
};

}  // namespace lx::framework

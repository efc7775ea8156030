#include "framework/core/Font.h"

#include <cstdlib>

#include "framework/rtti/Published.h"

namespace lx::framework {

LX_PUBLISHED(TFont,
             Property("Charset", &TFont::Charset, &TFont::SetCharset).Idents(CharsetIdents()),
             Property("Color", &TFont::Color, &TFont::SetColor).Idents(ColorIdents()),
             Property("Height", &TFont::Height, &TFont::SetHeight),
             Property("Name", &TFont::Name, &TFont::SetName),
             Property("Pitch", &TFont::Pitch, &TFont::SetPitch, fpDefault),
             Property("Size", &TFont::Size, &TFont::SetSize).Stored(false),
             Property("Style", &TFont::Style, &TFont::SetStyle))

namespace {

// value * numerator / denominator, rounded half away from zero.
int MulDiv(int value, int numerator, int denominator) {
  const long long product = static_cast<long long>(value) * numerator;
  const long long half = denominator / 2;
  const long long rounded = (std::llabs(product) + half) / denominator;
  return static_cast<int>(product < 0 ? -rounded : rounded);
}

}  // namespace

TFont::TFont() : height_(-MulDiv(8, kPixelsPerInch, 72)) {}

template <typename T>
void TFont::Change(T& field, const T& value) {
  if (field == value) return;
  field = value;
  Changed();
}

void TFont::SetName(const std::string& value) {
  if (!value.empty()) Change(name_, value);
}

int TFont::Size() const {
  return -MulDiv(height_, 72, kPixelsPerInch);
}

void TFont::SetSize(int value) {
  SetHeight(-MulDiv(value, kPixelsPerInch, 72));
}

void TFont::SetHeight(int value) {
  Change(height_, value);
}

void TFont::SetCharset(TFontCharset value) {
  Change(charset_, value);
}

void TFont::SetColor(TColor value) {
  Change(color_, value);
}

void TFont::SetStyle(TFontStyles value) {
  Change(style_, value);
}

void TFont::SetPitch(TFontPitch value) {
  Change(pitch_, value);
}

void TFont::Assign(const TPersistent* source) {
  const auto* font = dynamic_cast<const TFont*>(source);
  if (font == nullptr) {
    TPersistent::Assign(source);
    return;
  }
  if (font == this) return;
  const bool differs = name_ != font->name_ || height_ != font->height_ ||
                       charset_ != font->charset_ || color_ != font->color_ ||
                       style_ != font->style_ || pitch_ != font->pitch_;
  if (!differs) return;
  name_ = font->name_;
  height_ = font->height_;
  charset_ = font->charset_;
  color_ = font->color_;
  style_ = font->style_;
  pitch_ = font->pitch_;
  Changed();
}

void TFont::Changed() {
  if (OnChange) OnChange(this);
}

}  // namespace lx::framework

// A set over an enumeration: one bit per value, held in an unsigned mask.
//
// Published set properties use it (TFontStyles, TComponentState). The mask type is the
// stored size of the set, so a set of up to eight values fits in `std::uint8_t` and one of up
// to sixteen in `std::uint16_t`.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <limits>
#include <type_traits>

namespace lx::framework {

template <typename E, typename M = std::uint32_t>
class TSet {
  static_assert(std::is_enum_v<E>, "a set is taken over an enumeration");
  static_assert(std::is_unsigned_v<M> && !std::is_same_v<M, bool>,
                "the mask of a set is an unsigned integer");

 public:
  using Element = E;
  using Mask = M;

  constexpr TSet() noexcept = default;
  constexpr TSet(std::initializer_list<E> elements) noexcept {
    for (E element : elements)
      Include(element);
  }
  /// The set whose elements are the set bits of `mask`.
  static constexpr TSet FromMask(M mask) noexcept {
    TSet result;
    result.bits_ = mask;
    return result;
  }
  constexpr M ToMask() const noexcept { return bits_; }

  constexpr bool Contains(E element) const noexcept { return (bits_ & Bit(element)) != 0; }
  constexpr bool Empty() const noexcept { return bits_ == 0; }
  constexpr TSet& Include(E element) noexcept {
    bits_ = static_cast<M>(bits_ | Bit(element));
    return *this;
  }
  constexpr TSet& Exclude(E element) noexcept {
    bits_ = static_cast<M>(bits_ & ~Bit(element));
    return *this;
  }

  /// Union, difference and intersection, as the classic set operators.
  friend constexpr TSet operator+(TSet a, TSet b) noexcept {
    return FromMask(static_cast<M>(a.bits_ | b.bits_));
  }
  friend constexpr TSet operator-(TSet a, TSet b) noexcept {
    return FromMask(static_cast<M>(a.bits_ & ~b.bits_));
  }
  friend constexpr TSet operator*(TSet a, TSet b) noexcept {
    return FromMask(static_cast<M>(a.bits_ & b.bits_));
  }
  friend constexpr bool operator==(TSet a, TSet b) noexcept = default;

 private:
  // A value beyond the width of the mask has no bit: including it changes nothing.
  static constexpr M Bit(E element) noexcept {
    const auto index = static_cast<unsigned>(element);
    return index < static_cast<unsigned>(std::numeric_limits<M>::digits)
               ? static_cast<M>(M{1} << index)
               : M{0};
  }

  M bits_ = 0;
};

}  // namespace lx::framework

#pragma once
// The screen fonts of register texts: the register's Cyrillic font, which the font
// installer puts on the PC, and the Latin font used while the Cyrillic display is off.
namespace kalvo {

inline constexpr char kCyrillicFont[] = "Helvetica Ciril";
inline constexpr char kLatinFont[] = "Courier New";

} // namespace kalvo

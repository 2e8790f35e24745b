#pragma once
// Register text in its three forms: the operator's Latin typing form (digraphs nj, lj, dj,
// dz as two letters), the register's 7-bit code (each ASCII letter stands for the Cyrillic
// letter of the same position; Q W X for Lj Nj Dz; @ [ \ ] ^ and ` { | } ~ for the letters
// with diacritics) and 8-bit Cyrillic (ISO 8859-5 codes). Texts are bytes.
#include <string>

namespace kalvo {

// toLatin = false: Latin typing form to register code (digraphs to single letters).
// toLatin = true: register code to plain Latin; letters with diacritics lose them, so this
// direction is not the inverse of the other.
std::string ConvertRegisterText(const std::string &text, bool toLatin = false);

// Register 7-bit code to ISO 8859-5, character by character; other bytes unchanged.
std::string To8859(const std::string &text);
// ISO 8859-5 back to the 7-bit code (175 gives X, 255 gives x); other bytes unchanged.
std::string From8859(const std::string &text);

// True when no character lies in A..Z or a..z (an empty text included).
bool HasNoLatinLetters(const std::string &text);

} // namespace kalvo

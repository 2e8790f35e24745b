#pragma once
// The print image of a receipt header or advertising line as the register prints it:
// bold marks every character with ESC, centring surrounds the text with spaces, and an
// empty trailing line travels as a single NUL. Texts are register bytes.
#include <span>
#include <string>

namespace kalvo::printimage {

constexpr char kEsc = '\x1B';
constexpr char kNul = '\0';
// Stored-line layout: text padded to at least this width, then the bold flag and the
// centring flag.
constexpr std::size_t kTextField = 32;

// Removes leading and trailing blanks (spaces only, as register text is trimmed).
std::string trimmed(const std::string &text);
std::string rightTrimmed(const std::string &text);
// Pads on the right with spaces to at least width characters.
std::string padRight(const std::string &text, std::size_t width);

// A stored line of two characters or fewer after trimming counts as empty.
bool isEmptyStoredLine(const std::string &stored);

struct LineImage {
    std::string text;
    bool bold = false;
    bool centered = false;
};

// The editing form taken from a stored line before sending: the first lineWidth
// characters, trimmed; a flag character is "on" unless it is "0", so a stored line
// without flag characters reads as bold and centred.
LineImage layoutForSending(const std::string &stored, int lineWidth);

// Normalises the text part (the first 32 characters) of a stored line and keeps the two
// flag characters at positions 33 and 34. When the normalised text no longer fits the
// 32-character field, the line is returned unchanged so the flags never move.
template <typename Normalise>
std::string normaliseStoredLine(const std::string &stored, Normalise normalise)
{
    if (stored.size() <= kTextField)
        return normalise(stored);
    std::string body = rightTrimmed(normalise(stored.substr(0, kTextField)));
    if (body.size() > kTextField)
        return stored;
    return padRight(body, kTextField) + stored.substr(kTextField);
}

// ESC before every character: "AB" -> ESC A ESC B.
std::string boldImage(const std::string &text);
// While shorter than lineWidth - 2, one space at each end; then spaces at the end up
// to lineWidth.
std::string centredImage(std::string text, int lineWidth);
// From the last line back to line 1, every line whose trimmed text is empty becomes a
// single NUL; stops at the first line with text. Line 0 is never replaced.
void markEmptyTrailingLines(std::span<std::string> lines);

} // namespace kalvo::printimage

#pragma once
// The header and advertising lines as the two line editors load, check and store them.
// No widgets: the windows pass the box texts in as register bytes.
#include "data/ProgrammingData.h"

#include <QString>

#include <array>

namespace kalvo {

enum class LineTable { Header, Advert };

using EditedLines = std::array<LineLayout, ProgrammingData::kLinesUsed>;

// Characters a line box accepts: 22 when the line width is 22, else 32.
int LineBoxLength(int lineWidth);

// Prepares one table for editing. The text of every stored line longer than 2 characters is
// converted with ConvertRegisterText(text, toLatin = not CyrillicMode) and stored back with
// its flag characters where they were (a text that grows past 32 is cut), and its layout
// in the table's layout array is rebuilt from it (cut to lineWidth). Returns what the six
// boxes show: the layouts of those lines, an empty left-aligned normal line for the others.
EditedLines LoadLinesForEditing(ProgrammingData &data, LineTable table);

// Checks lines 1..6 in order against the line width: a text longer than the width, or a
// bold text whose print width (2 per non-space character) exceeds it. Returns the message
// for the first line that fails, or an empty text when all pass.
QString CheckLines(const EditedLines &lines, int lineWidth);

// Stores the edited lines: trailing blanks are removed, the lines are checked, and only
// when all pass are the table's layouts and stored lines (32 characters, bold flag,
// centring flag) replaced. Returns the failure message, or an empty text on success.
QString SaveEditedLines(ProgrammingData &data, LineTable table, EditedLines lines);

} // namespace kalvo

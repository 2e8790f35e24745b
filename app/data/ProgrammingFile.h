#pragma once
// The programming file: one register's programming tables (all but the articles, the line
// layouts and the sales figures) in an ini file, read and written one key at a time through
// cIniFile. Text is bytes in the Windows-1250 code page, so files written on Windows load
// unchanged.
#include "data/ProgrammingData.h"

#include <string>

namespace kalvo {

class Prompter;

// The fixed marker of section KALVO, key VERSION.
inline constexpr const char *kProgrammingFileMarker = "EUEIOBBB210979";

// Reads the file named by data.ProgrammingFilePath into data. Returns true when every key
// was read. A wrong or missing marker shows "Fajl nije validan" and changes nothing but
// FileVersion. A PORT, SETPORT SPEED or WDTH value that is no 16/32-bit number, or an LNG
// value that is no Boolean, shows the conversion error and stops at that key: what was read
// before stays, the keys after it are not read. Either way the result is false.
bool ReadProgrammingFile(ProgrammingData &data, Prompter &prompter);

// Writes data to the file named by data.ProgrammingFilePath, creating it when needed and
// keeping every line it does not write as it was. Besides the keys the reader reads it
// writes UNITS SHORT_n, so unit short names survive a save. A failure shows a message with
// its description and ends the save (the keys written before it stay written); the result
// tells whether everything was written.
bool WriteProgrammingFile(const ProgrammingData &data, Prompter &prompter);

// Conversions of the link keys, as the reader applies them (exposed for the editors).
enum class ConversionResult { Ok, NotANumber, OutOfRange };
// Whole number in [minimum, maximum]: optional sign, digits, optional decimal part rounded
// half to even; surrounding blanks ignored.
ConversionResult ConvertWholeNumber(const std::string &text, long long minimum, long long maximum,
                                    long long &value);
// "True"/"False" in any letter case, or a number (non-zero is true).
ConversionResult ConvertBoolean(const std::string &text, bool &value);

} // namespace kalvo

#pragma once
// Shared helpers for the test programs.
#include <QString>

namespace kalvo::test {

// The program folder of the build (build/bin/).
inline QString binDir() { return QStringLiteral(KALVO_BIN_DIR "/"); }
inline QString sourceDir() { return QStringLiteral(KALVO_SOURCE_DIR "/"); }

} // namespace kalvo::test

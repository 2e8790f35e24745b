#pragma once
// The simulator's own reading and writing of register frames. Deliberately independent of
// the link library's code: the two check each other on the wire.
//
//   STX | payload | '0'+(K & 15) | '0'+(K >> 4) | ETX      with K = 255 - (payload sum mod 256)
#include <cstdint>
#include <string>
#include <vector>

namespace regsim {

constexpr char kStx = '\x02';
constexpr char kEtx = '\x03';
constexpr char kAck = '\x06';
constexpr char kNak = '\x15';

// The two checksum characters of a payload.
std::string checksumChars(const std::string &payload);
// STX + payload + checksum characters + ETX.
std::string encodeFrame(const std::string &payload);

// What arrived on the line.
struct LineEvent {
    enum Kind {
        Frame,    // a frame with a good checksum; bytes = payload
        BadFrame, // a frame whose checksum characters are wrong; bytes = payload + checksum chars
        Overlong, // a frame that never ended within the size limit; bytes = what was collected
        Text,     // unframed bytes up to CR/LF (or an idle gap); bytes = the line without CR/LF
        Ack,      // a lone ACK
        Nak       // a lone NAK
    };
    Kind kind;
    std::string bytes;
};

// Splits the byte stream from the workstation into frames, text lines and control bytes.
// Inside a frame an STX starts it again; an ETX ends it once the payload has at least one
// byte (so an ETX among the first three bytes is data).
class LineReader {
public:
    static constexpr std::size_t kMaxFrame = 300; // bytes between STX and ETX
    static constexpr std::size_t kMaxText = 512;

    void feed(char byte, std::vector<LineEvent> &out);
    // Hands over unfinished text (the writer went quiet); true when there was some.
    bool flushText(std::vector<LineEvent> &out);
    bool hasPendingText() const { return !text_.empty(); }

private:
    bool inFrame_ = false;
    std::string frame_; // bytes after STX
    std::string text_;
};

// Escapes bytes for the log: printable ASCII as is, backslash and double quote escaped,
// every other byte as \xHH with exactly two hex digits.
std::string escapeBytes(const std::string &bytes);
// Parses hex digits (spaces allowed between bytes) into bytes; false on a bad digit or an
// odd count.
bool parseHex(const std::string &text, std::string &bytes);

} // namespace regsim

#pragma once
// What the simulated register answers. The line code (pty, framing, fault injection)
// calls a Responder for every good frame and every unframed text line.
#include <string>

namespace regsim {

struct Reply {
    enum Kind { Ack, Nak, Frame, Silence };
    Kind kind = Ack;
    std::string payload; // the answer payload when kind == Frame
};

class Responder {
public:
    virtual ~Responder() = default;
    // A frame with a good checksum arrived.
    virtual Reply onFrame(const std::string &payload) = 0;
    // The workstation acknowledged an answer frame.
    virtual void onAck() {}
    // Unframed text ended by CR or LF, or followed by 100 ms of quiet (modem commands, the
    // password, "ATMI"); the line excludes CR/LF. Returns the raw bytes to write back (empty:
    // nothing).
    virtual std::string onTextLine(const std::string &line) { (void)line; return {}; }
    // State file; false with a message on failure.
    virtual bool load(const std::string &path, std::string &error) { (void)path; (void)error; return true; }
    virtual bool dump(const std::string &path, std::string &error) const { (void)path; (void)error; return true; }
};

} // namespace regsim

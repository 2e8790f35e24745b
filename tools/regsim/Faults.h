#pragma once
// Scripted misbehaviour of the simulated register, applied to the next received frames.
//
// A fault is written "kind", "kind:arg" or "kind arg":
//   nak[:N]      answer the next N frames with NAK (the responder does not see them)
//   silent[:N]   answer the next N frames with nothing (the responder does not see them)
//   badsum[:N]   spoil the first checksum character of the next N answer frames
//                (an answer that is a lone ACK/NAK goes out unchanged)
//   garbage[:N]  send a few junk bytes (no STX/ETX/ACK/NAK) before the next N answers
//   stx2[:N]     start the next N answers with STX and a few bytes, then send the whole
//                answer again from a second STX
//   ack[:N]      send a lone ACK instead of the next N answers (the responder still acts)
//   drop         on the next frame: close the line and exit
//   reopen       on the next frame: close the line and open a fresh one on the same link path
//   reply:HEX    answer the next frame with a good frame of this payload (hex bytes)
//   raw:HEX      answer the next frame with exactly these bytes (hex), framed or not
// N is 1 to 1000 (default 1). Faults queue up and are used one per frame, in order.
#include <deque>
#include <optional>
#include <string>

namespace regsim {

struct Fault {
    enum Kind { Nak, Silent, BadSum, Garbage, SecondStx, AckInstead, Drop, Reopen, Reply, Raw };
    Kind kind;
    std::string data; // Reply: the payload; Raw: the bytes
};

class FaultQueue {
public:
    // Parses one fault and queues it; false with a message when it cannot be read.
    bool add(const std::string &fault, std::string &error);
    std::optional<Fault> next();
    void clear() { queue_.clear(); }
    bool empty() const { return queue_.empty(); }

private:
    std::deque<Fault> queue_;
};

} // namespace regsim

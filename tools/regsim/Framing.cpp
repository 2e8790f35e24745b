#include "Framing.h"

#include <cctype>

namespace regsim {

std::string checksumChars(const std::string &payload)
{
    std::uint8_t total = 0;
    for (unsigned char c : payload)
        total = static_cast<std::uint8_t>(total + c);
    const std::uint8_t k = static_cast<std::uint8_t>(255 - total);
    std::string out;
    out += static_cast<char>('0' + (k % 16));
    out += static_cast<char>('0' + (k / 16));
    return out;
}

std::string encodeFrame(const std::string &payload)
{
    return std::string(1, kStx) + payload + checksumChars(payload) + kEtx;
}

void LineReader::feed(char byte, std::vector<LineEvent> &out)
{
    if (inFrame_) {
        if (byte == kStx) {
            frame_.clear();
            return;
        }
        if (byte == kEtx && frame_.size() >= 3) {
            inFrame_ = false;
            const std::string payload = frame_.substr(0, frame_.size() - 2);
            const std::string sums = frame_.substr(frame_.size() - 2);
            if (sums == checksumChars(payload))
                out.push_back({LineEvent::Frame, payload});
            else
                out.push_back({LineEvent::BadFrame, frame_});
            frame_.clear();
            return;
        }
        frame_ += byte;
        if (frame_.size() > kMaxFrame) {
            out.push_back({LineEvent::Overlong, frame_});
            frame_.clear();
            inFrame_ = false;
        }
        return;
    }

    switch (byte) {
    case kStx:
        flushText(out);
        inFrame_ = true;
        frame_.clear();
        return;
    case kAck:
        flushText(out);
        out.push_back({LineEvent::Ack, {}});
        return;
    case kNak:
        flushText(out);
        out.push_back({LineEvent::Nak, {}});
        return;
    case '\r':
    case '\n':
        flushText(out);
        return;
    default:
        text_ += byte;
        if (text_.size() >= kMaxText)
            flushText(out);
    }
}

bool LineReader::flushText(std::vector<LineEvent> &out)
{
    if (text_.empty())
        return false;
    out.push_back({LineEvent::Text, text_});
    text_.clear();
    return true;
}

std::string escapeBytes(const std::string &bytes)
{
    static const char digits[] = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : bytes) {
        if (c == '\\' || c == '"') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c >= 0x20 && c < 0x7F) {
            out += static_cast<char>(c);
        } else {
            out += "\\x";
            out += digits[c >> 4];
            out += digits[c & 15];
        }
    }
    return out;
}

bool parseHex(const std::string &text, std::string &bytes)
{
    bytes.clear();
    int high = -1;
    for (char ch : text) {
        if (ch == ' ' || ch == '\t')
            continue;
        int v;
        if (ch >= '0' && ch <= '9')
            v = ch - '0';
        else if (ch >= 'a' && ch <= 'f')
            v = ch - 'a' + 10;
        else if (ch >= 'A' && ch <= 'F')
            v = ch - 'A' + 10;
        else
            return false;
        if (high < 0) {
            high = v;
        } else {
            bytes += static_cast<char>(high * 16 + v);
            high = -1;
        }
    }
    return high < 0;
}

} // namespace regsim

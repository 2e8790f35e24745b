#include "Faults.h"

#include "Framing.h"

#include <cstdlib>

namespace regsim {

namespace {

struct KindName {
    const char *name;
    Fault::Kind kind;
    enum { Count, None, Hex } arg;
};

const KindName kKinds[] = {
    {"nak", Fault::Nak, KindName::Count},
    {"silent", Fault::Silent, KindName::Count},
    {"badsum", Fault::BadSum, KindName::Count},
    {"garbage", Fault::Garbage, KindName::Count},
    {"stx2", Fault::SecondStx, KindName::Count},
    {"ack", Fault::AckInstead, KindName::Count},
    {"drop", Fault::Drop, KindName::None},
    {"reopen", Fault::Reopen, KindName::None},
    {"reply", Fault::Reply, KindName::Hex},
    {"raw", Fault::Raw, KindName::Hex},
};

std::string trim(const std::string &s)
{
    const auto first = s.find_first_not_of(" \t\r\n");
    if (first == std::string::npos)
        return {};
    const auto last = s.find_last_not_of(" \t\r\n");
    return s.substr(first, last - first + 1);
}

} // namespace

bool FaultQueue::add(const std::string &faultText, std::string &error)
{
    const std::string fault = trim(faultText);
    const auto sep = fault.find_first_of(": \t");
    const std::string name = fault.substr(0, sep);
    const std::string arg = sep == std::string::npos ? std::string() : trim(fault.substr(sep + 1));

    for (const KindName &k : kKinds) {
        if (name != k.name)
            continue;
        switch (k.arg) {
        case KindName::None:
            if (!arg.empty()) {
                error = "fault '" + name + "' takes no argument";
                return false;
            }
            queue_.push_back({k.kind, {}});
            return true;
        case KindName::Count: {
            long count = 1;
            if (!arg.empty()) {
                char *end = nullptr;
                count = std::strtol(arg.c_str(), &end, 10);
                if (*end || count < 1 || count > 1000) {
                    error = "fault '" + name + "': count must be 1 to 1000";
                    return false;
                }
            }
            for (long i = 0; i < count; ++i)
                queue_.push_back({k.kind, {}});
            return true;
        }
        case KindName::Hex: {
            std::string bytes;
            if (!parseHex(arg, bytes) || bytes.empty()) {
                error = "fault '" + name + "': expected hex bytes, e.g. " + name + ":024103";
                return false;
            }
            queue_.push_back({k.kind, bytes});
            return true;
        }
        }
    }
    error = "unknown fault '" + name + "'";
    return false;
}

std::optional<Fault> FaultQueue::next()
{
    if (queue_.empty())
        return std::nullopt;
    Fault f = queue_.front();
    queue_.pop_front();
    return f;
}

} // namespace regsim

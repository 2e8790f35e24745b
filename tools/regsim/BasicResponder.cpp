#include "BasicResponder.h"

namespace regsim {

Reply BasicResponder::onFrame(const std::string &payload)
{
    (void)payload; // "T" (link test) and everything else: accepted
    return Reply{Reply::Ack, {}};
}

} // namespace regsim

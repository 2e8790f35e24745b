#pragma once
// The simplest register: acknowledges every frame (the link test "T" included) and
// answers no text line.
#include "Responder.h"

namespace regsim {

class BasicResponder : public Responder {
public:
    Reply onFrame(const std::string &payload) override;
};

} // namespace regsim

#pragma once
// The in-memory programming tables of one register.
namespace kalvo {

struct ProgrammingData {
};

} // namespace kalvo

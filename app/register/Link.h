#pragma once
// The program's side of the serial-link library: binds its exports at first call and
// keeps the program-wide exchange state.
namespace kalvo {

class Link {
};

} // namespace kalvo

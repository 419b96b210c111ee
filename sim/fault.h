#pragma once

#include <string>

namespace sim {

// How the panel misbehaves. Silent: hears and logs, never answers. Late: each
// answer leaves 1.2 s after its frame. Truncated: each answer lacks its last
// character. Extra: each answer is followed by '!'. Garbled: right length,
// every character XOR 0x40. HangUp: the line drops after a number of frames.
enum class Fault { None, Silent, Late, Truncated, Extra, Garbled, HangUp };

// The characters the panel sends for an answer under a fault; timing and
// hang-up are the line's business, not the answer's.
std::string shapeAnswer(Fault fault, std::string answer);

} // namespace sim

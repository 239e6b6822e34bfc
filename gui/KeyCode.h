// A key press or release as the editor's views receive it: the character, the virtual key and
// the modifier bits, as the host reported them.
#pragma once

namespace qv {

struct KeyCode {
    long character = 0;           // the character, 0 for keys without one
    unsigned char virtualKey = 0; // the host's code of a key without a character
    unsigned char modifiers = 0;  // the host's modifier bits
};

} // namespace qv

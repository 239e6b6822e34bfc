#pragma once

// Bounded copying of zero-terminated strings into caller buffers.
//
// Thread: any.

namespace qv {

// Copies at most maxLength characters of source into text and terminates it, so text needs
// maxLength + 1 bytes. A null source is copied as the empty string. Returns the length written.
inline int copyBoundedText(const char* source, char* text, int maxLength) {
    int length = 0;
    if (source != nullptr) {
        while (length < maxLength && source[length] != '\0') {
            text[length] = source[length];
            ++length;
        }
    }
    text[length] = '\0';
    return length;
}

} // namespace qv

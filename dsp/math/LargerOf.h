#pragma once

namespace qv {

// a > b ? a : b, and b when the two are equal or unordered (a NaN a is not taken). Any thread.
//
// On the x87 unit GCC compiles the comparison to a branch, which mispredicts often where the
// larger of two signals changes from frame to frame (max(|L|, |R|) of a band), and needs a store
// and a reload around it. There a compare and a conditional move do the same in two
// instructions, without a branch. The quiet compare (fucomi) sets the flags as the C comparison
// does (unordered: carry and zero set), so fcmovbe keeps b in exactly the cases where a > b is
// false. Elsewhere the compiler's select is already free of branches.
inline double largerOf(double a, double b) {
#if defined(__GNUC__) && defined(__i386__) && !defined(__SSE2_MATH__)
    // b in any stack register, so that a running extreme can stay where it lives; the early
    // clobber keeps it out of st(0), which holds a.
    asm("fucomi %1, %%st\n\tfcmovbe %1, %%st" : "+&t"(a) : "f"(b) : "cc");
    return a;
#else
    return a > b ? a : b;
#endif
}

} // namespace qv

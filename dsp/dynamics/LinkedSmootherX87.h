#pragma once

#include "dsp/dynamics/LinkedGain.h"

// Where doubles live on the x87 unit (32-bit builds without SSE2 arithmetic), in optimised
// builds whose addressing needs no register of its own (no PIC register).
#if defined(__GNUC__) && defined(__i386__) && !defined(__SSE2_MATH__) && defined(__OPTIMIZE__) &&  \
    !defined(__PIC__)
#define QV_SMOOTHER_X87 1

// The assembly is laid out one instruction a line, which the formatter would run together.
// clang-format off
// The loops run two frames a turn, frames i and i + 1 (at = "" and "8": the second's byte
// offset), entered at the second for an odd count.
//
// The linked gain's terms, each pushed onto the stack; "faddp" adds the top two.
#define QV_X87_ABOVE(at)                                                                           \
    "fldl " at "(%[above],%[i],8)\n\t"                                                             \
    "fmull %[k]\n\t"
#define QV_X87_OWN(at)                                                                             \
    "fldl " at "(%[own],%[i],8)\n\t"                                                               \
    "fmull 8+%[k]\n\t"
#define QV_X87_BELOW(at)                                                                           \
    "fldl " at "(%[below],%[i],8)\n\t"                                                             \
    "fmull 16+%[k]\n\t"
#define QV_X87_MIDDLE_BAND(at)                                                                     \
    QV_X87_ABOVE(at) QV_X87_OWN(at) "faddp\n\t" QV_X87_BELOW(at) "faddp\n\t"
#define QV_X87_LAST_BAND(at) QV_X87_ABOVE(at) QV_X87_OWN(at) "faddp\n\t"
#define QV_X87_FIRST_BAND(at) QV_X87_OWN(at) QV_X87_BELOW(at) "faddp\n\t"
// i = -count - 1 and a jump to the loop's second frame for an odd count.
#define QV_X87_ODD_ENTRY                                                                           \
    "test $1, %[i]\n\t"                                                                            \
    "jz 1f\n\t"                                                                                    \
    "dec %[i]\n\t"                                                                                 \
    "jmp 2f\n"
// 1 + k0 S0 + d S1 from the stack [S0, S1, ...], pushed.
#define QV_X87_OUTPUT                                                                              \
    "fld %%st(0)\n\t"                                                                              \
    "fmull 24+%[k]\n\t"                                                                            \
    "faddl 40+%[k]\n\t"                                                                            \
    "fld %%st(2)\n\t"                                                                              \
    "fmull 32+%[k]\n\t"                                                                            \
    "faddp\n\t"
// The stack holds [S0, S1, limit] between frames. Per frame: L = the leaving deviation,
// d = linked - 1 into the ring, S1 += S0 - 32 L, S0 += d - L, y = 1 + k0 S0 + d S1, and
// out = y > limit ? limit : y (an unordered y is kept, as the C comparison keeps it).
#define QV_X87_PLAIN_FRAME(LINKED, at)                                                             \
    "fldl " at "(%[slot],%[i],8)\n\t"                                                              \
    LINKED(at)                                                                                     \
    "fsubl 40+%[k]\n\t"                                                                            \
    "fstl " at "(%[slot],%[i],8)\n\t"                                                              \
    "fsub %%st(1), %%st\n\t"                                                                       \
    "fxch %%st(1)\n\t"                                                                             \
    "fmull 48+%[k]\n\t"                                                                            \
    "fsubr %%st(2), %%st\n\t"                                                                      \
    "faddp %%st, %%st(3)\n\t"                                                                      \
    "faddp %%st, %%st(1)\n\t"                                                                      \
    QV_X87_OUTPUT                                                                                  \
    "fucomi %%st(3), %%st\n\t"                                                                     \
    "fcmovnbe %%st(3), %%st\n\t"                                                                   \
    "fstpl " at "(%[out],%[i],8)\n\t"
// The next turn of the ring after one ends (i = 0): none left, the end; else its frames
// (32 at most) taken from left, the pointers moved to its end, i = -frames, and the turn
// skipped as the end if it opens with a linked gain of 1.0 (left still counting it).
#define QV_X87_NEXT_TURN(LINKED, ADVANCE)                                                          \
    "mov %[left], %[i]\n\t"                                                                        \
    "test %[i], %[i]\n\t"                                                                          \
    "jz 9f\n\t"                                                                                    \
    "cmp $32, %[i]\n\t"                                                                            \
    "jle 3f\n\t"                                                                                   \
    "mov $32, %[i]\n"                                                                              \
    "3:\n\t"                                                                                       \
    ADVANCE                                                                                        \
    "lea (%[out],%[i],8), %[out]\n\t"                                                              \
    "mov %[ring], %[slot]\n\t"                                                                     \
    "lea (%[slot],%[i],8), %[slot]\n\t"                                                            \
    "neg %[i]\n\t"                                                                                 \
    "fld1\n\t"                                                                                     \
    LINKED("")                                                                                     \
    "fucomip %%st(1), %%st\n\t"                                                                    \
    "fstp %%st(0)\n\t"                                                                             \
    "jp 4f\n\t"                                                                                    \
    "jne 4f\n\t"                                                                                   \
    "jmp 9f\n"                                                                                     \
    "4:\n\t"                                                                                       \
    "add %[i], %[left]\n\t"
#define QV_X87_ADVANCE_ABOVE "lea (%[above],%[i],8), %[above]\n\t"
#define QV_X87_ADVANCE_OWN "lea (%[own],%[i],8), %[own]\n\t"
#define QV_X87_ADVANCE_BELOW "lea (%[below],%[i],8), %[below]\n\t"
#define QV_X87_PLAIN(LINKED, ADVANCE)                                                              \
    "fldl 56+%[k]\n\t"                                                                             \
    "fldl %[weighted]\n\t"                                                                         \
    "fldl %[sum]\n\t"                                                                              \
    "jmp 5f\n"                                                                                     \
    "0:\n\t"                                                                                       \
    QV_X87_NEXT_TURN(LINKED, ADVANCE)                                                              \
    "5:\n\t"                                                                                       \
    QV_X87_ODD_ENTRY                                                                               \
    "1:\n\t"                                                                                       \
    QV_X87_PLAIN_FRAME(LINKED, "")                                                                 \
    "2:\n\t"                                                                                       \
    QV_X87_PLAIN_FRAME(LINKED, "8")                                                                \
    "add $2, %[i]\n\t"                                                                             \
    "jnz 1b\n\t"                                                                                   \
    "jmp 0b\n"                                                                                     \
    "9:\n\t"                                                                                       \
    QV_X87_OUTPUT                                                                                  \
    "fstpl %[y]\n\t"                                                                               \
    "fstpl %[sum]\n\t"                                                                             \
    "fstpl %[weighted]\n\t"                                                                        \
    "fstp %%st(0)\n\t"
// The stack holds [rest, 1.0]; the linked gain is compared with 1.0 and popped. A frame that
// ends the loop leaves i at its index (the second frame steps it on).
#define QV_X87_RESTING_FRAME(LINKED, at, exit)                                                     \
    LINKED(at)                                                                                     \
    "fucomip %%st(2), %%st\n\t"                                                                    \
    "jne " exit "\n\t"                                                                             \
    "jp " exit "\n\t"                                                                              \
    "fstl " at "(%[out],%[i],8)\n\t"
#define QV_X87_RESTING(LINKED)                                                                     \
    "fld1\n\t"                                                                                     \
    "fldl 64+%[k]\n\t"                                                                             \
    QV_X87_ODD_ENTRY                                                                               \
    "1:\n\t"                                                                                       \
    QV_X87_RESTING_FRAME(LINKED, "", "4f")                                                         \
    "2:\n\t"                                                                                       \
    QV_X87_RESTING_FRAME(LINKED, "8", "3f")                                                        \
    "add $2, %[i]\n\t"                                                                             \
    "jnz 1b\n\t"                                                                                   \
    "jmp 4f\n"                                                                                     \
    "3:\n\t"                                                                                       \
    "inc %[i]\n"                                                                                   \
    "4:\n\t"                                                                                       \
    "fstp %%st(0)\n\t"                                                                             \
    "fstp %%st(0)\n\t"
// clang-format on
#define QV_X87_CLOBBERS                                                                            \
    "memory", "cc", "st", "st(1)", "st(2)", "st(3)", "st(4)", "st(5)", "st(6)", "st(7)"

namespace qv {

// GainSmoother's two hot loops on a linked gain, written for the x87 register stack. GCC's
// code for them shuffles the stack (fxch, reloads of 1.0, a branch or two exchanges around the
// cap) at about 35 instructions a frame; here the two running sums and the cap stay on the
// stack for the whole run, the weights and constants are memory operands, and a frame takes 27
// (24 for the first and last bands; 10 to 13 at rest). The plain loop also runs on across the
// ring's turns (up to the one due for its exact recomputation), which the compiled code takes
// one call each. Each value is formed by the same operations in the same order as in
// GainSmoother::run, with the intermediates in the unit's own precision as there; the sums
// leave each run rounded to double, where the compiled code at times kept them wider, so the
// outputs may differ from its in the last bit. A source other than a LinkedGain has no such
// loops (kRuns false). Audio thread.
template <class Source> class LinkedSmootherX87 {
public:
    static constexpr bool kRuns = false;
    LinkedSmootherX87(const Source&, double, double, double) {}
    int plain(int, int, int, double*, int, double*, double&, double&, double&) const { return 0; }
    int resting(int, int, double*) const { return 0; }
};

template <bool Above, bool Below> class LinkedSmootherX87<LinkedGain<Above, Below>> {
public:
    static constexpr bool kRuns = true;

    // The loops' constants: start k0 and slope d of the smoother's kernel, its outputs capped
    // at limit (+inf: none).
    LinkedSmootherX87(const LinkedGain<Above, Below>& gains, double start, double slope,
                      double limit)
        : gains_(gains), k_{gains.upper, gains.centre, gains.lower,
                            start,       slope,        1.0,
                            kTaps,       limit,        1.0 > limit ? limit : 1.0} {}

    // The plain loop of GainSmoother::run over up to frames frames from frame from, across the
    // turns of the ring (history, at position; first: the frames to its turn) for as long as
    // each later turn opens with a linked gain other than 1.0 (the first must): ring slots
    // filled, outputs min(limit, y) to out[0..], sum and weighted updated, y the last
    // (uncapped) output. Returns the frames run (first at least).
    int plain(int from, int frames, int first, double* ring, int position, double* out, double& sum,
              double& weighted, double& y) const {
        const double* above = gains_.above + from + first;
        const double* own = gains_.own + from + first;
        const double* below = gains_.below + from + first;
        double* slot = ring + position + first;
        out += first;
        int left = frames - first; // frames after the current turn
        int i = -first;            // runs up to 0 in each turn: frame count + i of the turn
        if constexpr (Above && Below)
            asm volatile(QV_X87_PLAIN(QV_X87_MIDDLE_BAND,
                                      QV_X87_ADVANCE_ABOVE QV_X87_ADVANCE_OWN QV_X87_ADVANCE_BELOW)
                         : [i] "+r"(i), [above] "+r"(above), [own] "+r"(own), [below] "+r"(below),
                           [slot] "+r"(slot), [out] "+r"(out), [left] "+m"(left), [sum] "+m"(sum),
                           [weighted] "+m"(weighted), [y] "=m"(y)
                         : [ring] "m"(ring), [k] "m"(k_)
                         : QV_X87_CLOBBERS);
        else if constexpr (Above)
            asm volatile(QV_X87_PLAIN(QV_X87_LAST_BAND, QV_X87_ADVANCE_ABOVE QV_X87_ADVANCE_OWN)
                         : [i] "+r"(i), [above] "+r"(above), [own] "+r"(own), [slot] "+r"(slot),
                           [out] "+r"(out), [left] "+m"(left), [sum] "+m"(sum),
                           [weighted] "+m"(weighted), [y] "=m"(y)
                         : [ring] "m"(ring), [k] "m"(k_)
                         : QV_X87_CLOBBERS);
        else
            asm volatile(QV_X87_PLAIN(QV_X87_FIRST_BAND, QV_X87_ADVANCE_OWN QV_X87_ADVANCE_BELOW)
                         : [i] "+r"(i), [own] "+r"(own), [below] "+r"(below), [slot] "+r"(slot),
                           [out] "+r"(out), [left] "+m"(left), [sum] "+m"(sum),
                           [weighted] "+m"(weighted), [y] "=m"(y)
                         : [ring] "m"(ring), [k] "m"(k_)
                         : QV_X87_CLOBBERS);
        return frames - left;
    }

    // The loop of a smoother at rest over frames from..from + count - 1 (count >= 1): while the
    // linked gain is exactly 1.0, out[j] = min(limit, 1.0). Returns the frames so written.
    int resting(int from, int count, double* out) const {
        const double* const above = gains_.above + from + count;
        const double* const own = gains_.own + from + count;
        const double* const below = gains_.below + from + count;
        double* const outEnd = out + count;
        int i = -count;
        if constexpr (Above && Below)
            asm volatile(QV_X87_RESTING(QV_X87_MIDDLE_BAND)
                         : [i] "+r"(i)
                         : [above] "r"(above), [own] "r"(own), [below] "r"(below),
                           [out] "r"(outEnd), [k] "m"(k_)
                         : QV_X87_CLOBBERS);
        else if constexpr (Above)
            asm volatile(QV_X87_RESTING(QV_X87_LAST_BAND)
                         : [i] "+r"(i)
                         : [above] "r"(above), [own] "r"(own), [out] "r"(outEnd), [k] "m"(k_)
                         : QV_X87_CLOBBERS);
        else
            asm volatile(QV_X87_RESTING(QV_X87_FIRST_BAND)
                         : [i] "+r"(i)
                         : [own] "r"(own), [below] "r"(below), [out] "r"(outEnd), [k] "m"(k_)
                         : QV_X87_CLOBBERS);
        return count + i;
    }

private:
    static constexpr double kTaps = 32.0; // GainSmoother::kTaps

    // The loops' constants, addressed as offsets from the first (the offsets in the assembly
    // above).
    struct Constants {
        double upper;  // +0
        double centre; // +8
        double lower;  // +16
        double start;  // +24: k0
        double slope;  // +32: k(j+1) - kj
        double one;    // +40
        double taps;   // +48
        double limit;  // +56: the cap of the outputs
        double rest;   // +64: the output of a smoother at rest
    };

    LinkedGain<Above, Below> gains_; // the source's rows (its weights are in k_)
    Constants k_;                    // the constants of both loops
};

} // namespace qv

#endif

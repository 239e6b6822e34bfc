#pragma once

#include "dsp/limiter/LimiterGainSmoother.h"

// Where doubles live on the x87 unit (32-bit builds without SSE2 arithmetic), in optimised
// builds whose addressing needs no register of its own (no PIC register).
#if defined(__GNUC__) && defined(__i386__) && !defined(__SSE2_MATH__) && defined(__OPTIMIZE__) &&  \
    !defined(__PIC__)
#define QV_LIMITER_SMOOTHER_X87 1

// The assembly is laid out one instruction a line, which the formatter would run together.
// clang-format off
// One frame; the stack holds [1.0, clip] between frames, the sums and the last output are in
// memory as doubles (as the compiled code keeps them). EXIT_ON_DIRECTION leaves for 7f when
// the last output and the target t (stack [last, t]) call for the other kernel; COMBINE joins
// [c1 W, 1 + a e] into y (minus for the reversed kernel, plus for the forward one).
#define QV_X87_LIMITER_FRAME(EXIT_ON_DIRECTION, COMBINE)                                           \
    "fldl (%[g],%[i],8)\n\t"      /* level */                                                      \
    "fucomi %%st(2), %%st\n\t"                                                                     \
    "jbe 8f\n\t"                  /* within the clip (or NaN): target 1.0 */                       \
    "fdivrl %[k]\n\t"             /* t = clip / level */                                           \
    "fldl %[last]\n\t"                                                                             \
    "fucomip %%st(1), %%st\n\t"                                                                    \
    EXIT_ON_DIRECTION                                                                              \
    "fsub %%st(1), %%st\n\t"      /* d = t - 1 */                                                  \
    "fld %%st(0)\n\t"                                                                              \
    "faddl %[sum]\n\t"            /* e = d + S */                                                  \
    "fld %%st(0)\n\t"                                                                              \
    "fmull 8+%[k]\n\t"                                                                             \
    "fadd %%st(3), %%st\n\t"      /* 1 + a e */                                                    \
    "fldl %[weighted]\n\t"                                                                         \
    "fmull 16+%[k]\n\t"                                                                            \
    COMBINE                       /* [y, e, d, 1, clip] */                                         \
    "fstl %[last]\n\t"                                                                             \
    "fucomi %%st(3), %%st\n\t"                                                                     \
    "fcmovnb %%st(3), %%st\n\t"   /* y >= 1: 1.0 (an unordered y is kept) */                       \
    "fstpl (%[g],%[i],8)\n\t"                                                                      \
    "fldl (%[slot],%[i],8)\n\t"   /* the leaving deviation L */                                    \
    "fsubr %%st(2), %%st\n\t"                                                                      \
    "faddl %[sum]\n\t"                                                                             \
    "fstpl %[sum]\n\t"            /* S += d - L */                                                 \
    "fldl (%[slot],%[i],8)\n\t"                                                                    \
    "fmull 24+%[k]\n\t"                                                                            \
    "fsubrp %%st, %%st(1)\n\t"                                                                     \
    "faddl %[weighted]\n\t"                                                                        \
    "fstpl %[weighted]\n\t"       /* W += e - 40 L */                                              \
    "fstpl (%[slot],%[i],8)\n\t"  /* d into the ring */
// Falling (reversed kernel) while !(last < t): an unordered pair leaves too, for the compiled
// code to judge. Rising (forward kernel) while last < t.
#define QV_X87_LIMITER_FALLING "jb 7f\n\t"
#define QV_X87_LIMITER_RISING "jae 7f\n\t" "jp 7f\n\t"
#define QV_X87_LIMITER_MINUS "fsubrp %%st, %%st(1)\n\t"
#define QV_X87_LIMITER_PLUS "faddp %%st, %%st(1)\n\t"
#define QV_X87_LIMITER_LOOP(EXIT_ON_DIRECTION, COMBINE)                                            \
    "fldl %[k]\n\t"                                                                                \
    "fld1\n"                                                                                       \
    "1:\n\t"                                                                                       \
    QV_X87_LIMITER_FRAME(EXIT_ON_DIRECTION, COMBINE)                                               \
    "inc %[i]\n\t"                                                                                 \
    "jnz 1b\n\t"                                                                                   \
    "jmp 9f\n"                                                                                     \
    "7:\n\t"                                                                                       \
    "fstp %%st(0)\n\t"                                                                             \
    "jmp 9f\n"                                                                                     \
    "8:\n\t"                                                                                       \
    "fstp %%st(0)\n"                                                                               \
    "9:\n\t"                                                                                       \
    "fstp %%st(0)\n\t"                                                                             \
    "fstp %%st(0)\n\t"
// clang-format on
#define QV_X87_LIMITER_CLOBBERS                                                                    \
    "memory", "cc", "st", "st(1)", "st(2)", "st(3)", "st(4)", "st(5)", "st(6)", "st(7)"

namespace qv {

// The limiter's finishing step on the x87 unit: gain = min(1, smoothed(clip / level)) while
// the level is above the clip and the direction holds. GCC's code for it keeps the levels'
// followers on the register stack and shuffles the smoother's state around them; here it runs
// as a pass of its own over the levels, with the constants on the stack and in memory. Each
// value is formed by the same operations in the same order as in LimiterGainSmoother::Run::push
// and rounded to double where the compiled code rounds it (the sums and the last output, kept
// in memory; the target and deviations stay in the unit's own precision). Audio thread.
class LimiterSmootherX87 {
public:
    explicit LimiterSmootherX87(double clip) : clip_(clip) {}

    // Smooths levels[0..] in place into gains for as long as every frame takes the common
    // path: a level above the clip and the kernel's direction unchanged. Returns the frames so
    // done (0 .. count); run's state moves on by as many pushes, its ring turned as they fill it.
    int run(LimiterGainSmoother::Run& run, double* levels, int count) const {
        const Constants k{clip_, run.falling ? run.reversedStart : run.start, run.slope,
                          LimiterGainSmoother::kTaps};
        int done = 0;
        // One pass per turn of the ring, up to its last slot.
        while (done < count) {
            const int room = LimiterGainSmoother::kHistory - run.position;
            const int frames = count - done < room ? count - done : room;
            double* const g = levels + done + frames;
            double* const slot = run.history + run.position + frames;
            int i = -frames;
            if (run.falling)
                asm volatile(QV_X87_LIMITER_LOOP(QV_X87_LIMITER_FALLING, QV_X87_LIMITER_MINUS)
                             : [i] "+r"(i), [sum] "+m"(run.sum), [weighted] "+m"(run.weightedSum),
                               [last] "+m"(run.last)
                             : [g] "r"(g), [slot] "r"(slot), [k] "m"(k)
                             : QV_X87_LIMITER_CLOBBERS);
            else
                asm volatile(QV_X87_LIMITER_LOOP(QV_X87_LIMITER_RISING, QV_X87_LIMITER_PLUS)
                             : [i] "+r"(i), [sum] "+m"(run.sum), [weighted] "+m"(run.weightedSum),
                               [last] "+m"(run.last)
                             : [g] "r"(g), [slot] "r"(slot), [k] "m"(k)
                             : QV_X87_LIMITER_CLOBBERS);
            done += frames + i;
            run.position += frames + i;
            if (run.position == LimiterGainSmoother::kHistory) run.turn();
            if (i != 0) break; // stopped at a frame for the compiled code
        }
        if (done > 0) run.unityCount = 0; // every target was below 1.0
        return done;
    }

private:
    // The loop's constants, addressed as offsets from the first (the offsets in the assembly).
    struct Constants {
        double clip;  // +0: the level above which the target is clip / level
        double start; // +8: the kernel's first weight in the run's direction
        double slope; // +16: k(j+1) - kj
        double taps;  // +24: 40
    };

    double clip_; // the clip level
};

} // namespace qv

#endif

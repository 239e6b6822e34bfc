#include "dsp/fft/PlanarFft.h"

#include <cmath>

namespace qv {

namespace {

const double kTwoPi = 6.283185307179586476925;
const double kSqrtHalf = 0.70710678118654752440; // cos(pi/4)
const double kCos8 = 0.92387953251128675613;     // cos(pi/8)
const double kSin8 = 0.38268343236508977173;     // sin(pi/8)

int log2OfPowerOfFour(int size, int maxSize) {
    for (int log2 = 4; (1 << log2) <= maxSize; log2 += 2)
        if (size == (1 << log2)) return log2;
    return -1;
}

// One complex value in registers; the arrays stay planar.
struct Cx {
    double r, i;
};

inline Cx operator+(Cx a, Cx b) {
    return {a.r + b.r, a.i + b.i};
}
inline Cx operator-(Cx a, Cx b) {
    return {a.r - b.r, a.i - b.i};
}
inline Cx timesMinusI(Cx a) {
    return {a.i, -a.r};
}
inline Cx timesI(Cx a) {
    return {-a.i, a.r};
}
// a w and a conj(w)
inline Cx times(Cx a, double wr, double wi) {
    return {a.r * wr - a.i * wi, a.r * wi + a.i * wr};
}
inline Cx timesConj(Cx a, double wr, double wi) {
    return {a.r * wr + a.i * wi, a.i * wr - a.r * wi};
}
// Products with W8 = (1 - i) / sqrt 2, W8^3 = (-1 - i) / sqrt 2 and their conjugates: two
// multiplications each.
inline Cx timesW8(Cx a) {
    return {(a.r + a.i) * kSqrtHalf, (a.i - a.r) * kSqrtHalf};
}
inline Cx timesW8Cubed(Cx a) {
    return {(a.i - a.r) * kSqrtHalf, -(a.r + a.i) * kSqrtHalf};
}
inline Cx timesConjW8(Cx a) {
    return {(a.r - a.i) * kSqrtHalf, (a.r + a.i) * kSqrtHalf};
}
inline Cx timesConjW8Cubed(Cx a) {
    return {-(a.r + a.i) * kSqrtHalf, (a.r - a.i) * kSqrtHalf};
}

inline Cx load(const double* re, const double* im, int k) {
    return {re[k], im[k]};
}
inline void store(double* re, double* im, int k, Cx a) {
    re[k] = a.r;
    im[k] = a.i;
}

// Twiddle-free radix-4 decimation in frequency as two fused radix-2 steps, so the outputs come
// out in bit-reversed order: y0 = X0, y1 = X2, y2 = X1, y3 = X3 of the 4-point transform.
inline void dif4(Cx a0, Cx a1, Cx a2, Cx a3, Cx& y0, Cx& y1, Cx& y2, Cx& y3) {
    const Cx t0 = a0 + a2, t1 = a0 - a2, t2 = a1 + a3, t3 = timesMinusI(a1 - a3);
    y0 = t0 + t2;
    y1 = t0 - t2;
    y2 = t1 + t3;
    y3 = t1 - t3;
}

// Its transpose, conjugated: from bit-reversed order to the natural order, unscaled.
inline void dit4(Cx b0, Cx b1, Cx b2, Cx b3, Cx& a0, Cx& a1, Cx& a2, Cx& a3) {
    const Cx u0 = b0 + b1, u1 = b0 - b1, u2 = b2 + b3, u3 = timesI(b2 - b3);
    a0 = u0 + u2;
    a1 = u1 + u3;
    a2 = u0 - u2;
    a3 = u1 - u3;
}

// A 4-point butterfly (dif4 or dit4) on each run of four positions of a 16-point block, in place.
template <class Butterfly> inline void eachRunOfFour(double* r, double* i, Butterfly butterfly) {
    for (int g = 0; g < 16; g += 4) {
        Cx y0, y1, y2, y3;
        butterfly(load(r, i, g), load(r, i, g + 1), load(r, i, g + 2), load(r, i, g + 3), y0, y1,
                  y2, y3);
        store(r, i, g, y0);
        store(r, i, g + 1, y1);
        store(r, i, g + 2, y2);
        store(r, i, g + 3, y3);
    }
}

// The transforms run stages of radix R = 4, 8 or 16 (the codelets that end every forward
// transform), each as log2 R fused radix-2 steps of decimation in frequency, so the spectrum
// ends in plain bit-reversed order. A stage over blocks of span L = R Q works on the R values
// at j + m Q (m = 0..R-1) of each block, j = 0..Q-1, and its output at position m is due the
// factor W^(j rev(m)), W = e^(-2 pi i / L), rev the bit reversal over log2 R bits (the
// twiddles of the radix-2 steps, gathered at the end). A stage's table holds for m = 1..R-1 a
// row of Q real parts, then a row of Q imaginary parts.
//
// The forward stages leave these factors to the next stage, which applies them to its inputs:
// a block that is sub-block p of its parent multiplies its input k by row p of the parent's
// table at k (real part w[k], imaginary part w[k + L]); the blocks with p = 0 have none. The
// inverse stages are the forward ones transposed and conjugated: a block multiplies its own
// inputs by conj W^(j rev(m)) and then runs the R-point transform from bit-reversed to natural
// order. Either way a butterfly loads and multiplies first, adds next and stores last: the
// order in which the x87 code keeps fewest values live (a product between the sums and the
// stores costs it about 16 instructions instead of 10).
//
// Q is a compile-time constant so that every row of a block and of a table is a fixed offset
// from one pointer: 32-bit x86 has too few registers for a pointer per row. Each function runs
// `count` consecutive blocks; twiddled forward blocks take consecutive rows of the parent.

template <int Q, bool Twiddled>
void forwardRadix4Blocks(double* r, double* i, const double* w, int count) {
    const int span = 4 * Q;
    for (; count > 0; --count, r += span, i += span) {
        const auto in = [&](int k) {
            const Cx x = load(r, i, k);
            return Twiddled ? times(x, w[k], w[k + span]) : x;
        };
        // The rows of re, im and w never overlap.
#pragma GCC ivdep
        for (int j = 0; j < Q; ++j) {
            Cx y0, y1, y2, y3;
            dif4(in(j), in(j + Q), in(j + 2 * Q), in(j + 3 * Q), y0, y1, y2, y3);
            store(r, i, j, y0);
            store(r, i, j + Q, y1);
            store(r, i, j + 2 * Q, y2);
            store(r, i, j + 3 * Q, y3);
        }
        if (Twiddled) w += 2 * span;
    }
}

// Radix 8: a radix-2 step on positions m and m + 4 with the factors W8^m, then dif4 on each
// half.
template <int Q, bool Twiddled>
void forwardRadix8Blocks(double* r, double* i, const double* w, int count) {
    const int span = 8 * Q;
    for (; count > 0; --count, r += span, i += span) {
#pragma GCC ivdep
        for (int j = 0; j < Q; ++j) {
            Cx x[8];
            for (int m = 0; m < 8; ++m) {
                const int k = j + m * Q;
                x[m] = load(r, i, k);
                if (Twiddled) x[m] = times(x[m], w[k], w[k + span]);
            }
            Cx y0, y1, y2, y3, z0, z1, z2, z3;
            dif4(x[0] + x[4], x[1] + x[5], x[2] + x[6], x[3] + x[7], y0, y1, y2, y3);
            dif4(x[0] - x[4], timesW8(x[1] - x[5]), timesMinusI(x[2] - x[6]),
                 timesW8Cubed(x[3] - x[7]), z0, z1, z2, z3);
            store(r, i, j, y0);
            store(r, i, j + Q, y1);
            store(r, i, j + 2 * Q, y2);
            store(r, i, j + 3 * Q, y3);
            store(r, i, j + 4 * Q, z0);
            store(r, i, j + 5 * Q, z1);
            store(r, i, j + 6 * Q, z2);
            store(r, i, j + 7 * Q, z3);
        }
        if (Twiddled) w += 2 * span;
    }
}

// The constant twiddles of the codelets' first step, W16^(j rev(p)) at position j + 4 p for
// p = 1..3, W16 = e^(-i pi / 8): j = 0: 1; j = 1: W16^2 = W8, W16, W16^3; j = 2: -i, W8, W8^3;
// j = 3: W8^3, W16^3, W16^9 = -W16.
const double kCodeletRe[3][4] = {
    {1, kSqrtHalf, 0, -kSqrtHalf}, {1, kCos8, kSqrtHalf, kSin8}, {1, kSin8, -kSqrtHalf, -kCos8}};
const double kCodeletIm[3][4] = {{0, -kSqrtHalf, -1, -kSqrtHalf},
                                 {0, -kSin8, -kSqrtHalf, -kCos8},
                                 {0, -kCos8, -kSqrtHalf, kSin8}};

// The 16-point transforms that end every forward transform (radix 16, Q = 1): dif4 on the
// positions j + 4 p (stride 4) with the constant twiddles, then dif4 on each run of four.
template <bool Vector, bool Twiddled>
void forwardCodelets(double* r, double* i, const double* w, int count) {
    for (; count > 0; --count, r += 16, i += 16) {
        // Input 0 has the factor 1 in every row: only the vector loop multiplies it.
        const auto in = [&](int k) {
            const Cx x = load(r, i, k);
            return Twiddled && (Vector || k > 0) ? times(x, w[k], w[k + 16]) : x;
        };
        Cx y0, y1, y2, y3;
        if constexpr (Vector) {
#pragma GCC ivdep
#pragma GCC unroll 1
            for (int j = 0; j < 4; ++j) {
                dif4(in(j), in(j + 4), in(j + 8), in(j + 12), y0, y1, y2, y3);
                store(r, i, j, y0);
                store(r, i, j + 4, times(y1, kCodeletRe[0][j], kCodeletIm[0][j]));
                store(r, i, j + 8, times(y2, kCodeletRe[1][j], kCodeletIm[1][j]));
                store(r, i, j + 12, times(y3, kCodeletRe[2][j], kCodeletIm[2][j]));
            }
        } else {
            dif4(in(0), in(4), in(8), in(12), y0, y1, y2, y3);
            store(r, i, 0, y0);
            store(r, i, 4, y1);
            store(r, i, 8, y2);
            store(r, i, 12, y3);
            dif4(in(1), in(5), in(9), in(13), y0, y1, y2, y3);
            store(r, i, 1, y0);
            store(r, i, 5, timesW8(y1));
            store(r, i, 9, times(y2, kCos8, -kSin8));
            store(r, i, 13, times(y3, kSin8, -kCos8));
            dif4(in(2), in(6), in(10), in(14), y0, y1, y2, y3);
            store(r, i, 2, y0);
            store(r, i, 6, timesMinusI(y1));
            store(r, i, 10, timesW8(y2));
            store(r, i, 14, timesW8Cubed(y3));
            dif4(in(3), in(7), in(11), in(15), y0, y1, y2, y3);
            store(r, i, 3, y0);
            store(r, i, 7, timesW8Cubed(y1));
            store(r, i, 11, times(y2, kSin8, -kCos8));
            store(r, i, 15, times(y3, -kCos8, kSin8));
        }
        eachRunOfFour(r, i, [](Cx a, Cx b, Cx c, Cx d, Cx& e, Cx& f, Cx& g, Cx& h) {
            dif4(a, b, c, d, e, f, g, h);
        });
        if (Twiddled) w += 32;
    }
}

// Input m of an inverse block at offset j: loaded, and for m > 0 times the conjugate of its
// stage twiddle (the stage's rows: Re and Im of W^1, then W^2, ...).
template <int Q>
inline Cx inverseInput(const double* r, const double* i, const double* tw, int j, int m) {
    const Cx x = load(r, i, j + m * Q);
    return m > 0 ? timesConj(x, tw[j + (2 * m - 2) * Q], tw[j + (2 * m - 1) * Q]) : x;
}

// UpperHalfOnly (last stage only, span N): positions 0 and 1, the lower half, are not written.
template <int Q, bool UpperHalfOnly>
void inverseRadix4Blocks(double* r, double* i, const double* tw, int count) {
    for (; count > 0; --count, r += 4 * Q, i += 4 * Q) {
        const auto in = [&](int j, int m) { return inverseInput<Q>(r, i, tw, j, m); };
#pragma GCC ivdep
        for (int j = 0; j < Q; ++j) {
            Cx a0, a1, a2, a3;
            dit4(in(j, 0), in(j, 1), in(j, 2), in(j, 3), a0, a1, a2, a3);
            if (!UpperHalfOnly) {
                store(r, i, j, a0);
                store(r, i, j + Q, a1);
            }
            store(r, i, j + 2 * Q, a2);
            store(r, i, j + 3 * Q, a3);
        }
    }
}

// dit4 on each half, then the radix-2 step with conj W8^m. UpperHalfOnly writes positions 4..7
// only.
template <int Q, bool UpperHalfOnly>
void inverseRadix8Blocks(double* r, double* i, const double* tw, int count) {
    for (; count > 0; --count, r += 8 * Q, i += 8 * Q) {
        const auto in = [&](int j, int m) { return inverseInput<Q>(r, i, tw, j, m); };
#pragma GCC ivdep
        for (int j = 0; j < Q; ++j) {
            Cx e[4], f[4];
            dit4(in(j, 0), in(j, 1), in(j, 2), in(j, 3), e[0], e[1], e[2], e[3]);
            dit4(in(j, 4), in(j, 5), in(j, 6), in(j, 7), f[0], f[1], f[2], f[3]);
            f[1] = timesConjW8(f[1]);
            f[2] = timesI(f[2]);
            f[3] = timesConjW8Cubed(f[3]);
            if (!UpperHalfOnly)
                for (int m = 0; m < 4; ++m)
                    store(r, i, j + m * Q, e[m] + f[m]);
            for (int m = 0; m < 4; ++m)
                store(r, i, j + (m + 4) * Q, e[m] - f[m]);
        }
    }
}

// The 16-point inverse transforms that start every inverse: dit4 on each run of four, then
// dit4 on the positions j + 4 p with the conjugated constant twiddles. UpperHalfOnly (N = 16)
// writes positions 8..15 only. FromProduct: the input is the product of source's factors.
template <bool Vector, bool UpperHalfOnly, bool FromProduct>
void inverseCodelets(double* r, double* i, PlanarProductSource source, int count) {
    for (; count > 0; --count, r += 16, i += 16) {
        Cx a0, a1, a2, a3;
        if constexpr (FromProduct) {
            const double *xr = source.xr, *xi = source.xi, *gr = source.gr, *gi = source.gi;
            const auto product = [=](int k) {
                return Cx{xr[k] * gr[k] - xi[k] * gi[k], xr[k] * gi[k] + xi[k] * gr[k]};
            };
            for (int g = 0; g < 16; g += 4) {
                Cx y0, y1, y2, y3;
                dit4(product(g), product(g + 1), product(g + 2), product(g + 3), y0, y1, y2, y3);
                store(r, i, g, y0);
                store(r, i, g + 1, y1);
                store(r, i, g + 2, y2);
                store(r, i, g + 3, y3);
            }
            source.xr += 16;
            source.xi += 16;
            source.gr += 16;
            source.gi += 16;
        } else {
            eachRunOfFour(r, i, [](Cx a, Cx b, Cx c, Cx d, Cx& e, Cx& f, Cx& g, Cx& h) {
                dit4(a, b, c, d, e, f, g, h);
            });
        }
        const auto at = [&](int k) { return load(r, i, k); };
        const auto finish = [&](int j) {
            if (!UpperHalfOnly) {
                store(r, i, j, a0);
                store(r, i, j + 4, a1);
            }
            store(r, i, j + 8, a2);
            store(r, i, j + 12, a3);
        };
        if constexpr (Vector) {
#pragma GCC ivdep
#pragma GCC unroll 1
            for (int j = 0; j < 4; ++j) {
                dit4(at(j), timesConj(at(j + 4), kCodeletRe[0][j], kCodeletIm[0][j]),
                     timesConj(at(j + 8), kCodeletRe[1][j], kCodeletIm[1][j]),
                     timesConj(at(j + 12), kCodeletRe[2][j], kCodeletIm[2][j]), a0, a1, a2, a3);
                finish(j);
            }
        } else {
            dit4(at(0), at(4), at(8), at(12), a0, a1, a2, a3);
            finish(0);
            dit4(at(1), timesConjW8(at(5)), timesConj(at(9), kCos8, -kSin8),
                 timesConj(at(13), kSin8, -kCos8), a0, a1, a2, a3);
            finish(1);
            dit4(at(2), timesI(at(6)), timesConjW8(at(10)), timesConjW8Cubed(at(14)), a0, a1, a2,
                 a3);
            finish(2);
            dit4(at(3), timesConjW8Cubed(at(7)), timesConj(at(11), kSin8, -kCos8),
                 timesConj(at(15), -kCos8, kSin8), a0, a1, a2, a3);
            finish(3);
        }
    }
}

// Table length of a stage of radix 2^log2R and quarter q (none for the codelets).
constexpr int tableLength(int log2R, int q) {
    return q > 1 ? 2 * ((1 << log2R) - 1) * q : 0;
}

// The stages of one transform size, span N first, as log2 of their radices; the last is 4,
// the codelets. Radix 8 needs fewer multiplications than radix 4 but more registers; 8 and 8
// suit 1024 points.
template <int... Log2Radices> struct Plan {
    static constexpr int kStages = sizeof...(Log2Radices);
    static constexpr int kLog2Radix[kStages] = {Log2Radices...};
};

using Plan16 = Plan<4>;
using Plan64 = Plan<2, 4>;
using Plan256 = Plan<2, 2, 4>;
using Plan1024 = Plan<3, 3, 4>;
using Plan4096 = Plan<2, 3, 3, 4>;

struct PlanView {
    const int* log2Radix;
    int stages;
    int tableLength; // of all stages together
};

template <int... Log2Radices> constexpr PlanView viewOf(Plan<Log2Radices...>) {
    using P = Plan<Log2Radices...>;
    int span = 1 << (0 + ... + Log2Radices);
    int length = 0;
    for (int s = 0; s < P::kStages; ++s) {
        span >>= P::kLog2Radix[s];
        length += tableLength(P::kLog2Radix[s], span);
    }
    return {P::kLog2Radix, P::kStages, length};
}

// The tables of N points fill 2 N - 32 values, within the 2 N of twiddles_.
static_assert(viewOf(Plan64()).tableLength <= 2 * 64 && viewOf(Plan256()).tableLength <= 2 * 256 &&
                  viewOf(Plan1024()).tableLength <= 2 * 1024 &&
                  viewOf(Plan4096()).tableLength <= 2 * 4096,
              "a plan's tables overflow twiddles_");

PlanView planFor(int log2Size) {
    switch (log2Size) {
    case 6:
        return viewOf(Plan64());
    case 8:
        return viewOf(Plan256());
    case 10:
        return viewOf(Plan1024());
    case 12:
        return viewOf(Plan4096());
    default:
        return viewOf(Plan16());
    }
}

template <bool Vector, int Log2R, int Q, bool Twiddled>
void forwardBlocks(double* r, double* i, const double* w, int count) {
    if constexpr (Log2R == 2)
        forwardRadix4Blocks<Q, Twiddled>(r, i, w, count);
    else if constexpr (Log2R == 3)
        forwardRadix8Blocks<Q, Twiddled>(r, i, w, count);
    else
        forwardCodelets<Vector, Twiddled>(r, i, w, count);
}

// The forward stages from span Span down, after a parent stage of radix 2^ParentLog2R (0: none)
// whose table is parentTw; tw is the table of the first of them.
template <bool Vector, int Span, int ParentLog2R, int Log2R, int... Rest>
void forwardStages(double* re, double* im, const double* parentTw, const double* tw, int size) {
    constexpr int kQ = Span >> Log2R;
    if constexpr (ParentLog2R == 0) {
        forwardBlocks<Vector, Log2R, kQ, false>(re, im, parentTw, size / Span);
    } else {
        constexpr int kChildren = 1 << ParentLog2R;
        for (int start = 0; start < size; start += kChildren * Span) {
            forwardBlocks<Vector, Log2R, kQ, false>(re + start, im + start, parentTw, 1);
            forwardBlocks<Vector, Log2R, kQ, true>(re + start + Span, im + start + Span, parentTw,
                                                   kChildren - 1);
        }
    }
    if constexpr (sizeof...(Rest) > 0)
        forwardStages<Vector, kQ, Log2R, Rest...>(re, im, tw, tw + tableLength(Log2R, kQ), size);
}

template <bool Vector, int Log2R, int Q, bool UpperHalfOnly, bool FromProduct>
void inverseBlocks(double* r, double* i, const double* tw, PlanarProductSource source, int count) {
    if constexpr (Log2R == 2)
        inverseRadix4Blocks<Q, UpperHalfOnly>(r, i, tw, count);
    else if constexpr (Log2R == 3)
        inverseRadix8Blocks<Q, UpperHalfOnly>(r, i, tw, count);
    else
        inverseCodelets<Vector, UpperHalfOnly, FromProduct>(r, i, source, count);
}

// The inverse stages from span Span down, run in the reverse order: the smaller spans first
// (the codelets, which alone read a product source). Only the stage of span N (TopStage) may
// skip the lower half.
template <bool Vector, bool UpperHalfOnly, bool FromProduct, bool TopStage, int Span, int Log2R,
          int... Rest>
void inverseStages(double* re, double* im, const double* tw, PlanarProductSource source, int size) {
    constexpr int kQ = Span >> Log2R;
    if constexpr (sizeof...(Rest) > 0)
        inverseStages<Vector, UpperHalfOnly, FromProduct, false, kQ, Rest...>(
            re, im, tw + tableLength(Log2R, kQ), source, size);
    inverseBlocks<Vector, Log2R, kQ, UpperHalfOnly && TopStage, FromProduct>(re, im, tw, source,
                                                                             size / Span);
}

template <bool Vector, int... Log2Radices>
void runForward(Plan<Log2Radices...>, double* re, double* im, const double* tw, int size) {
    forwardStages<Vector, (1 << (0 + ... + Log2Radices)), 0, Log2Radices...>(re, im, nullptr, tw,
                                                                             size);
}

template <bool Vector, bool UpperHalfOnly, bool FromProduct, int... Log2Radices>
void runInverseStages(Plan<Log2Radices...>, double* re, double* im, const double* tw,
                      PlanarProductSource source, int size) {
    inverseStages<Vector, UpperHalfOnly, FromProduct, true, (1 << (0 + ... + Log2Radices)),
                  Log2Radices...>(re, im, tw, source, size);
}

} // namespace

template <int MaxSize, bool VectorCodelets>
SizedPlanarFft<MaxSize, VectorCodelets>::SizedPlanarFft(int size) {
    for (double& t : twiddles_)
        t = 0.0;
    for (std::uint16_t& r : reversed_)
        r = 0;
    const int log2 = log2OfPowerOfFour(size, MaxSize);
    if (log2 < 0) return;
    size_ = size;
    log2Size_ = log2;
    for (int k = 0; k < size_; ++k) {
        int reversed = 0;
        for (int b = 0; b < log2Size_; ++b)
            reversed |= ((k >> b) & 1) << (log2Size_ - 1 - b);
        reversed_[k] = static_cast<std::uint16_t>(reversed);
    }
    // Angles from the exact index m / N, so every stage gets correctly rounded values.
    const PlanView plan = planFor(log2Size_);
    double* tw = twiddles_;
    int span = size_;
    for (int s = 0; s < plan.stages; ++s) {
        const int bits = plan.log2Radix[s];
        const int quarter = span >> bits; // Q
        const int step = size_ / span;    // W_span^j == W_N^(j * step)
        if (quarter > 1) {
            for (int m = 1; m < (1 << bits); ++m) {
                int reversedM = 0;
                for (int b = 0; b < bits; ++b)
                    reversedM |= ((m >> b) & 1) << (bits - 1 - b);
                double* re = tw + 2 * (m - 1) * quarter;
                double* im = re + quarter;
                for (int j = 0; j < quarter; ++j) {
                    const double angle = kTwoPi * static_cast<double>(j * reversedM * step) / size_;
                    re[j] = std::cos(angle);
                    im[j] = -std::sin(angle);
                }
            }
        }
        tw += tableLength(bits, quarter);
        span = quarter;
    }
}

template <int MaxSize, bool VectorCodelets>
void SizedPlanarFft<MaxSize, VectorCodelets>::forward(double* re, double* im) const {
    if (re == nullptr || im == nullptr || size_ == 0) return;
#if defined(__SSE2_MATH__) // aligned arrays (see the header): loads fold into the arithmetic
    re = static_cast<double*>(__builtin_assume_aligned(re, 16));
    im = static_cast<double*>(__builtin_assume_aligned(im, 16));
#endif
    switch (log2Size_) {
    case 4:
        runForward<VectorCodelets>(Plan16(), re, im, twiddles_, size_);
        break;
    case 6:
        runForward<VectorCodelets>(Plan64(), re, im, twiddles_, size_);
        break;
    case 8:
        runForward<VectorCodelets>(Plan256(), re, im, twiddles_, size_);
        break;
    case 10:
        if constexpr (MaxSize >= 1024)
            runForward<VectorCodelets>(Plan1024(), re, im, twiddles_, size_);
        break;
    case 12:
        if constexpr (MaxSize >= 4096)
            runForward<VectorCodelets>(Plan4096(), re, im, twiddles_, size_);
        break;
    }
}

template <int MaxSize, bool VectorCodelets>
void SizedPlanarFft<MaxSize, VectorCodelets>::inverse(double* re, double* im) const {
    runInverse<false, false>(re, im, {});
}

template <int MaxSize, bool VectorCodelets>
void SizedPlanarFft<MaxSize, VectorCodelets>::inverseUpperHalf(double* re, double* im) const {
    runInverse<true, false>(re, im, {});
}

template <int MaxSize, bool VectorCodelets>
void SizedPlanarFft<MaxSize, VectorCodelets>::inverseUpperHalfOfProduct(
    const double* xr, const double* xi, const double* gr, const double* gi, double* re,
    double* im) const {
    if (xr == nullptr || xi == nullptr || gr == nullptr || gi == nullptr) return;
    runInverse<true, true>(re, im, {xr, xi, gr, gi});
}

template <int MaxSize, bool VectorCodelets>
template <bool UpperHalfOnly, bool FromProduct>
void SizedPlanarFft<MaxSize, VectorCodelets>::runInverse(double* re, double* im,
                                                         PlanarProductSource source) const {
    if (re == nullptr || im == nullptr || size_ == 0) return;
#if defined(__SSE2_MATH__) // aligned arrays (see the header): loads fold into the arithmetic
    re = static_cast<double*>(__builtin_assume_aligned(re, 16));
    im = static_cast<double*>(__builtin_assume_aligned(im, 16));
    if constexpr (FromProduct) {
        source.xr = static_cast<const double*>(__builtin_assume_aligned(source.xr, 16));
        source.xi = static_cast<const double*>(__builtin_assume_aligned(source.xi, 16));
        source.gr = static_cast<const double*>(__builtin_assume_aligned(source.gr, 16));
        source.gi = static_cast<const double*>(__builtin_assume_aligned(source.gi, 16));
    }
#endif
    constexpr bool kUpper = UpperHalfOnly;
    constexpr bool kVector = VectorCodelets;
    switch (log2Size_) {
    case 4:
        runInverseStages<kVector, kUpper, FromProduct>(Plan16(), re, im, twiddles_, source, size_);
        break;
    case 6:
        runInverseStages<kVector, kUpper, FromProduct>(Plan64(), re, im, twiddles_, source, size_);
        break;
    case 8:
        runInverseStages<kVector, kUpper, FromProduct>(Plan256(), re, im, twiddles_, source, size_);
        break;
    case 10:
        if constexpr (MaxSize >= 1024)
            runInverseStages<kVector, kUpper, FromProduct>(Plan1024(), re, im, twiddles_, source,
                                                           size_);
        break;
    case 12:
        if constexpr (MaxSize >= 4096)
            runInverseStages<kVector, kUpper, FromProduct>(Plan4096(), re, im, twiddles_, source,
                                                           size_);
        break;
    }
}

template class SizedPlanarFft<1024>;
template class SizedPlanarFft<4096>;
#if defined(__SSE2_MATH__)
template class SizedPlanarFft<1024, false>;
template class SizedPlanarFft<4096, false>;
#endif

} // namespace qv

#pragma once

// Straightforward transforms used only as oracles by the tests and as the baseline of the FFT
// benchmark. Same conventions as qv::Fft: interleaved (re, im), forward e^(-2 pi i k n / N)
// unscaled, inverse e^(+...) scaled by 1/N.

#include <cmath>
#include <utility>
#include <vector>

namespace qv {
namespace reference {

// O(N^2) discrete Fourier transform; the twiddle angle uses (k * n) mod N so it stays exact.
inline std::vector<double> dft(const std::vector<double>& in, bool inverse) {
    const int n = static_cast<int>(in.size() / 2);
    const double sign = inverse ? 1.0 : -1.0;
    const double twoPi = 6.283185307179586476925;
    std::vector<double> out(in.size(), 0.0);
    for (int k = 0; k < n; ++k) {
        double re = 0.0, im = 0.0;
        for (int j = 0; j < n; ++j) {
            const long long m = (static_cast<long long>(k) * j) % n;
            const double angle = sign * twoPi * static_cast<double>(m) / n;
            const double c = std::cos(angle), s = std::sin(angle);
            re += in[2 * j] * c - in[2 * j + 1] * s;
            im += in[2 * j] * s + in[2 * j + 1] * c;
        }
        out[2 * k] = inverse ? re / n : re;
        out[2 * k + 1] = inverse ? im / n : im;
    }
    return out;
}

// Textbook iterative radix-2 FFT (bit reversal first, twiddles computed per butterfly group).
inline void radix2Fft(double* data, int n, bool inverse) {
    for (int i = 1, j = 0; i < n; ++i) {
        int bit = n >> 1;
        for (; j & bit; bit >>= 1)
            j ^= bit;
        j ^= bit;
        if (i < j) {
            std::swap(data[2 * i], data[2 * j]);
            std::swap(data[2 * i + 1], data[2 * j + 1]);
        }
    }
    const double sign = inverse ? 1.0 : -1.0;
    for (int len = 2; len <= n; len <<= 1) {
        const double angle = sign * 6.283185307179586476925 / len;
        for (int start = 0; start < n; start += len) {
            for (int k = 0; k < len / 2; ++k) {
                const double wr = std::cos(angle * k), wi = std::sin(angle * k);
                double* a = data + 2 * (start + k);
                double* b = data + 2 * (start + k + len / 2);
                const double br = b[0] * wr - b[1] * wi;
                const double bi = b[0] * wi + b[1] * wr;
                b[0] = a[0] - br;
                b[1] = a[1] - bi;
                a[0] += br;
                a[1] += bi;
            }
        }
    }
    if (inverse)
        for (int i = 0; i < 2 * n; ++i)
            data[i] /= n;
}

} // namespace reference
} // namespace qv

#include "dsp/CrossoverStage.h"

#include <algorithm>

namespace qv {

CrossoverStage::CrossoverStage() {
    fullReset();
}

// With Z the transform of z = L + iR over the two blocks, the channel spectra are
//   XL[k] = (Z[k] + conj Z[N-k]) / 2,   XR[k] = (Z[k] - conj Z[N-k]) / 2i.
// For one channel X and two of its filters Ha, Hb (spectra of real taps, so X, Ha and Hb are
// conjugate-symmetric) the inverse transform of W = X Ha + i X Hb carries the two filtered
// signals in its real and imaginary parts, and W[N-k] = conj(X Ha)[k] + i conj(X Hb)[k], so
// only bins 0..N/2 need products.
void CrossoverStage::filterBlock() {
    const int n = kFftSize;
    std::copy(overlap_, overlap_ + 2 * kHop, spectrum_);
    std::copy(input_, input_ + 2 * kHop, spectrum_ + 2 * kHop);
    std::copy(input_, input_ + 2 * kHop, overlap_);
    fft_.forward(spectrum_);

    for (int c = 0; c < kChannels; ++c) {
        for (int pair = 0; pair < kFilters / 2; ++pair) {
            const double* ha = banks_[c].filterSpectrum(2 * pair + 1);
            const double* hb = banks_[c].filterSpectrum(2 * pair + 2);
            for (int k = 0; k <= n / 2; ++k) {
                const int mirror = (n - k) & (n - 1);
                const double zr = spectrum_[2 * k], zi = spectrum_[2 * k + 1];
                const double mr = spectrum_[2 * mirror], mi = spectrum_[2 * mirror + 1];
                double xr, xi;
                if (c == 0) {
                    xr = 0.5 * (zr + mr);
                    xi = 0.5 * (zi - mi);
                } else {
                    xr = 0.5 * (zi + mi);
                    xi = 0.5 * (mr - zr);
                }
                const double ar = xr * ha[2 * k] - xi * ha[2 * k + 1];
                const double ai = xr * ha[2 * k + 1] + xi * ha[2 * k];
                const double br = xr * hb[2 * k] - xi * hb[2 * k + 1];
                const double bi = xr * hb[2 * k + 1] + xi * hb[2 * k];
                work_[2 * k] = ar - bi;
                work_[2 * k + 1] = ai + br;
                if (mirror != k) {
                    work_[2 * mirror] = ar + bi;
                    work_[2 * mirror + 1] = br - ai;
                }
            }
            fft_.inverse(work_);
            // Points kHop..n-1 are free of circular wrap-around (the taps span kHop samples).
            const int column = c * kFilters + 2 * pair;
            for (int m = 0; m < kHop; ++m) {
                output_[m][column] = work_[2 * (kHop + m)];
                output_[m][column + 1] = work_[2 * (kHop + m) + 1];
            }
        }
    }
}

void CrossoverStage::clear() {
    for (CrossoverBank& bank : banks_)
        bank.clear();
    std::fill(input_, input_ + 2 * kHop, 0.0);
    std::fill(overlap_, overlap_ + 2 * kHop, 0.0);
    for (auto& frame : output_)
        std::fill(frame, frame + kChannels * kFilters, 0.0);
    std::fill(spectrum_, spectrum_ + 2 * kFftSize, 0.0);
    std::fill(work_, work_ + 2 * kFftSize, 0.0);
}

void CrossoverStage::fullReset() {
    clear();
    position_ = 0;
}

} // namespace qv

#pragma once

namespace qv {

// A band's linked gain at frame i from the raw gains of the band and its neighbours:
// upper * above[i] + centre * own[i] + lower * below[i], summed left to right. The first band has
// no band above (Above false: that term is left out, above unused), the last none below. The
// smoother reads it as its source; the x87 build runs its loops on it in assembly
// (LinkedSmootherX87). Any thread.
template <bool Above, bool Below> struct LinkedGain {
    const double* above; // the band above's raw gains (Above)
    const double* own;   // the band's raw gains
    const double* below; // the band below's raw gains (Below)
    double upper;        // weight of the band above
    double centre;       // weight of the band itself
    double lower;        // weight of the band below

    double operator()(int i) const {
        if constexpr (Above && Below)
            return upper * above[i] + centre * own[i] + lower * below[i];
        else if constexpr (Above)
            return upper * above[i] + centre * own[i];
        else
            return centre * own[i] + lower * below[i];
    }
};

} // namespace qv

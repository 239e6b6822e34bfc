// The ten compressor quantities of the settings panel's compressor pages, in the order of the
// matrix page's items, and where each band keeps them among the effect's parameters.
#pragma once

#include "params/ParameterIndex.h"

namespace qv {

enum class CompressorQuantity : int {
    InputLevel = 0,
    OutputLevel,
    Threshold,
    Ratio,
    AttackCurve,
    AttackTime,
    ReleaseMode,
    AutoReleaseType,
    ReleaseTime, // manual release time ("cpN_Rel_m")
    ReleaseDepth // automatic release depth ("cpN_Rel_a")
};

class CompressorBands {
public:
    static constexpr int kBandCount = kNumBands;
    static constexpr int kQuantityCount = 10;

    // The parameter index of quantity q of band 1..5 (band 1 the highest); -1 for a band out
    // of range. Any thread.
    static int parameter(CompressorQuantity q, int band);
    // The band a SelectedChannel value names: below 0.2 band 5 ... 0.8 and above band 1 (NaN:
    // band 1).
    static int selectedBand(float selectedChannel);
    // The quantity a MatrixItem value names: [k / 10, (k + 1) / 10) is item k, 0.9 and above
    // item 9, below 0.1 (and NaN) item 0.
    static CompressorQuantity matrixQuantity(float matrixItem);
    // The MatrixItem code written for quantity q, by the matrix page's tiles and the
    // multi-control column's rows: 0 for item 0, k / 10 + 0.01 for items 1..8, 1 for item 9
    // (matrixQuantity reads each back as q).
    static float matrixItem(CompressorQuantity q);
    // On/off quantities are toggled, not dragged.
    static bool isSwitch(CompressorQuantity q);
};

} // namespace qv

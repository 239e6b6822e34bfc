#include "editor/CompressorQuantity.h"

namespace qv {

int CompressorBands::parameter(CompressorQuantity q, int band) {
    if (band < 1 || band > kBandCount) return -1;
    namespace param = param;
    switch (q) {
    case CompressorQuantity::InputLevel:
        return param::inLevelIndex(band);
    case CompressorQuantity::OutputLevel:
        return param::outLevelIndex(band);
    case CompressorQuantity::Threshold:
        return param::threshIndex(band);
    case CompressorQuantity::Ratio:
        return param::ratioIndex(band);
    case CompressorQuantity::AttackCurve:
        return param::atkCurveIndex(band);
    case CompressorQuantity::AttackTime:
        return param::atkIndex(band);
    case CompressorQuantity::ReleaseMode:
        return param::relModeIndex(band);
    case CompressorQuantity::AutoReleaseType:
        return param::autoRelTypeIndex(band);
    case CompressorQuantity::ReleaseTime:
        return param::relMIndex(band);
    case CompressorQuantity::ReleaseDepth:
        return param::relAIndex(band);
    }
    return -1;
}

int CompressorBands::selectedBand(float c) {
    if (c < 0.2f) return 5;
    if (c < 0.4f) return 4;
    if (c < 0.6f) return 3;
    if (c < 0.8f) return 2;
    return 1;
}

CompressorQuantity CompressorBands::matrixQuantity(float m) {
    // Single-precision tenths: each code of matrixItem lies inside its item's tenth.
    static constexpr float kBounds[kQuantityCount - 1] = {0.1f, 0.2f, 0.3f, 0.4f, 0.5f,
                                                          0.6f, 0.7f, 0.8f, 0.9f};
    int item = 0;
    while (item < kQuantityCount - 1 && m >= kBounds[item])
        ++item;
    return static_cast<CompressorQuantity>(item);
}

float CompressorBands::matrixItem(CompressorQuantity q) {
    static constexpr float kCodes[kQuantityCount] = {0.0f,  0.11f, 0.21f, 0.31f, 0.41f,
                                                     0.51f, 0.61f, 0.71f, 0.81f, 1.0f};
    const int item = static_cast<int>(q);
    return item >= 0 && item < kQuantityCount ? kCodes[item] : kCodes[0];
}

bool CompressorBands::isSwitch(CompressorQuantity q) {
    return q == CompressorQuantity::AttackCurve || q == CompressorQuantity::ReleaseMode ||
           q == CompressorQuantity::AutoReleaseType;
}

} // namespace qv

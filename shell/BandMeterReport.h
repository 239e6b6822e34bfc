// Our own extension of the VST 2 interface: a host that knows it (our renderer) asks for the band
// meter readings the editor shows, through the opcode VST 2 leaves to each vendor:
//
//   dispatcher(effect, effVendorSpecific, kBandMeterQuery, 0, &report, 0.0f)
//
// with report.size = sizeof(BandMeterReport) and report.version = kBandMeterReportVersion set by
// the caller. The plug-in fills the rest and answers 1; a size or version it does not know, any
// other index, and every other plug-in answer 0. Readings are what the meters last published
// (the editor's scale: amplitude or gain times 0.1, so 0.1 is full scale or unity gain); ask
// between process calls for readings of one period. Thread: any (while the audio thread
// processes, each reading is the last period's or the next's).
#pragma once

#include <cstdint>

// 'q' 'v' 'b' 'm', as the index of effVendorSpecific.
constexpr std::int32_t kBandMeterQuery = ('q' << 24) | ('v' << 16) | ('b' << 8) | 'm';
constexpr std::int32_t kBandMeterReportVersion = 1;

struct BandMeterReport {
    static constexpr int kMaxBands = 8;
    static constexpr float kUnityReading = 0.1f; // a gain reading of 1.0 (0 dB)

    std::int32_t size = sizeof(BandMeterReport);    // set by the caller
    std::int32_t version = kBandMeterReportVersion; // set by the caller
    std::int32_t bands = 0;                         // filled: bands reported, 1 = highest
    float gain[kMaxBands] = {};                     // filled: gain reading of band 1..bands
    float level[kMaxBands] = {};                    // filled: level reading of band 1..bands
};

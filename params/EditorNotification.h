#pragma once

// Which editor view a parameter change refreshes, and with which redraw hint: the contract
// between the effect's setParameter and the editor's readouts.
//
// After storing a value (and only when an editor exists) the effect asks editorNotificationFor
// with the page read from parameter 87 after the change (panelPageOf), then:
//   CrossoverStrip: postUpdateCrossoverStrip
//   LinkStrip:      postUpdateLinkStrip
//   OutputStage:    outputHint = hint, then postUpdateOutputStage
//   Panel:          panelHint = hint, then postUpdatePanel
//   None:           nothing
//
// Thread: pure function, any thread.

namespace qv {

enum class EditorRefresh { None, CrossoverStrip, LinkStrip, OutputStage, Panel };

struct EditorNotification {
    EditorRefresh refresh; // the view to refresh
    int hint;              // outputHint (OutputStage) or panelHint (Panel) value; 0 otherwise
};

// Notification for a change of parameter `index` while the panel shows page 0..6 (A..G).
// Unknown indices and pages give EditorRefresh::None.
EditorNotification editorNotificationFor(int index, int page);

// The redraw hints: what a view draws when the effect's outputHint (output stage view) or
// panelHint (settings panel, by page) holds the value. 0 draws the whole view everywhere.
namespace hint {
constexpr int kAll = 0;
constexpr int kMeterReadings = 1; // new meter readings: output stage view, pages A and B

// The output stage view.
namespace output {
constexpr int kMeters = kMeterReadings;
constexpr int kMaster = 2; // "MasterOut" readout
constexpr int kDry = 3;    // "Dry out" box
constexpr int kWet = 4;    // "Wet out" box
} // namespace output

// Page A, compressor settings of the selected band.
namespace compressor {
constexpr int kMeter = kMeterReadings;
constexpr int kThreshold = 2; // marker and box
constexpr int kRatio = 3;
constexpr int kInputLevel = 4;
constexpr int kOutputLevel = 5;
constexpr int kAttackTime = 6;
constexpr int kReleaseTime = 7;
constexpr int kReleaseDepth = 8;
constexpr int kAttackCurve = 9;
constexpr int kReleaseMode = 10;
constexpr int kAutoReleaseType = 11;
} // namespace compressor

// Page B, the five bands.
namespace band {
constexpr int kMeters = kMeterReadings;
constexpr int kMeterSwitch = 2;
constexpr int kView = 3;
constexpr int kInputLevel = 4;
constexpr int kOutputLevel = 5;
constexpr int kThreshold = 6;
constexpr int kRatio = 7;
constexpr int kAttackTime = 8;
constexpr int kReleaseTime = 9;
constexpr int kReleaseDepth = 10;
constexpr int kAttackCurve = 11;
constexpr int kReleaseMode = 12;
constexpr int kAutoReleaseType = 13;
} // namespace band

// Page C, the limiter.
namespace limiter {
constexpr int kPower = 1;
constexpr int kClip = 2;
constexpr int kCeiling = 3;
constexpr int kReleaseSwitch = 4;
constexpr int kReleaseDepth = 5;
constexpr int kReleaseTime = 6;
} // namespace limiter

// Page D, the crossover filter.
namespace filter {
constexpr int kFilterType = 1;
constexpr int kCutoffCurve = 2;
} // namespace filter

// Page E, the spectrum analyser.
namespace analyser {
constexpr int kFrame = 1; // a new analyser copy
constexpr int kPower = 2;
constexpr int kCurveMode = 3;
} // namespace analyser

// Page F, the band matrix.
namespace matrix {
constexpr int kItem = 1;
constexpr int kChannel = 2;
constexpr int kValues = 10; // a band quantity: the band boxes (drawn on every hint)
} // namespace matrix
} // namespace hint

// A view draws the one element its hint names, so a second element changed before the first
// was drawn would leave the first stale: the two then become this hint, which every view draws
// as its whole view, like hint 0.
constexpr int kHintWholeView = 256;

// The hint to store when a change asks for `incoming` while `pending` is stored; `undrawn`: a
// change's hint is stored and its view has not drawn since (a hint the metering stored is
// never undrawn: readings are redrawn continuously and may simply be replaced).
// Thread: pure function, any thread.
int mergeHint(int pending, bool undrawn, int incoming);

} // namespace qv

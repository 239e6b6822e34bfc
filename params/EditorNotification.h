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

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

} // namespace qv

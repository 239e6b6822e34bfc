// The plug-in's editor: a fixed 785 x 570 bitmap-skinned window built on open and torn down on
// close: the background artwork, the custom views (output stage, crossover strip, link strip,
// settings panel, multi-control column), each redrawn by its refresh flag 1..5, and the stock
// toolkit controls (page selector, monitor switch and the ten band switches) bound to their
// parameters.
#pragma once

#include "params/ParameterIndex.h"

#include "editor/PluginEditor.h"
#include "gui/ControlListener.h"

#include <atomic>
#include <cstdint>

namespace qv {

class Bitmap;
class Control;
class SegmentSelector;
class ToggleButton;
class View;

class MultibandEditor : public PluginEditor, public ControlListener {
public:
    static constexpr int kBandToggleCount = 2 * kNumBands;
    // Parameters of the band switches: power switches of bands 1..5, then their compressor
    // switches.
    static constexpr VstInt32 kBandToggleTags[kBandToggleCount] = {
        param::pwSwIndex(1),   param::pwSwIndex(2),   param::pwSwIndex(3),   param::pwSwIndex(4),
        param::pwSwIndex(5),   param::compSwIndex(1), param::compSwIndex(2), param::compSwIndex(3),
        param::compSwIndex(4), param::compSwIndex(5)};
    // Every stock control's tag: the band switches, then the monitor and the page selector.
    static constexpr int kStockControlCount = kBandToggleCount + 2;

    // Loads the background and sets the editor rectangle from its size. UI thread.
    explicit MultibandEditor(AudioEffect* effect);
    ~MultibandEditor() override;

    // Builds the frame, the background and the controls inside the host's window; returns 1.
    VstIntPtr open(void* window) override;
    // Destroys the frame with every view and clears the effect's transient editor state.
    void close() override;
    // Refresh handlers 1..5: redraw the named custom view, when it exists.
    void updateOutputStage() override;
    void updateCrossoverStrip() override;
    void updateLinkStrip() override;
    void updatePanel() override;
    void updateMultiControl() override;
    // After the effect stored a parameter (any thread). On the thread that opened the editor it
    // resynchronises a bound stock control from the effect and redraws it at once. On any other
    // thread (host automation, audio) it touches no control and no GDI, since close may be
    // deleting them: it only records the control, for refresh handler 0. Then requests refresh 0.
    void setParameter(VstInt32 index, float value) override;
    // Refresh handler 0 (UI thread): the stock controls recorded by setParameter on other
    // threads take the effect's values and are redrawn.
    void update() override;
    // A stock control changed by the user: the effect records it with host notification.
    void valueChanged(DrawContext* context, Control* control) override;

    bool isEditorOpen() const { return isOpen_.load(std::memory_order_acquire) != 0; }
    // True when a stock control waits for its resynchronisation on the UI thread.
    bool isControlPending(VstInt32 tag) const;
    // The stock control bound to tag, or null (closed, or no such control).
    Control* findControl(VstInt32 tag) const;
    // The custom view served by refresh flag 1..5, or null (closed, not made, other flag).
    View* findCustomView(int refreshFlag) const;

private:
    // Adds a custom view to the frame; the view, or null when it could not be made or added.
    View* addCustomView(View* view);
    void buildControls();
    void redrawView(View* view);
    // Tag of stock control slot 0..kStockControlCount-1, and the slot of a tag or -1.
    static VstInt32 stockTag(int slot);
    static int stockSlot(VstInt32 tag);
    // Sets the control's value from the effect and redraws it at once. UI thread.
    void resynchronise(Control* control);

    // Custom views (made by their own classes; null until then and while closed).
    View* outputStage_ = nullptr;
    View* crossoverStrip_ = nullptr;
    View* linkStrip_ = nullptr;
    View* settingsPanel_ = nullptr;
    View* multiControl_ = nullptr;
    SegmentSelector* pageSelector_ = nullptr;          // PanelPage
    ToggleButton* monitor_ = nullptr;                  // "Monitor"
    ToggleButton* bandToggles_[kBandToggleCount] = {}; // tags as kBandToggleTags
    Bitmap* background_ = nullptr;                     // 10001, held for the editor's life
    std::atomic<unsigned char> isOpen_{0};             // 1 between open and close
    std::atomic<unsigned long> uiThread_{0};           // id of the thread that opened the editor
    std::atomic<std::uint32_t> pendingControls_{0}; // bit per stock slot changed off the UI thread
};

} // namespace qv

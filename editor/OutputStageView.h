// The editor's right-hand column: four output meter bars (peak and RMS of both channels), two
// peak-hold readouts, the "MasterOut" readout with its drag area and the "Dry out" and "Wet out"
// boxes. The effect's output hint says which part a redraw paints (0 all, 1 meters, 2 master,
// 3 dry, 4 wet); every draw clears it. A left drag (pointer hidden) moves a level horizontally,
// a right click resets it, a click on a peak readout clears that hold. Writes with the effect's
// plain setParameter; redrawn only on request (refresh flag 1) and by the frame's full paint.
// UI thread.
#pragma once

#include "params/ParameterIndex.h"

#include "gui/Point.h"
#include "gui/Rect.h"
#include "gui/View.h"
#include "shell/VstAbi.h"

#include <cstddef>

namespace qv {

class AudioEffect;
class Bitmap;

class OutputStageView : public View {
public:
    static constexpr int kMeterCount = 4;
    // Meter readings of the effect, left to right in the scale picture's pairs: output peak
    // left and right, output RMS left and right.
    static constexpr VstInt32 kMeterTags[kMeterCount] = {
        tag::kOutputPeakLeft, tag::kOutputPeakRight, tag::kOutputRmsLeft, tag::kOutputRmsRight};
    static constexpr int kMeterHeight = 280; // pixels: 40 dB at 7 pixels per dB

    OutputStageView(const Rect& size, AudioEffect* effect);
    ~OutputStageView() override;

    void draw(DrawContext* context) override;
    void mouse(DrawContext* context, Point where) override;
    // Never drawn by the frame's refresh of dirty views.
    void update(DrawContext*) override {}

    // First lit row of a bar for a meter reading (0.1 full scale): 0 (full bar) at 0.1 and
    // above, 7 rows per dB below, kMeterHeight (no bar) at 0.001 (-40 dB) and below.
    static int barTop(float reading);
    // Peak-hold text ("over 20", dB with two decimals, "----"); over: drawn in the warning colour.
    static void formatPeak(float peak, char* text, std::size_t size, bool& over);
    // "MasterOut" in dB with one decimal ("0.0 dB" near the middle).
    static void formatMaster(float value, char* text, std::size_t size);
    // "Dry out" / "Wet out" gain in dB with one decimal, "-oo" for silence.
    static void formatLevel(float value, char* text, std::size_t size);

    // Highest scaled peak reading since the view was made or the readout was clicked; k 0 or 1.
    float getPeakHold(int k) const { return peakHold_[k]; }
    const Rect& meterRect() const { return meters_; }
    const Rect& masterRect() const { return master_; }
    const Rect& masterDragRect() const { return masterDrag_; }
    const Rect& peakRect(int k) const { return peak_[k]; }
    const Rect& dryRect() const { return dry_; }
    const Rect& wetRect() const { return wet_; }

private:
    void drawMeters(DrawContext* context);
    void drawPeak(DrawContext* context, int k);
    void drawMaster(DrawContext* context);
    void drawLevel(DrawContext* context, VstInt32 parameter, const Rect& box);
    float parameter(VstInt32 index) const;

    AudioEffect* effect_;      // read and written; not owned
    Bitmap* backgroundBitmap_; // 10054, one reference
    Bitmap* scaleBitmap_;      // 10052, one reference
    Bitmap* masterBitmap_;     // 10055, one reference
    Bitmap* peakBitmap_;       // 10056, one reference
    Bitmap* levelBitmap_;      // 10057, one reference
    Rect background_;          // the whole column picture
    Rect meters_;              // the four bars over the scale
    Rect master_;              // "MasterOut" readout
    Rect masterDrag_;          // where a press drags "MasterOut"
    Rect peak_[2];             // peak-hold readouts: peak meters, RMS meters
    Rect dry_;                 // "Dry out" box
    Rect wet_;                 // "Wet out" box
    float peakHold_[2] = {};   // highest scaled reading shown in each readout
};

} // namespace qv

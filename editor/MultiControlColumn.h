// The multi-control column at the editor's left: seven spinners, one per compressor quantity
// (input level, output level, threshold, ratio, attack, manual release time, auto release
// depth), each editing that quantity in all five bands at once. A vertical drag (pointer hidden)
// shifts the five values together in the quantity's own units; a right click copies the
// selected band's value (SelectedChannel) to the other four. Touching a row tells the settings
// panel which quantity it was through MatrixItem. Writes with the effect's plain setParameter;
// redrawn only on request (refresh flag 5), by the frame's full paint and by its own gestures.
// UI thread.
#pragma once

#include "params/ParameterIndex.h"

#include "editor/CompressorQuantity.h"
#include "gui/Point.h"
#include "gui/Rect.h"
#include "gui/View.h"
#include "shell/VstAbi.h"

namespace qv {

class AudioEffect;
class Bitmap;

class MultiControlColumn : public View {
public:
    static constexpr int kRowCount = 7;
    static constexpr int kBandCount = kNumBands;
    // Value change per pixel of vertical movement (up = more).
    static constexpr double kValuePerPixel = 0.001;

    // How one row's drag works on each band's value.
    enum class Domain { Level, Threshold, Ratio, Normalised };
    struct Row {
        VstInt32 parameters[kBandCount]; // band 1..5
        Domain domain;
        CompressorQuantity quantity; // its MatrixItem code is written when the row is touched
    };
    static const Row kRows[kRowCount];

    MultiControlColumn(const Rect& size, AudioEffect* effect);
    ~MultiControlColumn() override;

    void draw(DrawContext* context) override;
    void mouse(DrawContext* context, Point where) override;
    // Never drawn by the frame's refresh of dirty views.
    void update(DrawContext*) override {}

    // One drag step of row's domain on the five working values; delta > 0 is upwards.
    static void step(Domain domain, double delta, float (&values)[kBandCount]);
    // The band (1..5) a copy reads, from the SelectedChannel value.
    static int sourceBand(float selectedChannel);
    // The row (1..7) whose hit area contains p, or 0.
    int rowAt(Point p) const;

    const Rect& spinnerRect(int row) const { return spinners_[row - 1]; }
    const Rect& hitRect(int row) const { return hits_[row - 1]; }
    // 0: none; 1..7: row being dragged.
    int getPressedRow() const { return pressedRow_; }

private:
    void writeRow(const Row& row, const float (&values)[kBandCount]);

    AudioEffect* effect_;      // read and written; not owned
    Bitmap* columnBitmap_;     // 10009, one reference
    Bitmap* pressedBitmap_;    // 10010, one reference
    Rect column_;              // where the column picture goes
    Rect spinners_[kRowCount]; // where the pressed picture of row k + 1 goes
    Rect hits_[kRowCount];     // what a press on row k + 1 must hit (edges inclusive)
    int pressedRow_ = 0;       // 0 none, else the row of a running left drag
};

} // namespace qv

// The settings panel on its own with the real effect: drawn into an offscreen copy of the
// editor background (editor coordinates, so pixels compare with the artwork at the layout's
// places) and pressed with a scripted mouse. Helpers look up artwork pixels and places where
// two frames of a multi-frame bitmap differ.
#pragma once

#include "editor/EditorLayout.h"
#include "editor/SettingsPanel.h"
#include "gui/Bitmap.h"
#include "gui/OffscreenContext.h"
#include "shell/MultibandEffect.h"
#include "tests/gui/RecordingHost.h"
#include "tests/gui/ScriptedInput.h"

#include <gtest/gtest.h>

#include <functional>

#include <windows.h>

namespace qv {

// A mouse script that also counts cursor hides and shows and remembers where it was put back.
class PanelInput : public ScriptedInput {
public:
    int physicalButtons() override {
        const int buttons = ScriptedInput::physicalButtons();
        if (onPoll) onPoll(polls);
        return buttons;
    }
    int showCursor(bool show) override {
        displayCount += show ? 1 : -1;
        return displayCount;
    }
    void setCursorPosition(Point screen) override {
        ScriptedInput::setCursorPosition(screen);
        restoredTo = screen;
        ++restores;
    }
    std::function<void(int)> onPoll; // called after poll n (1-based) was answered
    int displayCount = 0;            // below 0 while hidden
    int restores = 0;                // SetCursorPos calls
    Point restoredTo;                // the last SetCursorPos
};

// Pixel (x, y) of bitmap id as the toolkit loads it.
inline COLORREF artPixel(int id, int x, int y) {
    Bitmap* bitmap = new Bitmap(id);
    COLORREF c;
    {
        OffscreenContext copy(nullptr, bitmap);
        c = GetPixel(copy.getDC(), x, y) & 0xFFFFFF;
    }
    bitmap->release();
    return c;
}

// A point (within one frame) where frames a and b of entry differ; (-1, -1) if none.
inline POINT differingPixel(const qv::layout::BitmapSpec& entry, int a, int b) {
    Bitmap* bitmap = new Bitmap(entry.id);
    POINT found{-1, -1};
    {
        OffscreenContext copy(nullptr, bitmap);
        const int h = entry.frameHeight();
        for (int y = 0; y < h && found.x < 0; ++y)
            for (int x = 0; x < entry.width && found.x < 0; ++x)
                if (GetPixel(copy.getDC(), x, a * h + y) != GetPixel(copy.getDC(), x, b * h + y))
                    found = POINT{x, y};
    }
    bitmap->release();
    return found;
}

class PanelFixture : public ::testing::Test {
protected:
    PanelFixture()
        : effect(MultibandEffect::create(recordingHost)), background(new Bitmap(10001)),
          surface(nullptr, background), panel(new SettingsPanel(Rect(128, 175, 678, 522), effect)) {
        hostEvents().clear();
    }
    ~PanelFixture() override {
        panel->release();
        background->release();
        delete effect;
    }

    // Shows page 0..6 (A..G) the way the page selector sets it.
    void showPage(int page) { effect->setParameter(87, page / 6.0f); }
    void drawWithHint(int hint) {
        effect->setEditorHint(111, hint);
        panel->draw(&surface);
    }
    // Blackens the panel's place, so a redraw shows what it touched.
    void blacken() {
        surface.setFillColor(kBlack);
        surface.fillRect(Rect(127, 174, 678, 522));
    }
    COLORREF pixel(int x, int y) { return GetPixel(surface.getDC(), x, y) & 0xFFFFFF; }
    // Frame `frame` of entry drawn at (left, top) shows at its differing pixel against `other`.
    ::testing::AssertionResult showsFrame(const qv::layout::BitmapSpec& entry, int left, int top,
                                          int frame, int other) {
        const POINT p = differingPixel(entry, frame, other);
        if (p.x < 0) return ::testing::AssertionFailure() << "frames look the same";
        const COLORREF want = artPixel(entry.id, p.x, frame * entry.frameHeight() + p.y);
        const COLORREF got = pixel(left + p.x, top + p.y);
        if (got == want) return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure()
               << "pixel " << p.x << "," << p.y << " of frame " << frame << " is " << std::hex
               << got << " not " << want;
    }
    // Whether any pixel of the rectangle differs from black.
    bool touched(const qv::layout::LayoutRect& r) {
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x)
                if (pixel(x, y) != 0) return true;
        return false;
    }
    // Pixels of the box of bitmap id at (left, top) that differ from that box with text drawn
    // in it in font 4, black, centred: 0 when the box shows exactly that text.
    int boxDiffers(int id, int left, int top, const char* text) {
        Bitmap* box = new Bitmap(id);
        int differing = 0;
        {
            OffscreenContext reference(nullptr, box);
            reference.setFont(4);
            reference.setFontColor(kBlack);
            reference.drawString(text, Rect(0, 0, box->getWidth(), box->getHeight()));
            for (int y = 0; y < box->getHeight(); ++y)
                for (int x = 0; x < box->getWidth(); ++x)
                    if ((GetPixel(reference.getDC(), x, y) & 0xFFFFFF) != pixel(left + x, top + y))
                        ++differing;
        }
        box->release();
        return differing;
    }
    // A press with the given buttons at where, then the scripted polls.
    void press(int buttons, Point where) {
        input.script.push_front({buttons, where});
        panel->mouse(&surface, where);
    }

    PanelInput input; // first: the editor reads the clock when it is made
    MultibandEffectBase* effect;
    Bitmap* background;
    OffscreenContext surface; // the editor's size, showing its background
    SettingsPanel* panel;
};

} // namespace qv

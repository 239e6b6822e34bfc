// The real effect with its editor open in a test window, for the editor's custom views: a
// scripted mouse whose clock moves with every poll (so the idle pump runs during drags) and which
// keeps track of the cursor being hidden and moved, screen pixels, and reference pictures of a
// value box drawn the way the views are meant to draw it.
#pragma once

#include "editor/MultibandEditor.h"
#include "gui/Bitmap.h"
#include "gui/DrawContext.h"
#include "gui/Frame.h"
#include "gui/OffscreenContext.h"
#include "shell/MultibandEffect.h"
#include "tests/gui/RecordingHost.h"
#include "tests/gui/ScriptedInput.h"
#include "tests/gui/TestWindow.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace qv {

// ScriptedInput whose clock advances by one idle-pump interval per poll, that remembers how the
// cursor was hidden, shown and moved, and that can run a check at a given poll.
class DragInput : public ScriptedInput {
public:
    int physicalButtons() override {
        tick += 100;
        const int buttons = ScriptedInput::physicalButtons();
        if (onPoll) onPoll(polls);
        return buttons;
    }
    int showCursor(bool show) override {
        displayCount += show ? 1 : -1;
        show ? ++shows : ++hides;
        return displayCount;
    }
    void setCursorPosition(Point screen) override {
        ScriptedInput::setCursorPosition(screen);
        moves.push_back(screen);
    }

    int displayCount = 0;            // ShowCursor's counter: below 0 while hidden
    int hides = 0;                   // ShowCursor(FALSE) calls
    int shows = 0;                   // ShowCursor(TRUE) calls
    std::vector<Point> moves;        // SetCursorPos calls
    std::function<void(int)> onPoll; // called after poll n (1-based) was answered
};

inline MultibandEffectBase* makeMultibandEffect() {
    return MultibandEffect::create(recordingHost);
}

class EditorViewFixture : public ::testing::Test {
protected:
    // make: the effect under test (made after the scripted clock, which its editor reads).
    explicit EditorViewFixture(MultibandEffectBase* (*make)() = makeMultibandEffect)
        : effect(make()) {
        editor = static_cast<MultibandEditor*>(effect->getEditor());
        hostEvents().clear();
    }
    ~EditorViewFixture() override { delete effect; }

    void open() {
        ASSERT_EQ(effect->dispatcher(effEditOpen, 0, 0, host.handle, 0.0f), 1);
        paint();
        idle();
    }
    void idle() { effect->dispatcher(effEditIdle, 0, 0, nullptr, 0.0f); }
    void close() { effect->dispatcher(effEditClose, 0, 0, nullptr, 0.0f); }
    HWND frameWindow() const {
        return editor->getFrame() ? editor->getFrame()->getWindow() : nullptr;
    }
    void paint() {
        InvalidateRect(frameWindow(), nullptr, FALSE);
        UpdateWindow(frameWindow());
    }
    COLORREF screenPixel(int x, int y) {
        HDC dc = GetDC(frameWindow());
        const COLORREF c = GetPixel(dc, x, y) & 0xFFFFFF;
        ReleaseDC(frameWindow(), dc);
        return c;
    }
    // Screen position of editor point (x, y).
    Point screenOf(int x, int y) {
        RECT r;
        GetWindowRect(frameWindow(), &r);
        return Point(r.left + x, r.top + y);
    }
    // A press of buttons at editor point `at` delivered as the window message, held over the
    // editor points of `path` (one poll each), then released. The frame and the view each poll
    // once before the first round.
    void gesture(int buttons, Point at, const std::vector<Point>& path = {}) {
        const Point start = screenOf(at.x, at.y);
        input.then(buttons, start).then(buttons, start);
        for (const Point& p : path)
            input.then(buttons, screenOf(p.x, p.y));
        const UINT message =
            buttons & InputSource::kPhysicalRight ? WM_RBUTTONDOWN : WM_LBUTTONDOWN;
        SendMessageA(frameWindow(), message, 0, MAKELPARAM(at.x, at.y));
        input.script.clear();
    }
    // A left drag from `at` along x (or y) offsets, one poll per offset.
    void dragX(Point at, const std::vector<int>& offsets) {
        std::vector<Point> path;
        for (int dx : offsets)
            path.push_back(Point(at.x + dx, at.y));
        gesture(InputSource::kPhysicalLeft, at, path);
    }
    void dragY(Point at, const std::vector<int>& offsets) {
        std::vector<Point> path;
        for (int dy : offsets)
            path.push_back(Point(at.x, at.y + dy));
        gesture(InputSource::kPhysicalLeft, at, path);
    }
    // Number of pixels in rect (edges exclusive at right and bottom) on screen that differ from
    // the reference picture of the same editor area.
    int differingPixels(const Rect& rect, OffscreenContext& reference) {
        HDC dc = GetDC(frameWindow());
        int differing = 0;
        for (int y = rect.top; y < rect.bottom; ++y)
            for (int x = rect.left; x < rect.right; ++x)
                if ((GetPixel(dc, x, y) & 0xFFFFFF) !=
                    (GetPixel(reference.getDC(), x - rect.left, y - rect.top) & 0xFFFFFF))
                    ++differing;
        ReleaseDC(frameWindow(), dc);
        return differing;
    }

    DragInput input; // first: the editor reads the clock when it is made
    TestWindow host;
    MultibandEffectBase* effect;
    MultibandEditor* editor;
};

// A value box as it should look: box bitmap `id` with text in font, colour and alignment.
class BoxPicture {
public:
    BoxPicture(int id, const std::string& text, FontId font, int style, Color colour,
               int align = DrawContext::kAlignCenter)
        : bitmap(new Bitmap(id)), picture(nullptr, bitmap) {
        const Rect box(0, 0, bitmap->getWidth(), bitmap->getHeight());
        picture.setFont(font, 0, style);
        picture.setFontColor(colour);
        picture.drawString(text.c_str(), box, false, align);
    }
    ~BoxPicture() { bitmap->release(); }
    BoxPicture(const BoxPicture&) = delete;
    BoxPicture& operator=(const BoxPicture&) = delete;
    OffscreenContext& get() { return picture; }

private:
    Bitmap* bitmap;
    OffscreenContext picture;
};

} // namespace qv

// A mouse gesture of the settings panel, tracked by polling (the mouse is not captured): hides
// the cursor while a value is dragged and puts it back where it was at the end, and keeps the
// screen and the host alive through the editor's idle pump. Lives for one press. UI thread.
#pragma once

#include "gui/Point.h"

class DrawContext;
class View;

class DragTracker {
public:
    // A step smaller than this (in normalised units) is not applied; the movement accumulates.
    static constexpr double kMinStep = 0.0001;

    // context: the press's context (buttons and pointer); view: reaches the editor's pump.
    DragTracker(DrawContext* context, View* view);
    ~DragTracker(); // shows the cursor again if it was hidden
    DragTracker(const DragTracker&) = delete;
    DragTracker& operator=(const DragTracker&) = delete;

    // Remembers the screen position of the cursor and hides it (once).
    void hideCursor();
    // Puts a hidden cursor back where it was and shows it.
    void restoreCursor();
    // True while the left button is down, with the pointer (view coordinates) in where.
    bool leftHeld(Point& where);
    // Waits (pumping) until the right button is up.
    void waitForRightRelease();
    // The editor's idle pump, when the view has a frame with an editor.
    void pump();

    // A left-button drag from anchor along one axis: hides the cursor, and while the button is
    // held turns the movement since the last applied step into delta = pixels * perPixel
    // (vertical pixels count downwards), calls apply(delta) when |delta| > kMinStep and moves
    // the anchor there; pumps on every pass; restores the cursor at the end.
    template <class Apply> void drag(Point anchor, bool horizontal, double perPixel, Apply apply) {
        hideCursor();
        Point where;
        while (leftHeld(where)) {
            const int pixels = horizontal ? where.x - anchor.x : where.y - anchor.y;
            const double delta = pixels * perPixel;
            if (delta > kMinStep || delta < -kMinStep) {
                apply(delta);
                anchor = where;
            }
            pump();
        }
        restoreCursor();
    }

private:
    DrawContext* context; // the press's context, or null
    View* view;           // the view the gesture belongs to, or null
    Point savedCursor;    // screen position when hidden
    bool hidden = false;  // the cursor is hidden by this gesture
};

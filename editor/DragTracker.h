// A mouse gesture of an editor view, tracked by polling (the mouse is not captured): hides
// the cursor while a value is dragged and puts it back where it was at the end, and keeps the
// screen and the host alive through the editor's idle pump. Lives for one press. UI thread.
#pragma once

#include "gui/Point.h"

namespace qv {

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
    // True while the right button is down, with the pointer (view coordinates) in where.
    bool rightHeld(Point& where);
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
        follow(anchor, horizontal, perPixel, apply);
        restoreCursor();
    }

    // A left-button drag whose target is where the pointer is at the first poll, not where the
    // press message said: when the button is held, pick(where) (view coordinates) says whether
    // there is something to drag there. If so the cursor is hidden (pick may hide it earlier
    // itself), the pump runs and the drag goes on from there as in drag(). The cursor stays
    // hidden: the caller finishes its gesture, then calls restoreCursor() (or lets the
    // destructor do it). Returns whether pick took the press.
    template <class Pick, class Apply>
    bool pickAndDrag(bool horizontal, double perPixel, Pick pick, Apply apply) {
        Point where;
        if (!leftHeld(where) || !pick(where)) return false;
        hideCursor();
        pump();
        follow(where, horizontal, perPixel, apply);
        return true;
    }

private:
    // The polling loop of a drag, with the cursor already hidden.
    template <class Apply>
    void follow(Point anchor, bool horizontal, double perPixel, Apply& apply) {
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
    }

    DrawContext* context_; // the press's context, or null
    View* view_;           // the view the gesture belongs to, or null
    Point savedCursor_;    // screen position when hidden
    bool hidden_ = false;  // the cursor is hidden by this gesture
};

} // namespace qv

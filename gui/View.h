// A rectangular element of the editor window: draws itself into a DrawContext on request, knows
// whether it needs redrawing and may react to presses, keys, wheel and drops. Reference counted:
// created with count 1, destroyed by the release that takes the count from 1 to 0. UI thread.
#pragma once

#include "gui/KeyCode.h"
#include "gui/Point.h"
#include "gui/Rect.h"

namespace qv {

class DrawContext;
class EditorBase;
class Frame;

class View {
public:
    explicit View(const Rect& size);
    View(const View&) = delete;
    View& operator=(const View&) = delete;

    // The order of these virtual operations is fixed; derived classes append their own.
    virtual ~View();
    virtual void draw(DrawContext* context);
    virtual void drawRect(DrawContext* context, const Rect& rect);
    // Overlap with edges inclusive.
    virtual bool intersects(const Rect& rect) const;
    virtual void mouse(DrawContext* context, Point where);
    // Draws when dirty.
    virtual void update(DrawContext* context);
    virtual long reservedWithTwoArguments(long first, long second);
    // -1: not handled.
    virtual long onKeyDown(KeyCode& key);
    virtual long onKeyUp(KeyCode& key);
    // items: count entries (type 0: file names) or one text of count bytes (type 1).
    virtual bool onDrop(void** items, long count, long type, Point where);
    virtual bool onWheel(DrawContext* context, Point where, float distance);
    virtual void reservedWithOneArgument(long argument);
    virtual void reservedWithOneArgumentToo(long argument);
    virtual bool isDirty() const;
    virtual void setDirty(bool state = true);
    virtual void setMouseEnabled(bool enabled);
    virtual bool getMouseEnabled() const;
    virtual void setMouseArea(const Rect& rect);
    virtual Rect& getMouseArea(Rect& rect) const;
    // Inside size, edges inclusive; the buttons do not matter here.
    virtual bool hitTest(Point where, long buttons);
    virtual void setTransparent(bool state);
    virtual bool getTransparent() const;
    virtual void setViewSize(const Rect& rect);
    virtual Rect& getViewSize(Rect& rect) const;
    // Nothing in this toolkit nests views: the slot keeps the order, the view is not kept.
    virtual void setParentView(View* view);
    virtual void setFrame(Frame* newFrame);
    virtual EditorBase* getEditor() const;
    virtual bool removed(View* parent);
    virtual bool attached(View* parent);
    virtual void release();
    virtual void retain();
    virtual long getReferenceCount() const;

    // Has the frame draw this view now (Frame::drawView); nothing without a frame.
    void redraw();
    Frame* getFrame() const { return frame_; }
    const Rect& viewSize() const { return size_; }

protected:
    long referenceCount_ = 1;  // holders; the release from 1 to 0 destroys the view
    Rect size_;                // rectangle in frame coordinates
    Rect mouseArea_;           // kept for its accessors; hit tests use size
    Frame* frame_ = nullptr;   // the owning frame, null until added to one
    bool dirty_ = false;       // needs redrawing
    bool mouseEnabled_ = true; // false: skipped by mouse and drop dispatch
    bool transparent_ = false; // controls draw their picture with its transparent colour
};

} // namespace qv

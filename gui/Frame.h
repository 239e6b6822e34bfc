// The root of the editor's views and the owner of the editor's child window inside the host's
// window: turns paint and press messages into drawing and mouse calls on its children, draws
// single views on request, refreshes dirty views when the editor idles and accepts drops.
// UI thread, except drawView, which the host's parameter thread may call.
#pragma once

#include "gui/OleSession.h"
#include "gui/View.h"

#include <windows.h>

namespace qv {

class Bitmap;

class Frame : public View {
public:
    static constexpr int kChildGrowth = 20; // child array grows by this many entries

    // parentWindow null: a frame without a window (nothing to draw into, no drop target).
    Frame(const Rect& size, HWND parentWindow, EditorBase* editor);
    ~Frame() override;

    void draw(DrawContext* context) override;
    void drawRect(DrawContext* context, const Rect& rect) override;
    // Topmost (last added) mouse-enabled child under where gets the press.
    void mouse(DrawContext* context, Point where) override;
    void update(DrawContext* context) override;
    long onKeyDown(KeyCode& key) override;
    long onKeyUp(KeyCode& key) override;
    bool onDrop(void** items, long count, long type, Point where) override;
    bool onWheel(DrawContext* context, Point where, float distance) override;
    EditorBase* getEditor() const override;

    // Appended operations, in this order.
    // Appends view (the frame takes over the caller's reference); false if the list cannot grow.
    virtual bool addView(View* view);
    virtual bool removeView(View* view, bool withRelease = true);
    virtual bool removeAll(bool withRelease = true);
    virtual bool isChild(View* view) const;
    virtual long getViewCount() const;
    // The child at index, or null outside 0..count-1.
    virtual View* getView(long index) const;

    // Holds one reference to bitmap (null allowed).
    void setBackground(Bitmap* bitmap);
    Bitmap* getBackground() const { return background_; }
    // Draws view (a child; null or unknown: the whole frame) now, on its own device context.
    void drawView(View* view);
    // Redraws what is dirty, once the frame has been drawn and while its window lives.
    void idle();
    bool isSomethingDirty() const;
    // Pointer position relative to the frame window.
    bool getCurrentLocation(Point& where) const;
    // Last child whose rectangle contains the pointer (mouse flag not consulted), or null.
    View* getViewAt() const;

    HWND getWindow() const { return window_; }
    HWND getParentWindow() const { return parentWindow_; }
    bool isOpen() const { return open_; }
    bool isFirstDrawPending() const { return firstDrawPending_; }
    bool isDropTargetRegistered() const { return dropTargetRegistered_; }

    static LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam,
                                            LPARAM lParam);

private:
    void createWindow();
    // The window procedure's work, inside its last-resort guard.
    static LRESULT handleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    EditorBase* editor_;                // owner of the frame; not owned
    HWND parentWindow_;                 // the host's window; null after WM_DESTROY
    Bitmap* background_ = nullptr;      // drawn under the children; one reference held
    long childCount_ = 0;               // children in children[0..childCount)
    long childCapacity_ = 0;            // entries allocated
    View** children_ = nullptr;         // in insertion order, one reference each
    bool firstDrawPending_ = true;      // not drawn yet: idle refreshes nothing
    bool open_ = true;                  // until the window gets WM_DESTROY
    bool dropTargetRegistered_ = false; // RegisterDragDrop succeeded
    HWND window_ = nullptr;             // the frame's own window, or null
    HMODULE imageLibrary_ = nullptr;    // msimg32.dll, or null
    OleSession ole_;                    // drag and drop needs OLE on the window's thread
};

} // namespace qv

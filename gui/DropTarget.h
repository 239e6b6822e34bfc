// The frame window's OLE drop target: accepts text and file lists (shortcuts resolved to their
// targets) and offers them to the frame's views. UI thread (OLE calls it there).
#pragma once

#include <windows.h>

#include <ole2.h>
#include <shellapi.h>

namespace qv {

class Frame;

class DropTarget : public IDropTarget {
public:
    static constexpr int kNameLength = 1024; // characters of one dropped file name

    // Starts with no reference: RegisterDragDrop takes the first, RevokeDragDrop drops it.
    explicit DropTarget(Frame* frame);

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* data, DWORD keyState, POINTL point,
                                        DWORD* effect) override;
    HRESULT STDMETHODCALLTYPE DragOver(DWORD keyState, POINTL point, DWORD* effect) override;
    HRESULT STDMETHODCALLTYPE DragLeave() override;
    HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD keyState, POINTL point,
                                   DWORD* effect) override;
    virtual ~DropTarget();

    // Replaces a shortcut (".lnk", any case) in name (kNameLength characters) by the path it
    // points to; any failure leaves name as it is.
    static void resolveShortcut(char* name);

private:
    // DragEnter's and Drop's work, inside their last-resort guards.
    HRESULT enter(IDataObject* data, DWORD keyState, POINTL point, DWORD* effect);
    void drop(IDataObject* data);
    void dropFiles(HDROP files);
    void dropText(STGMEDIUM& medium);

    LONG referenceCount_ = 0; // COM references
    bool accept_ = false;     // the data being dragged is text or files
    Frame* frame_;            // the frame whose views get the drop; not owned
};

} // namespace qv

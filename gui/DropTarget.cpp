#include "gui/DropTarget.h"

#include "gui/Frame.h"

#include <cstring>
#include <new>
#include <shellapi.h>
#include <shlobj.h>

namespace qv {

namespace {

constexpr UINT kQueryFileCount = 0xFFFFFFFF;
constexpr int kWideNameLength = 2048;
// No user interface, any match, and at most 500 ms of searching (the high word).
constexpr DWORD kResolveFlags = 0x0001 | 0x0002 | (500u << 16); // SLR_NO_UI | SLR_ANY_MATCH
constexpr long kDropFiles = 0;
constexpr long kDropText = 1;

FORMATETC formatOf(CLIPFORMAT format) {
    return FORMATETC{format, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
}

bool endsWithLnk(const char* name) {
    const char* dot = std::strrchr(name, '.');
    return dot && lstrcmpiA(dot, ".lnk") == 0;
}

} // namespace

DropTarget::DropTarget(Frame* frame) : frame_(frame) {}

DropTarget::~DropTarget() = default;

HRESULT STDMETHODCALLTYPE DropTarget::QueryInterface(REFIID iid, void** object) {
    if (!object) return E_POINTER;
    if (IsEqualIID(iid, IID_IDropTarget) || IsEqualIID(iid, IID_IUnknown)) {
        *object = static_cast<IDropTarget*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG STDMETHODCALLTYPE DropTarget::AddRef() {
    return static_cast<ULONG>(++referenceCount_);
}

ULONG STDMETHODCALLTYPE DropTarget::Release() {
    const LONG count = --referenceCount_;
    if (count == 0) delete this;
    return static_cast<ULONG>(count);
}

// OLE calls these from its drag loop: an exception must not unwind into it, so each answers
// E_UNEXPECTED instead as a last resort.
HRESULT STDMETHODCALLTYPE DropTarget::DragEnter(IDataObject* data, DWORD keyState, POINTL point,
                                                DWORD* effect) {
    try {
        return enter(data, keyState, point, effect);
    } catch (...) {
        return E_UNEXPECTED;
    }
}

HRESULT DropTarget::enter(IDataObject* data, DWORD keyState, POINTL point, DWORD* effect) {
    accept_ = false;
    FORMATETC text = formatOf(CF_TEXT);
    FORMATETC files = formatOf(CF_HDROP);
    if (data && (data->QueryGetData(&text) == S_OK || data->QueryGetData(&files) == S_OK)) {
        accept_ = true;
        return DragOver(keyState, point, effect);
    }
    if (effect) *effect = DROPEFFECT_NONE;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE DropTarget::DragOver(DWORD keyState, POINTL, DWORD* effect) {
    if (!effect) return S_OK;
    if (!accept_)
        *effect = DROPEFFECT_NONE;
    else
        *effect = (keyState & MK_CONTROL) ? DROPEFFECT_COPY : DROPEFFECT_MOVE;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE DropTarget::DragLeave() {
    return S_OK;
}

HRESULT STDMETHODCALLTYPE DropTarget::Drop(IDataObject* data, DWORD, POINTL, DWORD*) {
    try {
        drop(data);
    } catch (...) {
        return E_UNEXPECTED;
    }
    DragLeave();
    return S_OK;
}

void DropTarget::drop(IDataObject* data) {
    if (frame_ && data) {
        FORMATETC text = formatOf(CF_TEXT);
        FORMATETC files = formatOf(CF_HDROP);
        STGMEDIUM medium{};
        bool isText = true;
        HRESULT got = data->GetData(&text, &medium);
        if (got != S_OK) {
            isText = false;
            got = data->GetData(&files, &medium);
        }
        if (got == S_OK) {
            if (medium.tymed == TYMED_HGLOBAL && medium.hGlobal) {
                if (isText) {
                    dropText(medium);
                } else {
                    dropFiles(static_cast<HDROP>(medium.hGlobal));
                }
            }
            ReleaseStgMedium(&medium);
        }
    }
}

void DropTarget::dropFiles(HDROP files) {
    const UINT available = DragQueryFileA(files, kQueryFileCount, nullptr, 0);
    char** names = available ? new (std::nothrow) char*[available] : nullptr;
    if (!names) return;
    long collected = 0;
    char name[kNameLength];
    for (UINT i = 0; i < available; ++i) {
        if (DragQueryFileA(files, i, name, kNameLength) == 0) continue;
        name[kNameLength - 1] = 0;
        resolveShortcut(name);
        char* copy = new (std::nothrow) char[kNameLength];
        if (!copy) continue;
        std::memcpy(copy, name, kNameLength);
        names[collected++] = copy;
    }
    Point where;
    frame_->getCurrentLocation(where);
    frame_->onDrop(reinterpret_cast<void**>(names), collected, kDropFiles, where);
    for (long i = 0; i < collected; ++i)
        delete[] names[i];
    delete[] names;
}

void DropTarget::dropText(STGMEDIUM& medium) {
    void* text = GlobalLock(medium.hGlobal);
    const SIZE_T size = GlobalSize(medium.hGlobal);
    if (text && size) {
        Point where;
        frame_->getCurrentLocation(where);
        void* items[1] = {text};
        frame_->onDrop(items, static_cast<long>(size), kDropText, where);
    }
    if (text) GlobalUnlock(medium.hGlobal);
}

void DropTarget::resolveShortcut(char* name) {
    if (!name || !endsWithLnk(name)) return;
    IShellLinkA* link = nullptr;
    if (CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                         reinterpret_cast<void**>(&link)) != S_OK ||
        !link)
        return;
    IPersistFile* file = nullptr;
    if (link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)) == S_OK && file) {
        WCHAR wide[kWideNameLength];
        if (MultiByteToWideChar(CP_ACP, 0, name, -1, wide, kWideNameLength) > 0 &&
            SUCCEEDED(file->Load(wide, STGM_READ)) &&
            SUCCEEDED(link->Resolve(nullptr, kResolveFlags))) {
            char target[kNameLength] = {};
            if (link->GetPath(target, kNameLength, nullptr, SLGP_SHORTPATH) == S_OK && target[0]) {
                target[kNameLength - 1] = 0;
                std::memcpy(name, target, kNameLength);
            }
        }
        file->Release();
    }
    link->Release();
}

} // namespace qv

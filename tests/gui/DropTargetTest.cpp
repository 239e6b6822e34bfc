// The frame's drop target: what it accepts and the feedback it gives, text passed with the size
// of its memory block, file lists with shortcuts (any case of ".lnk") resolved to their targets,
// and its COM reference counting. The data object is ours; OLE's drag loop is not involved.
#include "gui/DropTarget.h"
#include "gui/Frame.h"
#include "tests/gui/ScriptedInput.h"
#include "tests/gui/TestWindow.h"
#include "tests/gui/ToolkitHarness.h"

#include <gtest/gtest.h>

#include <cstring>
#include <shlobj.h>
#include <string>
#include <vector>

namespace qv {

namespace {

// A data object offering one clipboard format in global memory.
class TestData : public IDataObject {
public:
    TestData(CLIPFORMAT format, std::vector<char> bytes)
        : format(format), bytes(std::move(bytes)) {}
    virtual ~TestData() = default;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDataObject)) {
            *object = this;
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references; }
    ULONG STDMETHODCALLTYPE Release() override { return --references; }
    HRESULT STDMETHODCALLTYPE GetData(FORMATETC* asked, STGMEDIUM* medium) override {
        if (QueryGetData(asked) != S_OK) return DV_E_FORMATETC;
        HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
        std::memcpy(GlobalLock(memory), bytes.data(), bytes.size());
        GlobalUnlock(memory);
        medium->tymed = TYMED_HGLOBAL;
        medium->hGlobal = memory;
        medium->pUnkForRelease = nullptr;
        ++handedOut;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* asked) override {
        return asked && asked->cfFormat == format && (asked->tymed & TYMED_HGLOBAL)
                   ? S_OK
                   : DV_E_FORMATETC;
    }
    HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD, IEnumFORMATETC**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override {
        return OLE_E_ADVISENOTSUPPORTED;
    }
    HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
    HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override {
        return OLE_E_ADVISENOTSUPPORTED;
    }

    CLIPFORMAT format;
    std::vector<char> bytes;
    ULONG references = 1;
    int handedOut = 0;
};

std::vector<char> textBytes(const char* text) {
    return std::vector<char>(text, text + std::strlen(text) + 1);
}

// A CF_HDROP block: the header, then the names, each zero-terminated, then one more zero.
std::vector<char> fileList(const std::vector<std::string>& names) {
    DROPFILES header{};
    header.pFiles = sizeof(DROPFILES);
    header.fWide = FALSE;
    std::vector<char> bytes(reinterpret_cast<const char*>(&header),
                            reinterpret_cast<const char*>(&header) + sizeof(header));
    for (const std::string& name : names)
        bytes.insert(bytes.end(), name.c_str(), name.c_str() + name.size() + 1);
    bytes.push_back(0);
    return bytes;
}

// A view taking every drop and keeping a copy of it.
class DropSink : public View {
public:
    DropSink() : View(Rect(0, 0, 400, 300)) {}
    bool onDrop(void** items, long count, long type, Point where) override {
        ++drops;
        lastCount = count;
        lastType = type;
        lastWhere = where;
        names.clear();
        if (type == 0)
            for (long i = 0; i < count; ++i)
                names.push_back(static_cast<const char*>(items[i]));
        else
            names.push_back(static_cast<const char*>(items[0]));
        return true;
    }
    int drops = 0;
    long lastCount = 0;
    long lastType = -1;
    Point lastWhere;
    std::vector<std::string> names;
};

class DropTargetTest : public ::testing::Test {
protected:
    DropTargetTest() : harness(host.handle), target(new DropTarget(harness.frame)) {
        target->AddRef();
        sink = new DropSink;
        harness.frame->addView(sink);
        RECT r;
        GetWindowRect(harness.frame->getWindow(), &r);
        input.setCursorPosition(Point(r.left + 40, r.top + 30));
    }
    ~DropTargetTest() override { target->Release(); }

    DWORD enter(IDataObject* data, DWORD keys) {
        DWORD effect = 12345;
        EXPECT_EQ(target->DragEnter(data, keys, POINTL{0, 0}, &effect), S_OK);
        return effect;
    }

    ScriptedInput input;
    TestWindow host;
    ToolkitHarness harness;
    DropTarget* target;
    DropSink* sink;
};

TEST_F(DropTargetTest, AcceptsTextAndFilesWithMoveOrCopyFeedback) {
    TestData text(CF_TEXT, textBytes("abc"));
    TestData files(CF_HDROP, fileList({"C:\\a.txt"}));
    TestData other(CF_BITMAP, {1});
    EXPECT_EQ(enter(&text, 0), DWORD(DROPEFFECT_MOVE));
    EXPECT_EQ(enter(&text, MK_CONTROL), DWORD(DROPEFFECT_COPY));
    DWORD effect = 0;
    target->DragOver(MK_CONTROL | MK_LBUTTON, POINTL{0, 0}, &effect);
    EXPECT_EQ(effect, DWORD(DROPEFFECT_COPY));
    EXPECT_EQ(enter(&files, MK_LBUTTON), DWORD(DROPEFFECT_MOVE));
    EXPECT_EQ(enter(&other, 0), DWORD(DROPEFFECT_NONE));
    target->DragOver(MK_CONTROL, POINTL{0, 0}, &effect);
    EXPECT_EQ(effect, DWORD(DROPEFFECT_NONE));
    EXPECT_EQ(target->DragLeave(), S_OK);
    EXPECT_EQ(target->DragEnter(nullptr, 0, POINTL{0, 0}, nullptr), S_OK); // nothing to write
}

TEST_F(DropTargetTest, TextArrivesWithTheSizeOfItsMemoryBlock) {
    TestData text(CF_TEXT, textBytes("dropped words"));
    DWORD effect = 0;
    EXPECT_EQ(target->Drop(&text, 0, POINTL{0, 0}, &effect), S_OK);
    ASSERT_EQ(sink->drops, 1);
    EXPECT_EQ(sink->lastType, 1);
    EXPECT_EQ(sink->names[0], "dropped words");
    EXPECT_GE(sink->lastCount, 14); // GlobalSize may round the block up
    EXPECT_EQ(sink->lastWhere, Point(40, 30));
}

TEST_F(DropTargetTest, OtherDataChangesNothing) {
    TestData other(CF_BITMAP, {1, 2, 3});
    EXPECT_EQ(target->Drop(&other, 0, POINTL{0, 0}, nullptr), S_OK);
    EXPECT_EQ(sink->drops, 0);
}

TEST_F(DropTargetTest, ViewsThatRefuseLeaveTheDropUntaken) {
    sink->setMouseEnabled(false);
    TestData text(CF_TEXT, textBytes("x"));
    target->Drop(&text, 0, POINTL{0, 0}, nullptr);
    EXPECT_EQ(sink->drops, 0);
}

// A real file and a shortcut to it in the temporary folder.
struct ShortcutFiles {
    ShortcutFiles() {
        char folder[MAX_PATH];
        GetTempPathA(MAX_PATH, folder);
        target = std::string(folder) + "qv drop target file.txt";
        shortcut = std::string(folder) + "qv drop shortcut.LNK";
        HANDLE f = CreateFileA(target.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
        CloseHandle(f);
        IShellLinkA* link = nullptr;
        if (CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                             reinterpret_cast<void**>(&link)) != S_OK)
            return;
        link->SetPath(target.c_str());
        IPersistFile* file = nullptr;
        if (link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)) == S_OK) {
            WCHAR wide[MAX_PATH];
            MultiByteToWideChar(CP_ACP, 0, shortcut.c_str(), -1, wide, MAX_PATH);
            saved = SUCCEEDED(file->Save(wide, TRUE));
            file->Release();
        }
        link->Release();
    }
    ~ShortcutFiles() {
        DeleteFileA(shortcut.c_str());
        DeleteFileA(target.c_str());
    }
    std::string target;
    std::string shortcut;
    bool saved = false;
};

TEST_F(DropTargetTest, FilesArriveByNameWithShortcutsResolved) {
    ShortcutFiles files;
    ASSERT_TRUE(files.saved);
    TestData list(CF_HDROP, fileList({"C:\\plain.wav", files.shortcut, "C:\\notalink.lnkx"}));
    EXPECT_EQ(target->Drop(&list, 0, POINTL{0, 0}, nullptr), S_OK);
    ASSERT_EQ(sink->drops, 1);
    EXPECT_EQ(sink->lastType, 0);
    ASSERT_EQ(sink->lastCount, 3);
    EXPECT_EQ(sink->names[0], "C:\\plain.wav");
    // Asked for in its short form; Wine's shell link ignores that and gives the long one, so
    // compare the long forms.
    char longName[MAX_PATH] = {};
    GetLongPathNameA(sink->names[1].c_str(), longName, MAX_PATH);
    EXPECT_EQ(std::string(longName), files.target) << sink->names[1];
    EXPECT_EQ(sink->names[2], "C:\\notalink.lnkx");
}

TEST(DropTargetShortcut, ABrokenShortcutKeepsItsName) {
    char name[DropTarget::kNameLength] = "C:\\does\\not\\exist.Lnk";
    DropTarget::resolveShortcut(name);
    EXPECT_STREQ(name, "C:\\does\\not\\exist.Lnk");
    DropTarget::resolveShortcut(nullptr);
}

TEST(DropTargetCom, AnswersItsTwoInterfacesAndCountsReferences) {
    auto* target = new DropTarget(nullptr);
    EXPECT_EQ(target->AddRef(), 1u);
    void* object = nullptr;
    EXPECT_EQ(target->QueryInterface(IID_IDropTarget, &object), S_OK);
    EXPECT_EQ(object, static_cast<IDropTarget*>(target));
    EXPECT_EQ(target->QueryInterface(IID_IUnknown, &object), S_OK);
    EXPECT_EQ(target->QueryInterface(IID_IDataObject, &object), E_NOINTERFACE);
    EXPECT_EQ(object, nullptr);
    EXPECT_EQ(target->Release(), 2u);
    EXPECT_EQ(target->Release(), 1u);
    // Without a frame a drop is ignored.
    TestData text(CF_TEXT, textBytes("x"));
    EXPECT_EQ(target->Drop(&text, 0, POINTL{0, 0}, nullptr), S_OK);
    EXPECT_EQ(text.handedOut, 0);
    EXPECT_EQ(target->Release(), 0u);
}

TEST(DropTargetFrame, FrameWindowHasOneRegistered) {
    TestWindow host;
    ToolkitHarness harness(host.handle);
    auto* extra = new DropTarget(harness.frame);
    extra->AddRef();
    EXPECT_EQ(RegisterDragDrop(harness.frame->getWindow(), extra), DRAGDROP_E_ALREADYREGISTERED);
    extra->Release();
}

} // namespace

} // namespace qv

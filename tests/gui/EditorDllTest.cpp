// Both plug-in DLLs loaded by our host: the editor opens as a child of the host's window with
// the DLL's own window class, paints the artwork from the DLL's resources, idles and closes, 200
// times in a row, leaving no window, window class or GDI object behind. The DLLs' own GDI counts
// cannot be read from here, so live GDI handles of the whole process are counted instead.
#include "tests/gui/TestWindow.h"
#include "tests/wine/DllPaths.h"
#include "tools/PluginHost.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <random>
#include <string>
#include <thread>
#include <vector>

namespace qv {

namespace {

// Live GDI objects and device contexts of this process. Wine accepts a handle given by its
// table index alone (upper word 0), so every slot can be asked; Windows does not promise this.
int liveGdiHandles() {
    int live = 0;
    for (UINT_PTR index = 1; index < 0x10000; ++index)
        if (GetObjectType(reinterpret_cast<HGDIOBJ>(index)) != 0) ++live;
    return live;
}

TEST(GdiHandleCount, SeesObjectsAndContextsComeAndGo) {
    DeleteDC(CreateCompatibleDC(nullptr)); // the first DC brings GDI's lasting objects along
    const int before = liveGdiHandles();
    HPEN pen = CreatePen(PS_SOLID, 1, RGB(1, 2, 3));
    HDC dc = CreateCompatibleDC(nullptr);
    EXPECT_EQ(liveGdiHandles(), before + 2);
    DeleteDC(dc);
    DeleteObject(pen);
    EXPECT_EQ(liveGdiHandles(), before);
}

std::string classNameOf(HMODULE module) {
    char name[32];
    std::snprintf(name, sizeof(name), "Plugin%0*llx", static_cast<int>(2 * sizeof(void*)),
                  static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(module)));
    return name;
}

bool classRegistered(HMODULE module) {
    WNDCLASSA wc;
    return GetClassInfoA(module, classNameOf(module).c_str(), &wc) != 0;
}

class EditorDll : public ::testing::TestWithParam<const char*> {
protected:
    void SetUp() override {
        std::string error;
        ASSERT_TRUE(host.load(pluginPath(GetParam()), error)) << error;
        module = GetModuleHandleA(GetParam());
        ASSERT_NE(module, nullptr);
        host.start(44100.0f, 512);
    }
    HWND editorWindow() const { return FindWindowExA(window.handle, nullptr, nullptr, nullptr); }
    // One whole editor session as a host runs it.
    void session() {
        ERect* rect = nullptr;
        ASSERT_EQ(host.dispatch(effEditGetRect, 0, 0, &rect), 1);
        ASSERT_EQ(host.dispatch(effEditOpen, 0, 0, window.handle), 1);
        HWND child = editorWindow();
        ASSERT_NE(child, nullptr);
        InvalidateRect(child, nullptr, FALSE);
        UpdateWindow(child);
        pumpMessages();
        host.dispatch(effEditIdle);
        host.effect()->setParameter(host.effect(), 48, 0.0f);
        host.effect()->setParameter(host.effect(), 48, 1.0f);
        host.dispatch(effEditIdle);
        host.dispatch(effEditClose);
    }

    PluginHost host;
    TestWindow window{800, 600};
    HMODULE module = nullptr;
};

TEST_P(EditorDll, OpensAChildWindowOfItsOwnClassShowingTheArtwork) {
    ERect* rect = nullptr;
    ASSERT_EQ(host.dispatch(effEditGetRect, 0, 0, &rect), 1);
    EXPECT_EQ(rect->right - rect->left, 785);
    EXPECT_EQ(rect->bottom - rect->top, 570);
    EXPECT_FALSE(classRegistered(module));
    ASSERT_EQ(host.dispatch(effEditOpen, 0, 0, window.handle), 1);
    HWND child = editorWindow();
    ASSERT_NE(child, nullptr);
    char name[64] = {};
    GetClassNameA(child, name, sizeof(name));
    EXPECT_EQ(std::string(name), classNameOf(module)); // the DLL's handle, not the program's
    EXPECT_TRUE(classRegistered(module));
    RECT client;
    GetClientRect(child, &client);
    EXPECT_EQ(client.right, 785);
    EXPECT_EQ(client.bottom, 570);

    InvalidateRect(child, nullptr, FALSE);
    UpdateWindow(child);
    // The artwork came from the DLL: the picture is not one flat colour.
    HDC dc = GetDC(child);
    const COLORREF corner = GetPixel(dc, 2, 2);
    int differing = 0;
    for (int x = 10; x < 785; x += 37)
        for (int y = 10; y < 570; y += 41)
            differing += GetPixel(dc, x, y) != corner;
    ReleaseDC(child, dc);
    EXPECT_GT(differing, 20);

    host.dispatch(effEditClose);
    EXPECT_EQ(editorWindow(), nullptr);
    EXPECT_FALSE(classRegistered(module));
}

TEST_P(EditorDll, TwoHundredSessionsLeaveNothingBehind) {
    constexpr int kSessions = 200;
    // Wine keeps one GDI handle table for every process of the prefix, so the objects of tests
    // running beside this one (ctest -j) come and go in the count: a few handles either way are
    // theirs, while an object left behind by each session would add kSessions.
    constexpr int kOtherProcessesNoise = kSessions / 10;
    session(); // the first one warms up what GDI keeps for good (stock objects, font cache)
    const int handles = liveGdiHandles();
    for (int i = 0; i < kSessions; ++i) {
        session();
        if (HasFatalFailure()) return;
        ASSERT_EQ(childWindowCount(window.handle), 0) << "session " << i;
    }
    EXPECT_FALSE(classRegistered(module));
    EXPECT_LT(liveGdiHandles() - handles, kOtherProcessesNoise);
}

TEST_P(EditorDll, TwoInstancesShareTheClassUntilBothClose) {
    PluginHost second;
    std::string error;
    ASSERT_TRUE(second.load(pluginPath(GetParam()), error)) << error;
    TestWindow otherWindow(800, 600);
    ASSERT_EQ(host.dispatch(effEditOpen, 0, 0, window.handle), 1);
    ASSERT_EQ(second.dispatch(effEditOpen, 0, 0, otherWindow.handle), 1);
    host.dispatch(effEditClose);
    EXPECT_TRUE(classRegistered(module));
    second.dispatch(effEditClose);
    EXPECT_FALSE(classRegistered(module));
    second.unload();
}

// The pixels of the band 3 power switch (tag 48, at 259, 67, 31 x 31) in the editor window.
std::vector<COLORREF> powerSwitchThree(HWND child) {
    std::vector<COLORREF> pixels;
    HDC dc = GetDC(child);
    for (int y = 69; y < 98; y += 3)
        for (int x = 261; x < 290; x += 3)
            pixels.push_back(GetPixel(dc, x, y));
    ReleaseDC(child, dc);
    return pixels;
}

// A host automating from its own thread: the change shows after the next idle on the UI thread,
// and nothing is drawn from the automating thread (the picture is unchanged until that idle).
TEST_P(EditorDll, ChangesFromAnotherThreadShowAtTheNextIdle) {
    AEffect* effect = host.effect();
    effect->setParameter(effect, 48, 0.0f);
    ASSERT_EQ(host.dispatch(effEditOpen, 0, 0, window.handle), 1);
    HWND child = editorWindow();
    ASSERT_NE(child, nullptr);
    InvalidateRect(child, nullptr, FALSE);
    UpdateWindow(child);
    host.dispatch(effEditIdle);
    const std::vector<COLORREF> off = powerSwitchThree(child);

    std::thread([effect] { effect->setParameter(effect, 48, 1.0f); }).join();
    EXPECT_EQ(powerSwitchThree(child), off);
    host.dispatch(effEditIdle);
    EXPECT_NE(powerSwitchThree(child), off);

    std::thread([effect] { effect->setParameter(effect, 48, 0.0f); }).join();
    host.dispatch(effEditIdle);
    EXPECT_EQ(powerSwitchThree(child), off);
    host.dispatch(effEditClose);
}

// One thread opens, idles and closes the editor as a host does while another automates the
// stock controls' parameters at random: the editor's controls are deleted by close while the
// automation goes on, so nothing of them may be touched from the automating thread.
TEST_P(EditorDll, AutomationDuringOpenAndCloseNeverCrashes) {
    constexpr auto kRun = std::chrono::milliseconds(3000);
    AEffect* effect = host.effect();
    std::atomic<bool> stop{false};
    std::atomic<long> changes{0};
    auto automate = [&](unsigned seed) {
        std::mt19937 random(seed);
        const VstInt32 tags[] = {44, 45, 46, 47, 48, 49, 50, 51, 52, 53, 58};
        std::uniform_int_distribution<int> pick(0, 10);
        std::uniform_real_distribution<float> value(0.0f, 1.0f);
        while (!stop.load()) {
            effect->setParameter(effect, tags[pick(random)], value(random));
            changes.fetch_add(1);
        }
    };
    std::thread automation(automate, 1234u);
    int sessions = 0;
    const auto end = std::chrono::steady_clock::now() + kRun;
    while (std::chrono::steady_clock::now() < end) {
        if (host.dispatch(effEditOpen, 0, 0, window.handle) != 1) break;
        for (int round = 0; round < 5; ++round) {
            pumpMessages();
            host.dispatch(effEditIdle);
            Sleep(2);
        }
        host.dispatch(effEditClose);
        ++sessions;
    }
    stop = true;
    automation.join();
    EXPECT_GE(sessions, 3);
    EXPECT_GT(changes.load(), 1000);
    EXPECT_EQ(childWindowCount(window.handle), 0);

    // Afterwards the editor shows what the effect holds.
    effect->setParameter(effect, 48, 0.0f);
    ASSERT_EQ(host.dispatch(effEditOpen, 0, 0, window.handle), 1);
    HWND child = editorWindow();
    InvalidateRect(child, nullptr, FALSE);
    UpdateWindow(child);
    const std::vector<COLORREF> off = powerSwitchThree(child);
    effect->setParameter(effect, 48, 1.0f);
    EXPECT_NE(powerSwitchThree(child), off); // on the UI thread: drawn at once
    host.dispatch(effEditClose);
}

INSTANTIATE_TEST_SUITE_P(BothDlls, EditorDll, ::testing::ValuesIn(kPluginDlls));

} // namespace

} // namespace qv

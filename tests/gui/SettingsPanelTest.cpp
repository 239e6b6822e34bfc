// The settings panel: which page a PanelPage value shows, page switching repainting the whole
// page, page G answering every hint with its background, an exposed window repainted whole
// whatever the hint, and, in the open editor, its place, refresh flag 4 and no GDI leak.
#include "editor/MultibandEditor.h"
#include "gui/Frame.h"
#include "gui/GdiCounter.h"
#include "tests/gui/PanelFixture.h"
#include "tests/gui/TestWindow.h"

namespace qv {

namespace {

TEST(SettingsPanelPages, SeventhsChooseThePage) {
    const struct {
        float value;
        SettingsPanel::Page page;
    } cases[] = {
        {0.0f, SettingsPanel::kPageA},      {0.142856f, SettingsPanel::kPageA},
        {0.142857f, SettingsPanel::kPageB}, {0.2f, SettingsPanel::kPageB},
        {0.285714f, SettingsPanel::kPageC}, {0.5f, SettingsPanel::kPageD},
        {0.571428f, SettingsPanel::kPageE}, {0.714284f, SettingsPanel::kPageE},
        {0.714285f, SettingsPanel::kPageF}, {0.857141f, SettingsPanel::kPageF},
        {0.857142f, SettingsPanel::kPageG}, {1.0f, SettingsPanel::kPageG},
        {-1.0f, SettingsPanel::kPageA},     {2.0f, SettingsPanel::kPageG},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SettingsPanel::pageOf(c.value), c.page) << c.value;
    // The page selector's seven positions land on the seven pages.
    for (int k = 0; k < 7; ++k)
        EXPECT_EQ(SettingsPanel::pageOf(k / 6.0f), k) << k;
}

class SettingsPanelTest : public PanelFixture {};

// Each page's background bitmap and a pixel of the panel no element covers.
struct PageLook {
    int page;
    int background;
};
constexpr PageLook kLooks[] = {{2, 10026}, {3, 10022}, {6, 10025}};

TEST_F(SettingsPanelTest, SwitchingPagesRepaintsTheWholePage) {
    for (const PageLook& look : kLooks) {
        blacken();
        showPage(look.page); // the effect raises hint 0 for a page change
        EXPECT_EQ(effect->getEditorHint(111), 0);
        panel->draw(&surface);
        for (const POINT p : {POINT{129, 176}, POINT{400, 200}, POINT{677, 521}})
            EXPECT_EQ(pixel(p.x, p.y), artPixel(look.background, p.x - 128, p.y - 175))
                << look.page << ": " << p.x << "," << p.y;
    }
}

TEST_F(SettingsPanelTest, PageGShowsItsBackgroundForAnyHint) {
    showPage(6);
    for (int hint : {1, 5, 13, -7}) {
        blacken();
        drawWithHint(hint);
        EXPECT_EQ(pixel(300, 300), artPixel(10025, 300 - 128, 300 - 175)) << hint;
        EXPECT_EQ(effect->getEditorHint(111), 0);
    }
    // No elements: a press changes nothing.
    press(1, Point(300, 300));
    EXPECT_EQ(panel->getActiveElement(), 0);
}

TEST_F(SettingsPanelTest, AnExposedPanelIsRepaintedWholeWhateverTheHint) {
    showPage(3);
    blacken();
    effect->setEditorHint(111, 2); // one element pending
    panel->drawRect(&surface, Rect(128, 175, 300, 300));
    EXPECT_EQ(pixel(131, 178), artPixel(10022, 3, 3));
    EXPECT_TRUE(touched(layout::kPageDFilterType));
    EXPECT_EQ(effect->getEditorHint(111), 0);
}

TEST_F(SettingsPanelTest, FrameIdleRefreshNeverDrawsThePanel) {
    showPage(3);
    blacken();
    panel->setDirty(true);
    panel->update(&surface);
    EXPECT_FALSE(touched(layout::kPageDFilterType));
}

TEST_F(SettingsPanelTest, WithoutAnEffectItDrawsPageAAndIgnoresPresses) {
    SettingsPanel* lonely = new SettingsPanel(Rect(128, 175, 678, 522), nullptr);
    blacken();
    lonely->draw(&surface);
    EXPECT_EQ(pixel(131, 178), artPixel(10016, 3, 3));
    input.script.push_front({1, Point(300, 300)});
    lonely->mouse(&surface, Point(300, 300));
    lonely->draw(nullptr);
    lonely->release();
}

class PanelInEditor : public ::testing::Test {
protected:
    PanelInEditor() : effect(MultibandEffect::create(recordingHost)) {
        editor = static_cast<MultibandEditor*>(effect->getEditor());
    }
    ~PanelInEditor() override { delete effect; }
    VstIntPtr dispatch(VstInt32 opcode, void* ptr = nullptr) {
        return effect->dispatcher(opcode, 0, 0, ptr, 0.0f);
    }
    HWND frameWindow() const { return editor->getFrame()->getWindow(); }
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
    SettingsPanel* findPanel() const {
        Frame* frame = editor->getFrame();
        for (long i = 0; frame && i < frame->getViewCount(); ++i)
            if (auto* panel = dynamic_cast<SettingsPanel*>(frame->getView(i))) return panel;
        return nullptr;
    }

    PanelInput input;
    TestWindow host;
    MultibandEffectBase* effect;
    MultibandEditor* editor;
};

TEST_F(PanelInEditor, OpensAtItsPlaceAndFollowsThePageSelector) {
    effect->setParameter(87, 3 / 6.0f); // page D
    ASSERT_EQ(dispatch(effEditOpen, host.handle), 1);
    SettingsPanel* panel = findPanel();
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(panel->viewSize(), Rect(128, 175, 678, 522));
    paint();
    EXPECT_EQ(screenPixel(131, 178), artPixel(10022, 3, 3));
    // The page selector writes the page; the effect raises hint 0 and refresh flag 4.
    effect->setParameterAutomated(87, 2 / 6.0f);
    EXPECT_TRUE(editor->isRefreshPending(4));
    dispatch(effEditIdle);
    EXPECT_EQ(screenPixel(131, 178), artPixel(10026, 3, 3));
    EXPECT_EQ(effect->getEditorHint(111), 0);
    dispatch(effEditClose);
}

TEST_F(PanelInEditor, OpenCloseAndEveryPageLeaveNoGdiObjectBehind) {
    const int objects = GdiCounter::liveObjects();
    const int contexts = GdiCounter::liveDeviceContexts();
    for (int cycle = 0; cycle < 30; ++cycle) {
        ASSERT_EQ(dispatch(effEditOpen, host.handle), 1);
        paint();
        for (int page = 0; page < 7; ++page) {
            effect->setParameter(87, page / 6.0f);
            dispatch(effEditIdle);
            for (int hint = 1; hint < 14; ++hint) {
                effect->setEditorHint(111, hint);
                editor->postUpdatePanel();
                dispatch(effEditIdle);
            }
        }
        dispatch(effEditClose);
    }
    EXPECT_EQ(GdiCounter::liveObjects(), objects);
    EXPECT_EQ(GdiCounter::liveDeviceContexts(), contexts);
}

} // namespace

} // namespace qv

#include "params/EditorNotification.h"

#include "params/ParameterIndex.h"

#include <gtest/gtest.h>

namespace qv {
namespace {

constexpr int kNo = -1; // no reaction on that page

// panelHint by page A..G for one parameter (every band of a band family).
struct PanelCase {
    int index;
    int hints[7];
};

void expectPanel(int index, const int (&hints)[7]) {
    for (int page = 0; page < 7; ++page) {
        const EditorNotification n = editorNotificationFor(index, page);
        if (hints[page] == kNo) {
            EXPECT_EQ(n.refresh, EditorRefresh::None) << "index " << index << " page " << page;
        } else {
            EXPECT_EQ(n.refresh, EditorRefresh::Panel) << "index " << index << " page " << page;
            EXPECT_EQ(n.hint, hints[page]) << "index " << index << " page " << page;
        }
    }
}

TEST(EditorNotificationTest, BandParametersByPage) {
    const struct {
        int (*index)(int);
        int hints[7];
    } rows[] = {
        {param::inLevelIndex, {4, 4, kNo, kNo, kNo, 10, kNo}},
        {param::outLevelIndex, {5, 5, kNo, kNo, kNo, 10, kNo}},
        {param::threshIndex, {2, 6, kNo, kNo, kNo, 10, kNo}},
        {param::ratioIndex, {3, 7, kNo, kNo, kNo, 10, kNo}},
        {param::atkCurveIndex, {9, 11, kNo, kNo, kNo, 10, kNo}},
        {param::atkIndex, {6, 8, kNo, kNo, kNo, 10, kNo}},
        {param::relModeIndex, {10, 12, kNo, kNo, kNo, 10, kNo}},
        {param::relMIndex, {7, 9, kNo, kNo, kNo, 10, kNo}},
        {param::relAIndex, {8, 10, kNo, kNo, kNo, 10, kNo}},
        {param::autoRelTypeIndex, {11, 13, kNo, kNo, kNo, 10, kNo}},
        // Never notify.
        {param::relIndex, {kNo, kNo, kNo, kNo, kNo, kNo, kNo}},
        {param::pwSwIndex, {kNo, kNo, kNo, kNo, kNo, kNo, kNo}},
        {param::compSwIndex, {kNo, kNo, kNo, kNo, kNo, kNo, kNo}},
    };
    for (const auto& row : rows)
        for (int b = 1; b <= kNumBands; ++b)
            expectPanel(row.index(b), row.hints);
}

TEST(EditorNotificationTest, SingleParametersByPage) {
    const PanelCase cases[] = {
        {54, {kNo, kNo, 1, kNo, kNo, kNo, kNo}},   {56, {kNo, 2, kNo, kNo, kNo, kNo, kNo}},
        {68, {kNo, kNo, 3, kNo, kNo, kNo, kNo}},   {69, {kNo, kNo, 4, kNo, kNo, kNo, kNo}},
        {70, {kNo, kNo, 6, kNo, kNo, kNo, kNo}},   {71, {kNo, kNo, 5, kNo, kNo, kNo, kNo}},
        {72, {kNo, kNo, 2, kNo, kNo, kNo, kNo}},   {73, {kNo, kNo, kNo, 1, kNo, kNo, kNo}},
        {74, {kNo, kNo, kNo, 2, kNo, kNo, kNo}},   {87, {0, 0, 0, 0, 0, 0, 0}},
        {88, {0, kNo, kNo, kNo, kNo, 2, kNo}},     {89, {kNo, kNo, kNo, kNo, kNo, 1, kNo}},
        {90, {kNo, 3, kNo, kNo, kNo, kNo, kNo}},   {91, {kNo, kNo, kNo, kNo, 2, kNo, kNo}},
        {92, {kNo, kNo, kNo, kNo, 3, kNo, kNo}},   {57, {kNo, kNo, kNo, kNo, kNo, kNo, kNo}},
        {58, {kNo, kNo, kNo, kNo, kNo, kNo, kNo}}, {93, {kNo, kNo, kNo, kNo, kNo, kNo, kNo}},
        {-1, {kNo, kNo, kNo, kNo, kNo, kNo, kNo}},
    };
    for (const PanelCase& c : cases)
        expectPanel(c.index, c.hints);
}

TEST(EditorNotificationTest, StripsAndOutputStageOnEveryPage) {
    for (int page = -1; page <= 7; ++page) {
        for (int k = 1; k <= 4; ++k) {
            EXPECT_EQ(editorNotificationFor(param::freqIndex(k), page).refresh,
                      EditorRefresh::CrossoverStrip);
            EXPECT_EQ(editorNotificationFor(param::redLinkIndex(k), page).refresh,
                      EditorRefresh::LinkStrip);
        }
        const struct {
            int index;
            int hint;
        } outputs[] = {{55, 2}, {75, 3}, {76, 4}};
        for (const auto& o : outputs) {
            const EditorNotification n = editorNotificationFor(o.index, page);
            EXPECT_EQ(n.refresh, EditorRefresh::OutputStage);
            EXPECT_EQ(n.hint, o.hint);
        }
    }
}

TEST(EditorNotificationTest, PagesOutsideTheSevenDoNothing) {
    for (int page : {-1, 7, 1 << 30}) {
        EXPECT_EQ(editorNotificationFor(param::kCp1Thresh, page).refresh, EditorRefresh::None);
        EXPECT_EQ(editorNotificationFor(param::kPanelPage, page).refresh, EditorRefresh::None);
    }
}

TEST(EditorNotificationTest, MergeHintAsksForTheWholeViewWhenTwoElementsAreUndrawn) {
    const struct {
        int pending;
        bool undrawn;
        int incoming;
        int stored;
    } rows[] = {
        {0, false, 3, 3},             // the view has drawn: the element alone
        {1, false, 3, 3},             // meter readings are simply replaced
        {7, false, 3, 3},             // a drawn hint left by the view itself
        {3, true, 3, 3},              // the same element again
        {3, true, 2, kHintWholeView}, // a second element before the redraw
        {0, true, 4, kHintWholeView}, // an element after an undrawn page change
        {kHintWholeView, true, 5, kHintWholeView},
        {3, true, 0, 0}, // a page change is drawn whole anyway
    };
    for (const auto& r : rows)
        EXPECT_EQ(mergeHint(r.pending, r.undrawn, r.incoming), r.stored)
            << r.pending << " " << r.undrawn << " " << r.incoming;
}

} // namespace
} // namespace qv

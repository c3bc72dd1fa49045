#include "view/RenderTracker.h"
#include "compose/ComposeFixture.h"

#include <QPainter>

#include <functional>

namespace {

using Extent = RenderTracker::Extent;

// A composed picture with two placed text items and one hidden, rendered and noted.
class Tracking : public ::testing::Test {
protected:
    Tracking() : f(1200, 800) {
        for (const char* name : {"First", "Second", "Hidden"}) {
            const int i = ComposeFixture::addItem(f.templ, kTagLabel, name, 1);
            f.templ.item(i).label = std::string(name) + " 2001";
            f.templ.item(i).anchor = i == 0 ? 2 : 0;
        }
        f.applyAndRender();
        f.picture.item(2).visible = 0;
        f.picture.RenderDatedImage();
        tracker.noteRendered(f.picture);
    }

    ImprintItem& item(int i) { return f.picture.item(i); }

    ComposeFixture f;
    RenderTracker tracker;
};

} // namespace

TEST(RenderTracker, plansAWholeRenderBeforeAnyWasNoted) {
    ComposeFixture f(100, 80);
    f.applyAndRender();
    EXPECT_EQ(RenderTracker().plan(f.picture).extent, Extent::Whole);
}

TEST_F(Tracking, plansNothingWhenNothingChanged) {
    EXPECT_EQ(tracker.plan(f.picture).extent, Extent::Nothing);
    item(2).posX += 40; // hidden items may move freely
    EXPECT_EQ(tracker.plan(f.picture).extent, Extent::Nothing);
}

TEST_F(Tracking, plansWhereAMovedOrTurnedItemWasAndIs) {
    const QRect before = f.picture.ItemCoverage(0);
    item(0).posX += 300;
    item(0).angle = 20;
    const RenderTracker::Plan plan = tracker.plan(f.picture);
    EXPECT_EQ(plan.extent, Extent::Region);
    EXPECT_EQ(plan.region, QRegion(before).united(f.picture.ItemCoverage(0)));
}

TEST_F(Tracking, plansWhereAHiddenOrRecolouredItemWas) {
    const QRect first = f.picture.ItemCoverage(0), second = f.picture.ItemCoverage(1);
    item(0).visible = 0;
    item(1).color = 0x00FF00;
    const RenderTracker::Plan plan = tracker.plan(f.picture);
    EXPECT_EQ(plan.extent, Extent::Region);
    EXPECT_EQ(plan.region, QRegion(first).united(second));
}

TEST_F(Tracking, plansAWholeRenderForWhatMayChangeSizesOrEveryPixel) {
    const std::vector<std::pair<const char*, std::function<void(CDatedPicture&)>>> changes = {
        {"new text", [](CDatedPicture& p) { p.item(0).label = "Longer text than before"; }},
        {"new font size", [](CDatedPicture& p) { p.item(1).fontSize = 30; }},
        {"item shown, never measured there", [](CDatedPicture& p) { p.item(2).visible = 1; }},
        {"white space colour", [](CDatedPicture& p) { p.whiteColor = 0x123456; }},
        {"date format", [](CDatedPicture& p) { p.dateFormat = "%Y"; }},
        {"painted by someone else",
         [](CDatedPicture& p) { QPainter(&p.workPicture->image()).fillRect(0, 0, 5, 5, Qt::red); }},
        {"a new work picture", [this](CDatedPicture& p) { p.ApplyTemplate(f.templ, f.user); }},
    };
    for (const auto& [what, change] : changes) {
        change(f.picture);
        EXPECT_EQ(tracker.plan(f.picture).extent, Extent::Whole) << what;
        f.picture.RenderDatedImage();
        tracker.noteRendered(f.picture);
        EXPECT_EQ(tracker.plan(f.picture).extent, Extent::Nothing) << what << ", once rendered";
    }
}

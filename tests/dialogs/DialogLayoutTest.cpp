// The geometry rules of the customisable dialogs, as tables.
#include "dialogs/DialogLayout.h"

#include <gtest/gtest.h>

namespace {

const LayoutSize kMain{200, 100};
const TDialogEdgeSpace kNoSpace;
const TDialogEdgeSpace kSpaces(10, 5, 20, 15);

TEST(DialogLayoutTest, MinimumClientGrowsByTheSubFormOnItsSide) {
    struct Case {
        TSubFormPos pos;
        LayoutSize sub;
        TDialogEdgeSpace space;
        LayoutSize expected;
    };
    const Case cases[] = {
        {fpLeft, {50, 40}, kNoSpace, {250, 100}},
        {fpRight, {50, 150}, kNoSpace, {250, 150}},  // a taller sub form sets the height
        {fpTop, {50, 40}, kNoSpace, {200, 140}},
        {fpBottom, {300, 40}, kNoSpace, {300, 140}},
        {fpClient, {300, 400}, kNoSpace, {200, 100}},   // behind the controls, no room of its own
        {fpClient, {0, 0}, kSpaces, {200, 100}},        // no sub form, no spaces
        {fpClient, {300, 40}, kSpaces, {300, 120}},     // spaces above or below: its width counts
        {fpClient, {20, 400}, TDialogEdgeSpace(10, 0, 0, 0), {210, 400}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(int(c.pos));
        const LayoutSize got = MinClientSize(kMain, c.sub, c.pos, c.space);
        EXPECT_EQ(got.width, c.expected.width);
        EXPECT_EQ(got.height, c.expected.height);
    }
}

TEST(DialogLayoutTest, ClientSplitsBetweenControlsAndSubForm) {
    const TSubFormAnchors onlyRightFree = AnchorBit(faLeft) | AnchorBit(faTop) | AnchorBit(faBottom);
    struct Case {
        const char* name;
        TSubFormPos pos;
        LayoutSize client;
        TDialogEdgeSpace space;
        bool shareSpare;
        TSubFormAnchors anchors;
        LayoutRect main;
        LayoutRect sub;
    };
    const Case cases[] = {
        {"left", fpLeft, {300, 100}, kNoSpace, true, AllAnchors, {50, 0, 300, 100}, {0, 0, 50, 100}},
        {"right", fpRight, {400, 300}, kNoSpace, true, AllAnchors, {0, 0, 350, 300}, {350, 0, 400, 300}},
        {"top", fpTop, {200, 200}, kNoSpace, true, AllAnchors, {0, 40, 200, 200}, {0, 0, 200, 40}},
        {"bottom", fpBottom, {200, 200}, kNoSpace, true, AllAnchors, {0, 0, 200, 160}, {0, 160, 200, 200}},
        {"behind, no spaces", fpClient, {300, 200}, kNoSpace, true, AllAnchors, {0, 0, 300, 200}, {0, 0, 300, 200}},
        {"behind, exact", fpClient, {230, 120}, kSpaces, true, AllAnchors, {10, 5, 210, 105}, {0, 0, 230, 120}},
        {"behind, anchored", fpClient, {330, 120}, kSpaces, true, AllAnchors, {10, 5, 310, 105}, {0, 0, 330, 120}},
        // Below the minimum the spaces shrink in proportion...
        {"behind, narrow", fpClient, {215, 120}, kSpaces, true, AllAnchors, {5, 5, 205, 105}, {0, 0, 215, 120}},
        // ...and with no room at all they are 0, never a wrapped-round huge value.
        {"behind, too small", fpClient, {190, 90}, kSpaces, true, AllAnchors, {0, 0, 190, 90}, {0, 0, 190, 90}},
        {"side too small", fpLeft, {220, 100}, kNoSpace, true, AllAnchors, {20, 0, 220, 100}, {0, 0, 20, 100}},
        // Spare room goes to free sides: shared in proportion, or to the one free side.
        {"free sides", fpClient, {330, 150}, kSpaces, true, 0, {43, 12, 243, 112}, {0, 0, 330, 150}},
        {"right free", fpClient, {330, 120}, kSpaces, true, onlyRightFree, {10, 5, 210, 105}, {0, 0, 330, 120}},
        {"self-sizing", fpClient, {330, 120}, kSpaces, false, 0, {10, 5, 310, 105}, {0, 0, 330, 120}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const ControlsLayout got =
            LayoutControls(c.client, kMain, {50, 40}, c.pos, c.space, c.shareSpare, c.anchors);
        EXPECT_EQ(got.main, c.main) << got.main.left << "," << got.main.top << "," << got.main.right << ","
                                    << got.main.bottom;
        EXPECT_EQ(got.sub, c.sub);
        EXPECT_EQ(got.edge.LeftSpace(), unsigned(got.main.left));
        EXPECT_EQ(got.edge.RightSpace(), unsigned(c.client.width - got.main.right));
    }
}

TEST(DialogLayoutTest, OpeningPlaceAndSize) {
    const LayoutRect screen{0, 0, 801, 601};
    const LayoutRect second{801, 0, 1601, 600};
    const std::vector<LayoutRect> screens{screen, second};
    struct Case {
        const char* name;
        std::optional<LayoutRect> last;
        LayoutRect expected;
    };
    const Case cases[] = {
        {"never shown: centred at a third", std::nullopt, {300, 167, 500, 267}},
        {"position only: minimum size there", LayoutRect{40, 30, 40, 30}, {40, 30, 240, 130}},
        {"last rectangle", LayoutRect{900, 10, 1300, 410}, {900, 10, 1300, 410}},
        {"larger than its screen", LayoutRect{900, 10, 2900, 1010}, {900, 10, 1700, 610}},
        {"on no present screen", LayoutRect{5000, 10, 5300, 410}, {300, 167, 500, 267}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(OpeningRect(c.last, {200, 100}, screens, screen), c.expected);
    }
    EXPECT_EQ(ClampSize({100, 50}, {900, 700}, {800, 600}), (LayoutSize{800, 600}));
    // Moved while open: anywhere on a screen, else back onto its own screen.
    EXPECT_EQ(KeepOnScreen({1500, 500}, {200, 100}, screens, screen), (LayoutPoint{1500, 500}));
    EXPECT_EQ(KeepOnScreen({-9000, 9000}, {200, 100}, screens, screen), (LayoutPoint{0, 501}));
    EXPECT_EQ(KeepOnScreen({9000, -5}, {900, 100}, screens, screen), (LayoutPoint{0, 0}));
}

TEST(DialogLayoutTest, EdgeSpaceIndexesOutsideTheFourSidesChangeNothing) {
    TDialogEdgeSpace space(1, 2, 3, 4);
    space.SetEdgeSpace(4, 9);
    space.SetEdgeSpace(-1, 9);
    space.SetEdgeSpace(2, 7);
    EXPECT_EQ(space, TDialogEdgeSpace(1, 2, 7, 4));
}

}  // namespace

// The graphics window's view: ground to screen with north up and east right
// at one scale for both axes, the whole network fitted with its symbols and
// labels, zooming, panning and the zoom window.

#include "vistra/view_transform.hpp"

#include <gtest/gtest.h>

#include <vector>

namespace {

// Two corners of a network 100 wide (east) and 200 tall (north).
const std::vector<placedItem> tallNetwork = {{{0.0, 0.0}, {}}, {{100.0, 200.0}, {}}};

// Fitted in a 400 x 300 client area: 376 x 276 pixels inside the margins of
// 12; the north side decides, 276 / 200 = 1.38 pixels per unit, and the
// network's middle (50, 100) lands on the client's middle (200, 150).
viewTransform fittedView() {
    viewTransform view;
    view.setExtents(0.0, 0.0, 200.0, 100.0);
    view.zoomExtents(tallNetwork, 400, 300);
    return view;
}

TEST(ViewTransform, OneScaleForBothAxesNorthUpEastRight) {
    const viewTransform view = fittedView();
    EXPECT_DOUBLE_EQ(view.mapping().pixelsPerUnit, 1.38);
    struct Case {
        double east, north;
        int x, y;
    } cases[] = {
        {50.0, 100.0, 200, 150},  // the middle
        {100.0, 100.0, 269, 150}, // 50 east: 200 + 69
        {0.0, 100.0, 131, 150},   // 50 west
        {50.0, 150.0, 200, 81},   // 50 north: the same 69 pixels, upwards
        {50.0, 50.0, 200, 219},   // 50 south
        {50.0, 200.0, 200, 12},   // the northern edge on the top margin
        {50.0, 0.0, 200, 288},    // the southern edge on the bottom margin
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.east << " " << c.north);
        const devicePoint d = view.toDevice(c.east, c.north);
        EXPECT_EQ(d.x, c.x);
        EXPECT_EQ(d.y, c.y);
        const groundPoint g = view.toGround(d);
        EXPECT_NEAR(g.east, c.east, 0.5 / 1.38);
        EXPECT_NEAR(g.north, c.north, 0.5 / 1.38);
    }
}

// Whether every item's reach lies inside the client area less the margins,
// and the picture spans the room of at least one axis (no larger scale fits).
void expectFittedTightly(const viewTransform& view, const std::vector<placedItem>& items, int width,
                         int height) {
    int left = width, top = height, right = 0, bottom = 0;
    for (const placedItem& item : items) {
        const devicePoint at = view.toDevice(item.at.east, item.at.north);
        left = std::min(left, at.x + std::min(item.reach.left, 0));
        top = std::min(top, at.y + std::min(item.reach.top, 0));
        right = std::max(right, at.x + std::max(item.reach.right, 0));
        bottom = std::max(bottom, at.y + std::max(item.reach.bottom, 0));
    }
    const int m = zoomExtentsMargin;
    EXPECT_GE(left, m - 1);
    EXPECT_GE(top, m - 1);
    EXPECT_LE(right, width - m + 1);
    EXPECT_LE(bottom, height - m + 1);
    const bool fillsAcross = left <= m + 1 && right >= width - m - 1;
    const bool fillsDown = top <= m + 1 && bottom >= height - m - 1;
    EXPECT_TRUE(fillsAcross || fillsDown) << left << " " << top << " " << right << " " << bottom;
    // Centred: the free room is shared alike on both sides.
    EXPECT_NEAR(left - m, width - m - right, 2);
    EXPECT_NEAR(top - m, height - m - bottom, 2);
}

TEST(ViewTransform, ZoomExtentsKeepsEverySymbolAndLabelInside) {
    struct Case {
        const char* what;
        std::vector<placedItem> items;
        double scale; // pixels per unit, worked out by hand
    } cases[] = {
        // West point's label 60 wide and 20 high, east point's symbol 5 round:
        // across 100 s + 5 (the symbol) - 0 (the west point) <= 376.
        {"label and symbol on one line",
         {{{0.0, 0.0}, {6, 6, 60, 20}}, {{100.0, 0.0}, {-5, -5, 5, 5}}},
         3.71},
        // The labels of the southern point hang below it: down 200 s + 30 <= 276.
        {"labels below the south",
         {{{0.0, 0.0}, {6, 6, 40, 30}}, {{0.0, 200.0}, {-5, -5, 5, 5}}},
         (276.0 - 35.0) / 200.0},
        // Four corners of a square with symbols: 100 s + 10 <= 276 down.
        {"a square",
         {{{0.0, 0.0}, {-5, -5, 5, 5}},
          {{100.0, 0.0}, {-5, -5, 5, 5}},
          {{0.0, 100.0}, {-5, -5, 5, 5}},
          {{100.0, 100.0}, {-5, -5, 5, 5}}},
         2.66},
        // Far from the origin, as grid coordinates are.
        {"grid coordinates",
         {{{500000.0, 4000000.0}, {-4, -4, 4, 4}}, {{500400.0, 4000100.0}, {-4, -4, 30, 14}}},
         (376.0 - 34.0) / 400.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        viewTransform view;
        view.zoomExtents(c.items, 400, 300);
        EXPECT_NEAR(view.mapping().pixelsPerUnit, c.scale, 1e-9);
        expectFittedTightly(view, c.items, 400, 300);
    }
}

// Labels wider than the window cannot all be inside: the points are.
TEST(ViewTransform, ReachWiderThanTheWindowFitsThePoints) {
    const std::vector<placedItem> items = {{{0.0, 0.0}, {0, 0, 500, 10}}, {{10.0, 10.0}, {}}};
    viewTransform view;
    view.zoomExtents(items, 400, 300);
    EXPECT_DOUBLE_EQ(view.mapping().pixelsPerUnit, 27.6); // 276 / 10
    const devicePoint sw = view.toDevice(0.0, 0.0);
    const devicePoint ne = view.toDevice(10.0, 10.0);
    EXPECT_EQ(ne.y, 12);
    EXPECT_EQ(sw.y, 288);
    EXPECT_EQ(sw.x + ne.x, 400);
}

TEST(ViewTransform, ASinglePointIsCentredAtTheScaleItHad) {
    viewTransform view = fittedView();
    const std::vector<placedItem> one = {{{30.0, 40.0}, {-5, -5, 5, 5}}};
    view.zoomExtents(one, 400, 300);
    EXPECT_DOUBLE_EQ(view.mapping().pixelsPerUnit, 1.38);
    const devicePoint at = view.toDevice(30.0, 40.0);
    EXPECT_EQ(at.x, 200);
    EXPECT_EQ(at.y, 150);
}

TEST(ViewTransform, ResizeKeepsTheMiddleInTheMiddle) {
    viewTransform view = fittedView();
    view.resize(400, 300);
    view.armPan();
    view.pressPan({0, 0});
    view.releasePan({20, -10}); // ground (50, 100) now at (220, 140)
    const groundPoint middle = view.toGround({200, 150});
    view.resize(600, 500);
    const devicePoint at = view.toDevice(middle.east, middle.north);
    EXPECT_EQ(at.x, 300);
    EXPECT_EQ(at.y, 250);
    EXPECT_DOUBLE_EQ(view.mapping().pixelsPerUnit, 1.38);
}

TEST(ViewTransform, ZoomInThenOutReturnsTheView) {
    viewTransform view = fittedView();
    const viewMapping before = view.mapping();
    view.zoomIn();
    EXPECT_DOUBLE_EQ(view.mapping().pixelsPerUnit, 2.76);
    const devicePoint east = view.toDevice(100.0, 100.0);
    EXPECT_EQ(east.x, 200 + 138);
    EXPECT_TRUE(view.zoomOut());
    EXPECT_EQ(view.mapping(), before);
}

// The network's 200-unit side is 1.38 * 200 = 276 pixels; halving it seven
// times leaves 2.16, the eighth 1.08, and below 2 pixels zoom out stops.
TEST(ViewTransform, ZoomOutStopsBelowTwoPixels) {
    viewTransform view = fittedView();
    for (int i = 0; i < 8; ++i)
        ASSERT_TRUE(view.zoomOut()) << i;
    EXPECT_NEAR(view.networkPixels(), 1.078125, 1e-9);
    view.armPan();
    const viewMapping before = view.mapping();
    EXPECT_FALSE(view.zoomOut());
    EXPECT_EQ(view.mapping(), before);
    EXPECT_EQ(view.panState(), 1); // not even the modes are cancelled
}

TEST(ViewTransform, PanMovesTheOriginByTheWholeDrag) {
    for (int moves : {0, 1, 5}) {
        viewTransform view = fittedView();
        view.armPan();
        view.pressPan({100, 100});
        for (int i = 1; i <= moves; ++i)
            view.movePan({100 + 6 * i, 100 - 3 * i});
        view.releasePan({130, 80});
        EXPECT_EQ(view.mapping().origin.x, 200 + 30) << moves;
        EXPECT_EQ(view.mapping().origin.y, 150 - 20) << moves;
        EXPECT_EQ(view.panState(), 1) << "pan stays armed";
    }
}

TEST(ViewTransform, EscapeCancelsAPanButNotAZoomWindow) {
    viewTransform view = fittedView();
    view.armPan();
    view.cancelPan();
    EXPECT_EQ(view.panState(), 0);
    view.armZoomWindow();
    view.cancelPan();
    EXPECT_EQ(view.zoomWindowState(), 1);
}

// A box 200 wide and 100 high in a 400 x 300 client area: the width decides
// (twice, against three times for the height), so the whole box shows.
TEST(ViewTransform, ZoomWindowShowsTheWholeBoxAtOneScale) {
    viewTransform view = fittedView();
    const groundPoint boxMiddle = view.toGround({200, 125});
    view.armZoomWindow();
    view.pressZoomWindow({100, 75}, 400, 300);
    view.moveZoomWindow({250, 200});
    EXPECT_EQ(view.movingCorner().x, 250);
    view.pressZoomWindow({300, 175}, 400, 300);
    EXPECT_EQ(view.zoomWindowState(), 0);
    EXPECT_DOUBLE_EQ(view.mapping().pixelsPerUnit, 2.76);
    const devicePoint middle = view.toDevice(boxMiddle.east, boxMiddle.north);
    EXPECT_EQ(middle.x, 200);
    EXPECT_EQ(middle.y, 150);
}

TEST(ViewTransform, ZeroSizeZoomWindowChangesNothing) {
    for (devicePoint second : {devicePoint{10, 50}, devicePoint{60, 10}, devicePoint{10, 10}}) {
        viewTransform view = fittedView();
        const viewMapping before = view.mapping();
        view.armZoomWindow();
        view.pressZoomWindow({10, 10}, 400, 300);
        view.pressZoomWindow(second, 400, 300);
        EXPECT_EQ(view.mapping(), before);
        EXPECT_EQ(view.zoomWindowState(), 0);
    }
}

TEST(ViewTransform, PickingNeedsTheRestStateAndANetworkOverAPixel) {
    viewTransform view = fittedView();
    EXPECT_TRUE(view.canPick());
    view.armPan();
    EXPECT_FALSE(view.canPick());
    view.cancelModes();
    while (view.zoomOut()) {
    }
    EXPECT_TRUE(view.canPick()); // 1.08 pixels
    viewTransform tiny;
    tiny.setExtents(0.0, 0.0, 1.0, 0.5); // one unit at one pixel per unit
    EXPECT_FALSE(tiny.canPick());
}

} // namespace

// 276 pixels doubled twelve times is 1,130,496, beyond the 1,048,576 the
// network's side may reach: the twelfth step stops there, the thirteenth
// does nothing, and zoom out still halves from there.
TEST(ViewTransform, ZoomInStopsAtTheLargestScale) {
    viewTransform view = fittedView();
    for (int i = 0; i < 12; ++i)
        ASSERT_TRUE(view.zoomIn()) << i;
    EXPECT_DOUBLE_EQ(view.networkPixels(), largestNetworkPixels);
    EXPECT_FALSE(view.zoomIn());
    EXPECT_DOUBLE_EQ(view.networkPixels(), largestNetworkPixels);
    ASSERT_TRUE(view.zoomOut());
    EXPECT_DOUBLE_EQ(view.networkPixels(), largestNetworkPixels / 2);
}

// A box of 2 x 2 pixels fills 400 x 300 at 150 times the scale; from
// over 2^18 pixels that would pass the largest scale, which holds.
TEST(ViewTransform, ZoomWindowStopsAtTheLargestScale) {
    viewTransform view = fittedView();
    while (view.networkPixels() < largestNetworkPixels / 4)
        ASSERT_TRUE(view.zoomIn());
    view.armZoomWindow();
    view.pressZoomWindow({100, 100}, 400, 300);
    view.pressZoomWindow({102, 102}, 400, 300);
    EXPECT_DOUBLE_EQ(view.networkPixels(), largestNetworkPixels);
}

// The fitted view puts ground (50, 100) at pixel (200, 150), 1.38 pixels a
// unit. Each line's ends are worked out by hand on the 402 x 302 rectangle
// from (-1, -1) to (401, 301).
TEST(ViewTransform, LinesAreClippedToTheClientArea) {
    const viewTransform view = fittedView();
    struct Case {
        const char* what;
        groundPoint a, b;
        bool shown;
        deviceSegment expected;
    };
    const Case cases[] = {
        // (0, 0) -> (131, 288) and (100, 200) -> (269, 12): both inside.
        {"inside", {0.0, 0.0}, {100.0, 200.0}, true, {{131, 288}, {269, 12}}},
        // Due east from the middle to 9e6 pixels away: cut at x = 401.
        {"far east", {50.0, 100.0}, {50.0 + 9e6 / 1.38, 100.0}, true, {{200, 150}, {401, 150}}},
        // Due south-west from the middle, 9e6 pixels along each axis: the
        // line leaves through the bottom (y = 301) at x = 200 - 151 = 49.
        {"far south-west",
         {50.0, 100.0},
         {50.0 - 9e6 / 1.38, 100.0 - 9e6 / 1.38},
         true,
         {{200, 150}, {49, 301}}},
        // From far west to far east through the middle row: the whole width.
        {"across", {50.0 - 1e7, 100.0}, {50.0 + 1e7, 100.0}, true, {{-1, 150}, {401, 150}}},
        // Wholly above the client area, and wholly left of it.
        {"above", {0.0, 300.0}, {100.0, 400.0}, false, {}},
        {"left", {-1e6, -1e6}, {-1e6, 1e6}, false, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::optional<deviceSegment> line = view.clippedLine(c.a, c.b, 400, 300);
        ASSERT_EQ(line.has_value(), c.shown);
        if (!c.shown)
            continue;
        EXPECT_EQ(line->from.x, c.expected.from.x);
        EXPECT_EQ(line->from.y, c.expected.from.y);
        EXPECT_EQ(line->to.x, c.expected.to.x);
        EXPECT_EQ(line->to.y, c.expected.to.y);
    }
}

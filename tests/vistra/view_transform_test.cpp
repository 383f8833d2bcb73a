// The graphics window's view: ground to screen with north up and east right,
// zooming, panning and the zoom window.

#include "vistra/view_transform.hpp"

#include <gtest/gtest.h>

namespace {

// A network 100 wide (east) and 200 tall (north), centred on (50, 100), shown
// in a 400 x 300 client area after zoom extents: vx 400, vy trunc(-0.85 *
// 300) = -255, origin at the centre (200, 150).
viewTransform fittedView() {
    viewTransform view;
    view.setExtents(0.0, 0.0, 200.0, 100.0);
    view.zoomExtents(400, 300);
    return view;
}

TEST(ViewTransform, ExtentsAndInitialViewFollowTheNetwork) {
    viewTransform view;
    view.setExtents(0.0, 0.0, 200.0, 100.0);
    view.setInitialView(400, 300);
    const viewMapping& m = view.mapping();
    EXPECT_EQ(m.windowExtentX, 100);
    EXPECT_EQ(m.windowExtentY, 200);
    EXPECT_EQ(m.windowOriginX, 50);
    EXPECT_EQ(m.windowOriginY, 100);
    EXPECT_EQ(m.viewportExtentX, 400);
    EXPECT_EQ(m.viewportExtentY, -225); // trunc(-0.75 * 300)
    EXPECT_EQ(m.viewportOriginX, 40);   // 400 / 10
    EXPECT_EQ(m.viewportOriginY, 300);
}

TEST(ViewTransform, NorthRunsUpAndEastRunsRight) {
    viewTransform view = fittedView();
    struct Case {
        double east, north;
        int x, y;
    } cases[] = {
        {50.0, 100.0, 200, 150},  // the window origin lands on the viewport origin
        {100.0, 100.0, 400, 150}, // 200 + 50 * 400 / 100
        {0.0, 100.0, 0, 150},     {50.0, 180.0, 200, 48}, // 150 + 80 * -255 / 200 = 150 - 102
        {50.0, 20.0, 200, 252},                           // 150 - 80 * -255 / 200
    };
    for (const Case& c : cases) {
        devicePoint d = view.toDevice(c.east, c.north);
        EXPECT_EQ(d.x, c.x) << c.east << " " << c.north;
        EXPECT_EQ(d.y, c.y) << c.east << " " << c.north;
        groundPoint g = view.toGround(d);
        EXPECT_NEAR(g.east, c.east, 1e-9);
        EXPECT_NEAR(g.north, c.north, 1e-9);
    }
}

TEST(ViewTransform, ZoomInThenOutReturnsTheView) {
    viewTransform view = fittedView();
    const viewMapping before = view.mapping();
    view.zoomIn();
    EXPECT_EQ(view.mapping().viewportExtentX, 800);
    EXPECT_EQ(view.mapping().viewportExtentY, -510);
    EXPECT_TRUE(view.zoomOut());
    EXPECT_EQ(view.mapping(), before);
}

TEST(ViewTransform, ZoomOutStopsAtTheSmallestVerticalScale) {
    for (int extent : {1, -1}) {
        viewTransform view;
        view.setInitialView(4, 2); // vy = trunc(-0.75 * 2) = -1
        if (extent > 0)
            view.zoomExtents(4, -2); // vy = trunc(-0.85 * -2) = 1
        ASSERT_EQ(view.mapping().viewportExtentY, extent);
        view.armPan();
        const viewMapping before = view.mapping();
        EXPECT_FALSE(view.zoomOut());
        EXPECT_EQ(view.mapping(), before);
        EXPECT_EQ(view.panState(), 1); // not even the modes are cancelled
    }
}

TEST(ViewTransform, PanMovesTheOriginByTheWholeDrag) {
    for (int moves : {0, 1, 5}) {
        viewTransform view = fittedView();
        view.armPan();
        view.pressPan({100, 100});
        for (int i = 1; i <= moves; ++i)
            view.movePan({100 + 6 * i, 100 - 3 * i});
        view.releasePan({130, 80});
        EXPECT_EQ(view.mapping().viewportOriginX, 200 + 30) << moves;
        EXPECT_EQ(view.mapping().viewportOriginY, 150 - 20) << moves;
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

TEST(ViewTransform, ZoomWindowCentresAndScalesTheBox) {
    viewTransform view = fittedView();
    view.armZoomWindow();
    view.pressZoomWindow({100, 75}, 400, 300);
    view.moveZoomWindow({250, 200});
    EXPECT_EQ(view.movingCorner().x, 250);
    view.pressZoomWindow({300, 225}, 400, 300);
    const viewMapping& m = view.mapping();
    EXPECT_EQ(view.zoomWindowState(), 0);
    // Box centre (200, 150) is the old viewport origin: ground (50, 100).
    EXPECT_EQ(m.windowOriginX, 50);
    EXPECT_EQ(m.windowOriginY, 100);
    EXPECT_EQ(m.viewportExtentX, 800);  // 400 / 200 * 400
    EXPECT_EQ(m.viewportExtentY, -510); // 300 / 150 * -255
    EXPECT_EQ(m.viewportOriginX, 200);
    EXPECT_EQ(m.viewportOriginY, 150);
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

TEST(ViewTransform, PickingNeedsTheRestStateAndAVerticalScale) {
    viewTransform view = fittedView();
    EXPECT_TRUE(view.canPick());
    view.armPan();
    EXPECT_FALSE(view.canPick());
    viewTransform flat;
    flat.setInitialView(4, 2);
    EXPECT_FALSE(flat.canPick());
}

} // namespace

// Drawing the network into a memory bitmap: north up, east right, which
// items each setting shows, the symbols' shapes and the error ellipses.

#include "vistra/draw/network_drawing.hpp"

#include "platform/shell_services.hpp"

#include <gtest/gtest.h>

#include <wx/dcmemory.h>
#include <wx/image.h>

#include <numbers>

namespace {

constexpr int side = 200;

// An 88 x 88 ground square fitted to the 200 x 200 bitmap, 176 pixels inside
// the margins: ground (50, 50) at pixel (100, 100), one ground unit 2 pixels
// north or east.
class NetworkDrawing : public ::testing::Test {
protected:
    NetworkDrawing() {
        const placedItem corners[] = {{{6.0, 6.0}, {}}, {{94.0, 94.0}, {}}};
        view.setExtents(6.0, 6.0, 94.0, 94.0);
        view.zoomExtents(corners, side, side);
        settings.traverse.textOn = 0;
        settings.control.textOn = 0;
    }

    wxImage draw(std::optional<double> scale = 1.0) {
        wxBitmap bitmap(side, side, 24);
        {
            wxMemoryDC dc(bitmap);
            dc.SetBackground(*wxWHITE_BRUSH);
            dc.Clear();
            drawNetwork(dc, {model, view, settings, ellipses, scale});
        }
        return bitmap.ConvertToImage();
    }

    // Whether any pixel within one of (x, y) is drawn.
    static bool inked(const wxImage& image, int x, int y) {
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx) {
                const int px = x + dx, py = y + dy;
                if (image.GetRed(px, py) < 250 || image.GetGreen(px, py) < 250 ||
                    image.GetBlue(px, py) < 250)
                    return true;
            }
        return false;
    }

    static int inkCount(const wxImage& image) {
        int count = 0;
        for (int y = 0; y < side; ++y)
            for (int x = 0; x < side; ++x)
                count += image.GetRed(x, y) < 250 || image.GetGreen(x, y) < 250 ||
                         image.GetBlue(x, y) < 250;
        return count;
    }

    void addSetup(double direction, double distance) {
        graphSetup s;
        setPointName(s.instrument, "I");
        setPointName(s.backsight, "B");
        s.instrumentN = 50.0;
        s.instrumentE = 50.0;
        s.direction = direction;
        s.backsightDist = distance;
        ASSERT_EQ(model.appendSetup(s), 0);
    }

    void addControl(const char* name, int type = 1) {
        graphPoint p;
        setPointName(p.name, name);
        p.northing = 50.0;
        p.easting = 50.0;
        p.pointType = type;
        ASSERT_EQ(model.appendPoint(p), 0);
    }

    void addEllipse(const char* name, double orientation, double major, double minor) {
        errEllipseRec e;
        std::snprintf(e.name, sizeof e.name, "%s", name);
        e.orientation = orientation;
        e.semiMajor = major;
        e.semiMinor = minor;
        ellipses.push_back(e);
    }

    RecordingShell shell;
    rawDataGraph model{shell};
    viewTransform view;
    graphSettings settings;
    std::vector<errEllipseRec> ellipses;
};

TEST_F(NetworkDrawing, NorthIsUpAndEastIsRight) {
    settings.traverse.symbolOn = 0;
    struct Case {
        double azimuth;
        int x, y;       // a pixel halfway to the backsight
        int oppX, oppY; // the same distance the other way
    } cases[] = {
        {0.0, 100, 60, 100, 140},                  // 20 north: 40 pixels up
        {std::numbers::pi / 2, 140, 100, 60, 100}, // 20 east: 40 pixels right
    };
    for (const Case& c : cases) {
        model.refresh();
        addSetup(c.azimuth, 40.0);
        const wxImage image = draw();
        EXPECT_TRUE(inked(image, c.x, c.y)) << c.azimuth;
        EXPECT_FALSE(inked(image, c.oppX, c.oppY)) << c.azimuth;
        EXPECT_EQ(image.GetRed(c.x, c.y), 255);
    }
}

// A backsight 4.5 million units away lies 9 million pixels off: the line
// still leaves the instrument towards it, in all four directions.
TEST_F(NetworkDrawing, ALineToAFarEndKeepsItsDirection) {
    settings.traverse.symbolOn = 0;
    struct Case {
        double azimuth;
        int x, y;       // a pixel 40 pixels towards the backsight
        int oppX, oppY; // the same distance the other way
    } cases[] = {
        {0.0, 100, 60, 100, 140},
        {std::numbers::pi / 2, 140, 100, 60, 100},
        {std::numbers::pi, 100, 140, 100, 60},
        {3 * std::numbers::pi / 2, 60, 100, 140, 100},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.azimuth);
        model.refresh();
        addSetup(c.azimuth, 4.5e6);
        const wxImage image = draw();
        EXPECT_TRUE(inked(image, c.x, c.y));
        EXPECT_FALSE(inked(image, c.oppX, c.oppY));
    }
}

// Whether any pixel of the box from (x0, y0) to (x1, y1) is drawn.
bool inkedBox(const wxImage& image, int x0, int y0, int x1, int y1) {
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x)
            if (image.GetRed(x, y) < 250 || image.GetGreen(x, y) < 250 || image.GetBlue(x, y) < 250)
                return true;
    return false;
}

// The default traverse text size is 4 pixels, too small to read: the name
// is drawn at the smallest legible size instead of being left out. It starts
// 1.2 symbol sizes (trunc 4.8 = 4 pixels) right of and below the point.
TEST_F(NetworkDrawing, ASmallTextSizeStillDrawsTheName) {
    const graphSettings defaults;
    ASSERT_EQ(defaults.traverse.textSize, 4);
    settings.traverse = defaults.traverse;
    settings.traverse.symbolOn = 0;
    graphSetup s;
    setPointName(s.instrument, "C");
    s.instrumentN = 50.0;
    s.instrumentE = 50.0;
    ASSERT_EQ(model.appendSetup(s), 0);
    const wxImage image = draw();
    EXPECT_TRUE(
        inkedBox(image, 104, 104, 104 + smallestLegibleTextSize, 104 + smallestLegibleTextSize));
    EXPECT_FALSE(inkedBox(image, 0, 0, 103, 199)) << "nothing left of the label";
    EXPECT_FALSE(inkedBox(image, 104, 104 + 2 * smallestLegibleTextSize, 199, 199))
        << "nothing below the label";
}

// A control point that is also a setup's instrument, or a GPS vector's end
// (BASE in the GNSS example), is labelled once, as the control point: the
// picture is the one of the control point's label alone. The groups' symbol
// sizes differ (traverse 4, GPS 20, control 5), so a second label would stand
// a few pixels off the first.
TEST_F(NetworkDrawing, APointMetTwiceIsLabelledOnce) {
    for (graphGroupSettings* group :
         {&settings.traverse, &settings.sideshots, &settings.gps, &settings.control}) {
        group->lineOn = 0;
        group->symbolOn = 0;
        group->textOn = 1;
        group->textSize = 20;
    }
    settings.ellipseOn = 0;
    addControl("BASE");
    const wxImage alone = draw();
    ASSERT_TRUE(inkedBox(alone, 106, 106, 130, 130));
    for (const bool asInstrument : {true, false}) {
        SCOPED_TRACE(asInstrument ? "instrument" : "vector end");
        model.refresh();
        graphSetup s;
        setPointName(s.instrument, asInstrument ? "BASE" : "ROVER");
        // The rover at pixel (40, 40): its label stays above and left of BASE.
        s.instrumentN = asInstrument ? 50.0 : 80.0;
        s.instrumentE = asInstrument ? 50.0 : 20.0;
        if (!asInstrument) {
            graphVector v;
            setPointName(v.to, "BASE");
            v.toN = 50.0;
            v.toE = 50.0;
            s.vectors.push_back(v);
        }
        ASSERT_EQ(model.appendSetup(s), 0);
        addControl("BASE");
        const wxImage both = draw();
        // Only the rover's own label may differ, left of and above BASE.
        bool same = true;
        for (int y = 100; y < side; ++y)
            for (int x = 100; x < side; ++x)
                same = same && both.GetRed(x, y) == alone.GetRed(x, y) &&
                       both.GetGreen(x, y) == alone.GetGreen(x, y) &&
                       both.GetBlue(x, y) == alone.GetBlue(x, y);
        EXPECT_TRUE(same);
    }
}

TEST_F(NetworkDrawing, NoBacksightDistanceDrawsNoLine) {
    addSetup(0.0, 0.0);
    settings.traverse.symbolOn = 0;
    EXPECT_EQ(inkCount(draw()), 0);
    settings.traverse.symbolOn = 1;
    const wxImage image = draw();
    EXPECT_TRUE(inked(image, 100, 100));
    EXPECT_FALSE(inked(image, 100, 80)); // no line beyond the square of size 4
}

TEST_F(NetworkDrawing, UnknownDirectionDrawsNothingAtTheBacksight) {
    addSetup(notComputed, 40.0);
    const wxImage image = draw();
    EXPECT_TRUE(inked(image, 100, 100)); // the instrument's symbol
    EXPECT_LT(inkCount(image), 100);     // 9 x 9 square and nothing else
}

TEST_F(NetworkDrawing, TrianglePointsDown) {
    settings.control.symbolType = symbolTriangle;
    settings.control.symbolSize = 10;
    addControl("P");
    const wxImage image = draw();
    EXPECT_TRUE(inked(image, 100, 108)); // near the tip, below the point
    EXPECT_TRUE(inked(image, 92, 91));   // the wide side is on top
    EXPECT_FALSE(inked(image, 92, 108));
    EXPECT_FALSE(inked(image, 108, 108));
}

TEST_F(NetworkDrawing, PointsOfOtherTypesDrawNothing) {
    for (int type : {0, 2, 5})
        addControl("P", type);
    EXPECT_EQ(inkCount(draw()), 0);
}

TEST_F(NetworkDrawing, EllipseStandsUprightAtNorthAndLiesAtEast) {
    settings.control.symbolType = 99; // the ellipse alone
    addControl("P");
    struct Case {
        double orientation;
        bool tall;
    } cases[] = {{0.0, true}, {std::numbers::pi, true}, {std::numbers::pi / 2, false}};
    for (const Case& c : cases) {
        ellipses.clear();
        addEllipse("P", c.orientation, 30.0, 10.0); // 10 x 30 pixels at scale 1
        const wxImage image = draw();
        EXPECT_EQ(inked(image, 100, 85), c.tall) << c.orientation;
        EXPECT_EQ(inked(image, 115, 100), !c.tall) << c.orientation;
        EXPECT_FALSE(inked(image, 100, 100)) << "outline only";
    }
}

TEST_F(NetworkDrawing, EllipsesShrinkToAPointAtSizeZeroAndVanishWithoutScale) {
    settings.control.symbolType = 99;
    addControl("P");
    addEllipse("P", 0.0, 30.0, 10.0);
    settings.ellipseSize = 0;
    EXPECT_LE(inkCount(draw()), 4);
    settings.ellipseSize = 1;
    EXPECT_EQ(inkCount(draw(std::nullopt)), 0);
}

// Of two records with the point's name, the first in the array is drawn.
TEST_F(NetworkDrawing, TheFirstEllipseOfANameIsDrawn) {
    settings.control.symbolType = 99;
    addControl("P");
    addEllipse("P", 0.0, 30.0, 10.0); // 10 x 30 pixels
    addEllipse("P", 0.0, 60.0, 50.0); // 50 x 60 pixels
    const wxImage image = draw();
    EXPECT_TRUE(inked(image, 100, 85));
    EXPECT_FALSE(inked(image, 100, 70)) << "the second record's outline";
}

// A label is written at its size when that size can be read; a smaller
// size draws it at the smallest legible size rather than leaving it out.
TEST_F(NetworkDrawing, LabelsBelowALegibleSizeAreDrawnAtTheSmallest) {
    settings.control.symbolOn = 0;
    settings.control.textOn = 1;
    addControl("WWW");
    settings.control.textSize = smallestLegibleTextSize;
    const wxImage smallest = draw();
    const int smallestInk = inkCount(smallest);
    ASSERT_GT(smallestInk, 0);
    for (int size : {1, 4, 7, 8, smallestLegibleTextSize - 1}) {
        SCOPED_TRACE(size);
        settings.control.textSize = size;
        const wxImage image = draw();
        EXPECT_TRUE(
            std::equal(image.GetData(), image.GetData() + side * side * 3, smallest.GetData()));
    }
    settings.control.textSize = 20;
    EXPECT_GT(inkCount(draw()), smallestInk);
}

// At the default size 1 the Part's scale would make the largest ellipse a
// hundredth of the width across: 2 pixels here, hidden by its 5-pixel
// symbol. It reaches three symbol sizes, 15 pixels, from its point instead.
TEST_F(NetworkDrawing, EllipsesReachBesideTheirSymbols) {
    settings.control.symbolSize = 5;
    settings.ellipseColour = colourBlue;
    addControl("P");
    addEllipse("P", 0.0, 0.010, 0.004);
    const std::vector<ellipseAxes> axes{{0.0, 0.010, 0.004}};
    const std::optional<double> scale = computeEllipseScale(axes, side);
    ASSERT_TRUE(scale.has_value());
    const wxImage image = draw(scale);
    const auto blue = [&](int x, int y) {
        return image.GetBlue(x, y) > 200 && image.GetRed(x, y) < 60 && image.GetGreen(x, y) < 60;
    };
    // The outline's top and bottom, 15 pixels from the point.
    EXPECT_TRUE(blue(100, 85) || blue(100, 86));
    EXPECT_TRUE(blue(100, 115) || blue(100, 114));
    EXPECT_FALSE(blue(100, 82));
    EXPECT_FALSE(blue(100, 118));
}

// What the zoom extents fits: each point with its symbol's and its label's
// reach, a label measured in its font and starting 1.2 symbol sizes right of
// and below its point; a label set smaller than legible takes the room of
// the smallest legible one.
TEST_F(NetworkDrawing, ItemsReachAsFarAsTheyAreDrawn) {
    settings.control.textOn = 1;
    addControl("P");
    wxBitmap scratch(1, 1);
    wxMemoryDC dc(scratch);
    std::vector<errEllipseRec> none;
    std::vector<placedItem> items = pictureItems(dc, {model, view, settings, none, std::nullopt});
    ASSERT_EQ(items.size(), 2u);
    const pixelReach symbol = items[0].reach;
    const pixelReach label = items[1].reach; // the labels are written last
    EXPECT_EQ(symbol.left, -5);
    EXPECT_EQ(symbol.bottom, 5);
    EXPECT_EQ(label.left, 6); // trunc(1.2 * 5)
    EXPECT_EQ(label.top, 6);
    EXPECT_GT(label.right, label.left + 5);
    EXPECT_GE(label.bottom, label.top + 15); // a 20-pixel font
    EXPECT_EQ(items[1].at.east, 50.0);
    EXPECT_EQ(items[1].at.north, 50.0);

    settings.control.textSize = 4;
    items = pictureItems(dc, {model, view, settings, none, std::nullopt});
    ASSERT_EQ(items.size(), 2u);
    EXPECT_GE(items[1].reach.bottom, items[1].reach.top + smallestLegibleTextSize - 3);
    EXPECT_LT(items[1].reach.bottom, label.bottom);
}

} // namespace

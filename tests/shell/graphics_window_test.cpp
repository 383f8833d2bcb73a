// The graphics window over the example after a run, as a user meets it: the
// whole network inside the window at one scale for both axes, pictures on
// the tool bar with their tips, the error ellipses beside their symbols and
// their scale in the window's status bar, and a picked point named there
// and handed to the Inverse and Relative Error Ellipses dialogs. The
// screenshots are kept under screenshots/ for a look.

#include "gui_test_support.hpp"

#include "engine/adjustment_results.hpp"
#include "shell/command_ids.hpp"
#include "shell/relative_error_dialog.hpp"
#include "shell/tools/inverse_dialog.hpp"
#include "vistra/draw/tool_images.hpp"
#include "vistra/ellipse_geometry.hpp"
#include "vistra/graph_commands.hpp"

#include <wx/mdi.h>
#include <wx/statusbr.h>
#include <wx/textctrl.h>
#include <wx/toolbar.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace {

namespace fs = std::filesystem;

const fs::path screenshots = fs::path(TARNWELL_BINARY_DIR) / "screenshots";

struct GraphicsWindow {
    wxMDIChildFrame* frame = nullptr;
    wxToolBar* tools = nullptr;
    wxStatusBar* status = nullptr;
    wxWindow* picture = nullptr;
};

GraphicsWindow findGraphics(CMainFrame& main) {
    GraphicsWindow found;
    for (wxWindow* child : main.GetClientWindow()->GetChildren()) {
        auto* frame = wxDynamicCast(child, wxMDIChildFrame);
        if (frame == nullptr || !frame->GetTitle().StartsWith("Network Graphics: "))
            continue;
        found.frame = frame;
        for (wxWindow* inner : frame->GetChildren()) {
            if (auto* bar = dynamic_cast<wxToolBar*>(inner))
                found.tools = bar;
            else if (auto* status = dynamic_cast<wxStatusBar*>(inner))
                found.status = status;
            else
                found.picture = inner;
        }
    }
    return found;
}

struct Blob {
    double x = 0.0;
    double y = 0.0;
    int pixels = 0;
};

// The centres of the connected patches of pixels that `wanted` picks.
template <class Wanted> std::vector<Blob> blobs(const wxImage& image, Wanted wanted) {
    const int w = image.GetWidth();
    const int h = image.GetHeight();
    std::vector<char> seen(static_cast<size_t>(w) * h, 0);
    std::vector<Blob> found;
    for (int y0 = 0; y0 < h; ++y0)
        for (int x0 = 0; x0 < w; ++x0) {
            if (seen[y0 * w + x0] || !wanted(image, x0, y0))
                continue;
            Blob blob;
            std::vector<std::pair<int, int>> stack{{x0, y0}};
            seen[y0 * w + x0] = 1;
            while (!stack.empty()) {
                const auto [x, y] = stack.back();
                stack.pop_back();
                blob.x += x;
                blob.y += y;
                ++blob.pixels;
                for (const auto& [dx, dy] : {std::pair{1, 0}, {-1, 0}, {0, 1}, {0, -1}}) {
                    const int nx = x + dx, ny = y + dy;
                    if (nx >= 0 && ny >= 0 && nx < w && ny < h && !seen[ny * w + nx] &&
                        wanted(image, nx, ny)) {
                        seen[ny * w + nx] = 1;
                        stack.push_back({nx, ny});
                    }
                }
            }
            blob.x /= blob.pixels;
            blob.y /= blob.pixels;
            found.push_back(blob);
        }
    return found;
}

bool isBlue(const wxImage& image, int x, int y) {
    return image.GetBlue(x, y) > 200 && image.GetRed(x, y) < 80 && image.GetGreen(x, y) < 80;
}

bool isWhite(const wxImage& image, int x, int y) {
    return image.GetRed(x, y) > 245 && image.GetGreen(x, y) > 245 && image.GetBlue(x, y) > 245;
}

// Pixels drawn in the band along the picture's edges, inside which the fitted
// picture keeps its margin (the band is 3 pixels narrower, for rounding).
int inkAlongTheEdges(const wxImage& image) {
    const int band = zoomExtentsMargin - 3;
    int ink = 0;
    for (int y = 0; y < image.GetHeight(); ++y)
        for (int x = 0; x < image.GetWidth(); ++x)
            ink += !isWhite(image, x, y) && (x < band || y < band || x >= image.GetWidth() - band ||
                                             y >= image.GetHeight() - band);
    return ink;
}

// The example's points (README of examples/site).
struct GroundPoint {
    const char* name;
    double north;
    double east;
};
const GroundPoint examplePoints[] = {{"A", 1000.000, 1000.000},
                                     {"B", 1180.250, 1245.800},
                                     {"C", 1050.420, 1430.150},
                                     {"D", 880.600, 1210.330}};

class GraphicsWindowTest : public guitest::ShellTest {
protected:
    // The example adjusted and its graphics window open and painted, with
    // the drawing settings given stored in the profile first.
    GraphicsWindow openAdjustedExample(const std::map<std::string, int>& drawing = {}) {
        for (const auto& [key, value] : drawing)
            storeProfile("Version 1.00", key, std::to_string(value));
        CMainFrame& main = openExample();
        command(main, shellid::networkAdjustment);
        EXPECT_FALSE(errEllipses.empty());
        main.showGraphics();
        const GraphicsWindow window = findGraphics(main);
        EXPECT_TRUE(window.frame && window.tools && window.status && window.picture);
        if (window.picture != nullptr) {
            guitest::waitForFirstPaint(window.picture);
            window.picture->Update();
            wxYield();
        }
        return window;
    }

    static wxImage screenshot(wxWindow* window, const std::string& name) {
        const fs::path path = screenshots / name;
        EXPECT_TRUE(guitest::saveScreenshot(window, path));
        return wxImage(path.string());
    }

    static void click(wxWindow* picture, int x, int y) {
        wxMouseEvent press(wxEVT_LEFT_DOWN);
        press.m_x = x;
        press.m_y = y;
        press.SetEventObject(picture);
        picture->ProcessWindowEvent(press);
        wxMouseEvent release(wxEVT_LEFT_UP);
        release.m_x = x;
        release.m_y = y;
        release.SetEventObject(picture);
        picture->ProcessWindowEvent(release);
        wxYield();
    }
};

// The example's points as blue symbols alone.
std::map<std::string, int> blueSymbolsOnly() {
    std::map<std::string, int> settings;
    for (const char* off :
         {"travLnOnOff", "ssLnOnOff", "azLnOnOff", "gpsLnOnOff", "travTxtOnOff", "ssTxtOnOff",
          "cpTxtOnOff", "fixPTxtOnOff", "floatPTxtOnOff", "gpsTxtOnOff", "errEllipOnOff"})
        settings[off] = 0;
    for (const char* blue :
         {"travSymbColor", "ssSymbColor", "cpSymbColor", "fixPSymbColor", "floatPSymbColor"})
        settings[blue] = 2;
    return settings;
}

// With the drawing defaults: nothing reaches into the margin round the
// picture (the symbols of A and C and the label of C stood on or beyond the
// window's edge), and the ellipses of C and D show beside their symbols.
TEST_F(GraphicsWindowTest, TheWholeExampleIsInsideTheWindow) {
    const GraphicsWindow window = openAdjustedExample();
    ASSERT_NE(window.picture, nullptr);
    screenshot(window.frame, "graphics_window.png");
    const wxImage image = screenshot(window.picture, "graphics_picture.png");
    ASSERT_TRUE(image.IsOk());
    int ink = 0;
    for (int y = 0; y < image.GetHeight(); ++y)
        for (int x = 0; x < image.GetWidth(); ++x)
            ink += !isWhite(image, x, y);
    EXPECT_GT(ink, 500);
    EXPECT_EQ(inkAlongTheEdges(image), 0);
}

// Symbols alone, in blue: their centres stand as the ground coordinates do,
// at one scale east and north, north up. Clicks on A and then C name each in
// the status bar and fill the two open point dialogs From and To.
TEST_F(GraphicsWindowTest, OneScaleForBothAxesAndPickedPointsHandedOn) {
    const GraphicsWindow window = openAdjustedExample(blueSymbolsOnly());
    ASSERT_NE(window.picture, nullptr);
    const wxImage image = screenshot(window.picture, "graphics_symbols.png");
    ASSERT_TRUE(image.IsOk());
    std::vector<Blob> found = blobs(image, isBlue);
    ASSERT_EQ(found.size(), 4u);
    // West to east the points are A, D, B, C.
    std::sort(found.begin(), found.end(), [](const Blob& a, const Blob& b) { return a.x < b.x; });
    const std::map<std::string, Blob> at = {
        {"A", found[0]}, {"D", found[1]}, {"B", found[2]}, {"C", found[3]}};
    const Blob& a = at.at("A");
    for (const GroundPoint& p : examplePoints) {
        if (std::string(p.name) == "A")
            continue;
        SCOPED_TRACE(p.name);
        const Blob& b = at.at(p.name);
        const double acrossScale = (b.x - a.x) / (p.east - examplePoints[0].east);
        const double downScale = (a.y - b.y) / (p.north - examplePoints[0].north);
        EXPECT_NEAR(downScale / acrossScale, 1.0, 0.02) << acrossScale << " " << downScale;
    }
    EXPECT_TRUE(window.status->GetStatusText(ellipseScaleField).empty()) << "no ellipses drawn";

    CMainFrame& main = *frame();
    main.showInverse();
    main.showRelativeErrorEllipse();
    auto* inverse = dynamic_cast<CInverse*>(main.inverseDialog());
    auto* relative = dynamic_cast<relErrEl*>(main.openToolDialog(relErrEl::dialogId));
    ASSERT_NE(inverse, nullptr);
    ASSERT_NE(relative, nullptr);
    const auto field = [relative](int id) {
        return dynamic_cast<wxTextCtrl*>(relative->FindWindow(id))->GetValue();
    };
    click(window.picture, static_cast<int>(std::lround(a.x)), static_cast<int>(std::lround(a.y)));
    EXPECT_EQ(window.status->GetStatusText(pickedPointField), "Picked point: A");
    EXPECT_EQ(inverse->fromName(), "A");
    EXPECT_EQ(field(relErrEl::fromEdit), "A");
    const Blob& c = at.at("C");
    click(window.picture, static_cast<int>(std::lround(c.x)), static_cast<int>(std::lround(c.y)));
    EXPECT_EQ(window.status->GetStatusText(pickedPointField), "Picked point: C");
    EXPECT_EQ(inverse->fromName(), "A");
    EXPECT_EQ(inverse->toName(), "C");
    EXPECT_EQ(field(relErrEl::toEdit), "C");
    // Empty ground picks nothing and leaves the last pick named.
    click(window.picture, 3, 3);
    EXPECT_EQ(window.status->GetStatusText(pickedPointField), "Picked point: C");
    EXPECT_EQ(inverse->toName(), "C");
}

// Zoom Out halves the picture after Zoom In and after Zoom Window as it does
// on the fitted view: the distance from the westmost to the eastmost symbol
// (A to C) is measured on the screen after each step.
TEST_F(GraphicsWindowTest, ZoomOutWorksAfterZoomingIn) {
    const GraphicsWindow window = openAdjustedExample(blueSymbolsOnly());
    ASSERT_NE(window.picture, nullptr);
    const auto run = [&window](int command) {
        wxCommandEvent tool(wxEVT_TOOL, command);
        window.frame->ProcessWindowEvent(tool);
        window.picture->Refresh();
        window.picture->Update();
        wxYield();
    };
    const auto spread = [&window](const std::string& name) {
        const wxImage image = screenshot(window.picture, name);
        const std::vector<Blob> found = blobs(image, isBlue);
        EXPECT_EQ(found.size(), 4u) << name;
        const auto [west, east] = std::minmax_element(
            found.begin(), found.end(), [](const Blob& a, const Blob& b) { return a.x < b.x; });
        return found.empty() ? 0.0 : east->x - west->x;
    };
    const double fitted = spread("zoom_fitted.png");
    ASSERT_GT(fitted, 100.0);
    run(commandZoomOut);
    EXPECT_NEAR(spread("zoom_out.png"), fitted / 2, 2.0);
    run(commandZoomIn);
    EXPECT_NEAR(spread("zoom_in.png"), fitted, 2.0);
    run(commandZoomOut);
    EXPECT_NEAR(spread("zoom_out_after_in.png"), fitted / 2, 2.0);

    // A zoom window half the picture's size round its middle doubles the
    // picture back to the fitted size.
    const wxSize size = window.picture->GetClientSize();
    run(commandZoomWindow);
    click(window.picture, size.x / 4, size.y / 4);
    click(window.picture, size.x / 4 + size.x / 2, size.y / 4 + size.y / 2);
    window.picture->Update();
    wxYield();
    EXPECT_NEAR(spread("zoom_window.png"), fitted, 3.0);
    run(commandZoomOut);
    EXPECT_NEAR(spread("zoom_out_after_window.png"), fitted / 2, 3.0);
}

// The largest ellipse reaches three sizes of the control-point symbol (5
// pixels) from its point: a semi-axis of A metres takes 15 pixels, and the
// status bar states that scale as a round length.
TEST_F(GraphicsWindowTest, TheEllipseScaleIsShown) {
    const GraphicsWindow window = openAdjustedExample();
    ASSERT_NE(window.status, nullptr);
    double largest = 0.0;
    for (const errEllipseRec& e : errEllipses)
        largest = std::max(largest, e.semiMajor);
    ASSERT_GT(largest, 0.0);
    EXPECT_EQ(window.status->GetStatusText(ellipseScaleField),
              ellipseScaleText(15.0 / largest, "m"));
    EXPECT_TRUE(window.status->GetStatusText(ellipseScaleField).StartsWith("Error ellipses: "));
}

// A window shown without ellipses (as before a run) and refreshed with them
// (as after it) shows the whole network again, ellipses and scale with it.
TEST_F(GraphicsWindowTest, ARefreshWithEllipsesKeepsTheWholeNetworkInView) {
    CMainFrame& main = openExample();
    command(main, shellid::networkAdjustment);
    const std::vector<errEllipseRec> adjusted = errEllipses;
    errEllipses.clear();
    errEllipseCount = 0;
    main.showGraphics();
    const GraphicsWindow window = findGraphics(main);
    ASSERT_TRUE(window.picture && window.status);
    guitest::waitForFirstPaint(window.picture);
    EXPECT_TRUE(window.status->GetStatusText(ellipseScaleField).empty());

    errEllipses = adjusted;
    errEllipseCount = static_cast<int>(adjusted.size());
    main.refreshOpenGraphics();
    window.picture->Update();
    wxYield();
    EXPECT_TRUE(window.status->GetStatusText(ellipseScaleField).StartsWith("Error ellipses: "));
    const wxImage image = screenshot(window.picture, "graphics_after_refresh.png");
    ASSERT_TRUE(image.IsOk());
    EXPECT_EQ(inkAlongTheEdges(image), 0);
}

// Every tool has a picture of its own and the tip that names it; the tools
// the icon theme has no picture for show the ones drawn for them.
TEST_F(GraphicsWindowTest, TheToolBarShowsPicturesWithTheirTips) {
    const GraphicsWindow window = openAdjustedExample();
    ASSERT_NE(window.tools, nullptr);
    screenshot(window.tools, "graphics_toolbar.png");
    const char* tips[] = {"Pan",         "Zoom In",    "Zoom Out",         "Zoom Extents",
                          "Zoom Window", "Pick Point", "Graphic Settings", "Refresh graphics"};
    ASSERT_EQ(window.tools->GetToolsCount(), std::size(tips));
    std::vector<wxImage> pictures;
    for (size_t i = 0; i < std::size(tips); ++i) {
        SCOPED_TRACE(tips[i]);
        const wxToolBarToolBase* tool = window.tools->GetToolByPos(static_cast<int>(i));
        EXPECT_EQ(tool->GetShortHelp(), tips[i]);
        const wxBitmap bitmap = tool->GetNormalBitmap();
        ASSERT_TRUE(bitmap.IsOk());
        EXPECT_EQ(bitmap.GetWidth(), toolImageSize);
        EXPECT_EQ(bitmap.GetHeight(), toolImageSize);
        pictures.push_back(bitmap.ConvertToImage());
    }
    for (size_t i = 0; i < pictures.size(); ++i)
        for (size_t j = i + 1; j < pictures.size(); ++j)
            EXPECT_FALSE(std::equal(pictures[i].GetData(),
                                    pictures[i].GetData() + toolImageSize * toolImageSize * 3,
                                    pictures[j].GetData()))
                << tips[i] << " and " << tips[j] << " look alike";
    for (const graphTool& tool : graphTools())
        if (tool.themeIcon == nullptr) {
            SCOPED_TRACE(tool.tip);
            const wxImage drawn = toolImage(tool, toolArt::drawn).ConvertToImage();
            const wxImage shown =
                window.tools->FindById(tool.command)->GetNormalBitmap().ConvertToImage();
            EXPECT_TRUE(std::equal(drawn.GetData(),
                                   drawn.GetData() + toolImageSize * toolImageSize * 3,
                                   shown.GetData()));
        }
}

// Without the icon theme every tool still has a picture of its own: some of
// its pixels inked, and no two alike.
TEST(GraphicsToolPictures, EveryToolHasADrawnPicture) {
    std::vector<wxImage> pictures;
    for (const graphTool& tool : graphTools()) {
        SCOPED_TRACE(tool.tip);
        const wxImage image = toolImage(tool, toolArt::drawn).ConvertToImage();
        ASSERT_TRUE(image.HasAlpha());
        int inked = 0;
        for (int y = 0; y < toolImageSize; ++y)
            for (int x = 0; x < toolImageSize; ++x)
                inked += image.GetAlpha(x, y) > 128;
        EXPECT_GT(inked, 30);
        EXPECT_LT(inked, toolImageSize * toolImageSize / 2);
        for (const wxImage& other : pictures)
            EXPECT_FALSE(std::equal(image.GetAlpha(),
                                    image.GetAlpha() + toolImageSize * toolImageSize,
                                    other.GetAlpha()));
        pictures.push_back(image);
    }
}

} // namespace

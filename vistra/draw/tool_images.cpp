#include "vistra/draw/tool_images.hpp"

#include <wx/artprov.h>
#include <wx/brush.h>
#include <wx/graphics.h>
#include <wx/image.h>

#include <algorithm>
#include <cmath>
#include <iterator>
#include <memory>
#include <numbers>

namespace {

// The pictures are drawn on a 24-pixel square in the dark grey of the
// theme's own tool pictures, with two-pixel strokes.
const wxColour ink(60, 60, 60);

void stroke(wxGraphicsContext& gc, double width = 2.0) {
    gc.SetPen(gc.CreatePen(wxGraphicsPenInfo(ink).Width(width).Cap(wxCAP_ROUND)));
    gc.SetBrush(wxBrush(ink));
}

// A filled arrow head at `tip`, pointing in direction `angle` (radians,
// screen axes).
void arrowHead(wxGraphicsContext& gc, double tipX, double tipY, double angle) {
    constexpr double length = 5.0;
    constexpr double spread = 0.5;
    wxGraphicsPath head = gc.CreatePath();
    head.MoveToPoint(tipX, tipY);
    head.AddLineToPoint(tipX - length * std::cos(angle - spread),
                        tipY - length * std::sin(angle - spread));
    head.AddLineToPoint(tipX - length * std::cos(angle + spread),
                        tipY - length * std::sin(angle + spread));
    head.CloseSubpath();
    gc.FillPath(head);
}

void drawPan(wxGraphicsContext& gc) {
    stroke(gc);
    gc.StrokeLine(12, 4, 12, 20);
    gc.StrokeLine(4, 12, 20, 12);
    const double quarter = std::numbers::pi / 2;
    arrowHead(gc, 12, 2, -quarter);
    arrowHead(gc, 12, 22, quarter);
    arrowHead(gc, 2, 12, 2 * quarter);
    arrowHead(gc, 22, 12, 0);
}

// A magnifying glass over (x, y) of lens radius r, its handle to the lower right.
void magnifier(wxGraphicsContext& gc, double x, double y, double r) {
    stroke(gc);
    gc.SetBrush(*wxTRANSPARENT_BRUSH);
    gc.DrawEllipse(x - r, y - r, 2 * r, 2 * r);
    stroke(gc, 3.0);
    const double edge = r * std::numbers::sqrt2 / 2 + 1;
    gc.StrokeLine(x + edge, y + edge, x + edge + r * 0.9, y + edge + r * 0.9);
}

void drawZoomIn(wxGraphicsContext& gc) {
    magnifier(gc, 10, 10, 7);
    stroke(gc);
    gc.StrokeLine(7, 10, 13, 10);
    gc.StrokeLine(10, 7, 10, 13);
}

void drawZoomOut(wxGraphicsContext& gc) {
    magnifier(gc, 10, 10, 7);
    stroke(gc);
    gc.StrokeLine(7, 10, 13, 10);
}

void drawZoomExtents(wxGraphicsContext& gc) {
    stroke(gc);
    const wxPoint2DDouble corners[][3] = {{{3, 9}, {3, 3}, {9, 3}},
                                          {{15, 3}, {21, 3}, {21, 9}},
                                          {{21, 15}, {21, 21}, {15, 21}},
                                          {{9, 21}, {3, 21}, {3, 15}}};
    for (const auto& corner : corners)
        gc.StrokeLines(3, corner);
    gc.DrawRectangle(9, 9, 6, 6);
}

void drawZoomWindow(wxGraphicsContext& gc) {
    // The box the user drags, dashed, with a lens on its lower right corner.
    stroke(gc, 1.5);
    const double left = 2.5, top = 3.5, right = 17.5, bottom = 14.5;
    for (double x = left; x < right; x += 4) {
        gc.StrokeLine(x, top, std::min(x + 2, right), top);
        gc.StrokeLine(x, bottom, std::min(x + 2, right), bottom);
    }
    for (double y = top; y < bottom; y += 4) {
        gc.StrokeLine(left, y, left, std::min(y + 2, bottom));
        gc.StrokeLine(right, y, right, std::min(y + 2, bottom));
    }
    gc.SetPen(*wxTRANSPARENT_PEN);
    gc.SetBrush(wxBrush(*wxWHITE));
    gc.DrawEllipse(11.5, 11.5, 9, 9);
    magnifier(gc, 16, 16, 4.5);
}

void drawPickPoint(wxGraphicsContext& gc) {
    stroke(gc);
    gc.SetBrush(*wxTRANSPARENT_BRUSH);
    gc.DrawEllipse(5, 5, 14, 14);
    gc.StrokeLine(12, 1, 12, 7);
    gc.StrokeLine(12, 17, 12, 23);
    gc.StrokeLine(1, 12, 7, 12);
    gc.StrokeLine(17, 12, 23, 12);
    // The point itself, in the red of the network's symbols.
    gc.SetPen(*wxTRANSPARENT_PEN);
    gc.SetBrush(wxBrush(wxColour(255, 0, 0)));
    gc.DrawRectangle(9.5, 9.5, 5, 5);
}

void drawSettings(wxGraphicsContext& gc) {
    const double knobs[][2] = {{5, 8}, {12, 15}, {19, 10}};
    for (const auto& knob : knobs) {
        stroke(gc);
        gc.StrokeLine(3, knob[0], 21, knob[0]);
        gc.SetBrush(wxBrush(*wxWHITE));
        gc.DrawEllipse(knob[1] - 3, knob[0] - 3, 6, 6);
    }
}

void drawRefresh(wxGraphicsContext& gc) {
    stroke(gc);
    const double start = -std::numbers::pi / 3;
    const double end = 1.5 * std::numbers::pi;
    wxGraphicsPath arc = gc.CreatePath();
    arc.AddArc(12, 12, 8, start, end, true);
    gc.StrokePath(arc);
    // The head sits where the arc ends, pointing along it.
    arrowHead(gc, 12 + 8 * std::cos(end) + 2, 12 + 8 * std::sin(end), 0);
}

const graphTool tools[] = {
    {commandPan, "Pan", nullptr, drawPan},
    {commandZoomIn, "Zoom In", "zoom-in", drawZoomIn},
    {commandZoomOut, "Zoom Out", "zoom-out", drawZoomOut},
    {commandZoomExtents, "Zoom Extents", "zoom-fit-best", drawZoomExtents},
    {commandZoomWindow, "Zoom Window", nullptr, drawZoomWindow},
    {commandPickPoint, "Pick Point", nullptr, drawPickPoint},
    {commandSettings, "Graphic Settings", "preferences-system", drawSettings},
    {commandRefresh, "Refresh graphics", "view-refresh", drawRefresh},
};

wxBitmap drawnImage(const graphTool& tool) {
    wxImage image(toolImageSize, toolImageSize);
    image.InitAlpha();
    std::fill_n(image.GetAlpha(), toolImageSize * toolImageSize, 0);
    {
        const std::unique_ptr<wxGraphicsContext> gc(wxGraphicsContext::Create(image));
        gc->SetAntialiasMode(wxANTIALIAS_DEFAULT);
        tool.draw(*gc);
    }
    return wxBitmap(image);
}

} // namespace

std::span<const graphTool> graphTools() {
    return tools;
}

bool isGraphTool(int command) {
    return std::any_of(std::begin(tools), std::end(tools),
                       [command](const graphTool& tool) { return tool.command == command; });
}

wxBitmap toolImage(const graphTool& tool, toolArt art) {
    if (art == toolArt::themed && tool.themeIcon != nullptr) {
        const wxBitmap themed = wxArtProvider::GetBitmap(tool.themeIcon, wxART_TOOLBAR,
                                                         wxSize(toolImageSize, toolImageSize));
        if (themed.IsOk())
            return themed;
    }
    return drawnImage(tool);
}

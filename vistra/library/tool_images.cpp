#include "vistra/library/tool_images.hpp"

#include "vistra/library/graph_canvas.hpp"

#include <wx/dcmemory.h>

#include <algorithm>
#include <iterator>

namespace {

const graphTool tools[] = {
    {commandPan, "Pan", "P"},
    {commandZoomIn, "Zoom In", "+"},
    {commandZoomOut, "Zoom Out", "-"},
    {commandZoomExtents, "Zoom Extents", "[]"},
    {commandZoomWindow, "Zoom Window", "W"},
    {commandPickPoint, "Pick Point", "?"},
    {commandSettings, "Graphic Settings", "S"},
    {commandRefresh, "Refresh graphics", "R"},
};

} // namespace

std::span<const graphTool> graphTools() {
    return tools;
}

bool isGraphTool(int command) {
    return std::any_of(std::begin(tools), std::end(tools),
                       [command](const graphTool& tool) { return tool.command == command; });
}

wxBitmap toolImage(std::string_view glyph) {
    wxBitmap image(21, 16, 24);
    wxMemoryDC dc(image);
    dc.SetBackground(*wxWHITE_BRUSH);
    dc.Clear();
    dc.SetFont(wxFont(wxFontInfo(wxSize(0, 13)).Family(wxFONTFAMILY_SWISS).Bold()));
    dc.SetTextForeground(*wxBLUE);
    const wxString text = wxString::FromUTF8(glyph.data(), glyph.size());
    const wxSize extent = dc.GetTextExtent(text);
    dc.DrawText(text, (21 - extent.x) / 2, (16 - extent.y) / 2);
    dc.SelectObject(wxNullBitmap);
    return image;
}

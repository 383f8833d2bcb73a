#include "vistra/library/graph_canvas.hpp"

#include "model/settings/global_vars.hpp"
#include "vistra/draw/network_drawing.hpp"
#include "vistra/point_picking.hpp"

#include <wx/choicdlg.h>
#include <wx/dcbuffer.h>
#include <wx/dcmemory.h>
#include <wx/statusbr.h>

namespace {

devicePoint pointOf(const wxMouseEvent& event) {
    return {event.GetX(), event.GetY()};
}

std::vector<ellipseAxes> axesOf(const std::vector<errEllipseRec>& records) {
    std::vector<ellipseAxes> axes;
    for (const errEllipseRec& r : records)
        axes.push_back({r.orientation, r.semiMajor, r.semiMinor});
    return axes;
}

// The unit of the model's coordinates and of the ellipses' axes: the 3D
// road works in metres, the 2D road in the project's unit.
std::string_view modelUnitName() {
    if (projectVars.geodeticModel == 1)
        return "m";
    switch (projectVars.HorizUnits) {
    case 1:
        return "US ft";
    case 2:
        return "ft";
    default:
        return "m";
    }
}

} // namespace

GraphCanvas::GraphCanvas(wxWindow* parent, GraphWindowState& state, wxWindow* owner,
                         wxStatusBar* status)
    : wxWindow(parent, wxID_ANY, wxDefaultPosition, wxDefaultSize, wxWANTS_CHARS), state_(state),
      owner_(owner), status_(status) {
    SetBackgroundStyle(wxBG_STYLE_PAINT);
    const rawDataGraph& model = state_.model;
    if (!model.extentsEmpty())
        view_.setExtents(model.minN, model.minE, model.maxN, model.maxE);
    Bind(wxEVT_PAINT, &GraphCanvas::onPaint, this);
    Bind(wxEVT_SIZE, &GraphCanvas::onSize, this);
    Bind(wxEVT_LEFT_DOWN, &GraphCanvas::onLeftDown, this);
    Bind(wxEVT_MOTION, &GraphCanvas::onMotion, this);
    Bind(wxEVT_LEFT_UP, &GraphCanvas::onLeftUp, this);
    Bind(wxEVT_RIGHT_UP, &GraphCanvas::onRightUp, this);
    Bind(wxEVT_CHAR, &GraphCanvas::onChar, this);
}

void GraphCanvas::runCommand(int command) {
    const wxSize size = GetClientSize();
    switch (command) {
    case commandPan:
        view_.armPan();
        break;
    case commandZoomIn:
        if (view_.zoomIn())
            fitted_ = false;
        break;
    case commandZoomOut:
        // Zoomed in or out, the view no longer shows just the whole network.
        if (view_.zoomOut())
            fitted_ = false;
        break;
    case commandZoomExtents:
        fitView(size);
        break;
    case commandZoomWindow:
        view_.armZoomWindow();
        break;
    case commandPickPoint:
        view_.cancelModes();
        break;
    default:
        return;
    }
    updateCursor();
    Refresh();
}

void GraphCanvas::takeSettings(const graphSettings& values) {
    settings = values;
    Refresh();
}

networkPicture GraphCanvas::picture() const {
    return {state_.model, view_, settings, state_.ellipses(), ellipseScale_};
}

void GraphCanvas::fitView(wxSize size) {
    const rawDataGraph& model = state_.model;
    if (!model.extentsEmpty())
        view_.setExtents(model.minN, model.minE, model.maxN, model.maxE);
    // Labels are measured in the fonts the picture is drawn with.
    wxBitmap scratch(1, 1);
    wxMemoryDC dc(scratch);
    view_.zoomExtents(pictureItems(dc, picture()), size.x, size.y);
    fitted_ = true;
}

void GraphCanvas::showEllipseScale() {
    if (status_ == nullptr)
        return;
    const wxString text =
        wxString::FromUTF8(ellipseScaleText(pictureEllipsePixels(picture()) / 2, modelUnitName()));
    if (status_->GetStatusText(ellipseScaleField) != text)
        status_->SetStatusText(text, ellipseScaleField);
}

void GraphCanvas::pictureRebuilt() {
    view_.cancelModes();
    updateEllipseScale();
    // A view that showed the whole network goes on showing it, with the
    // ellipses and points the new build brought.
    if (fitted_)
        fitView(GetClientSize());
    updateCursor();
    Refresh();
}

void GraphCanvas::updateEllipseScale() {
    const std::vector<ellipseAxes> axes = axesOf(state_.ellipses());
    ellipseScale_ = computeEllipseScale(axes, GetClientSize().x);
}

void GraphCanvas::updateCursor() {
    if (view_.zoomWindowState() != 0)
        SetCursor(wxCursor(wxCURSOR_MAGNIFIER));
    else if (view_.panState() != 0)
        SetCursor(wxCursor(wxCURSOR_HAND));
    else
        SetCursor(wxNullCursor);
}

void GraphCanvas::onPaint(wxPaintEvent&) {
    wxAutoBufferedPaintDC dc(this);
    dc.SetBackground(*wxWHITE_BRUSH);
    dc.Clear();
    if (state_.model.buildStatus == graphBuilt)
        drawNetwork(dc, picture());
    if (view_.zoomWindowState() == 2)
        drawZoomFrame(dc);
    showEllipseScale();
}

void GraphCanvas::drawZoomFrame(wxDC& dc) const {
    const devicePoint a = view_.firstCorner();
    const devicePoint b = view_.movingCorner();
    dc.SetPen(wxPen(graphColourOf(colourBlack), 1));
    dc.SetBrush(*wxTRANSPARENT_BRUSH);
    dc.DrawRectangle(std::min(a.x, b.x), std::min(a.y, b.y), std::abs(b.x - a.x) + 1,
                     std::abs(b.y - a.y) + 1);
}

void GraphCanvas::onSize(wxSizeEvent& event) {
    const wxSize size = event.GetSize();
    if (size.x >= 1 && size.y >= 1) {
        updateEllipseScale();
        // Until the user zooms or pans, the whole network stays in view.
        if (fitted_)
            fitView(size);
        else
            view_.resize(size.x, size.y);
        Refresh();
    }
    event.Skip();
}

void GraphCanvas::onLeftDown(wxMouseEvent& event) {
    SetFocus();
    const devicePoint at = pointOf(event);
    if (view_.panState() == 1) {
        view_.pressPan(at);
    } else if (view_.zoomWindowState() != 0) {
        const wxSize size = GetClientSize();
        const viewMapping before = view_.mapping();
        view_.pressZoomWindow(at, size.x, size.y);
        fitted_ = fitted_ && view_.mapping() == before;
        updateCursor();
        Refresh();
    } else if (view_.canPick()) {
        pick(at);
    }
}

void GraphCanvas::onMotion(wxMouseEvent& event) {
    const devicePoint at = pointOf(event);
    if (view_.panState() == 2) {
        view_.movePan(at);
        Refresh();
    } else if (view_.zoomWindowState() == 2) {
        view_.moveZoomWindow(at);
        Refresh();
    }
}

void GraphCanvas::onLeftUp(wxMouseEvent& event) {
    if (view_.panState() != 2)
        return;
    view_.releasePan(pointOf(event));
    fitted_ = false;
    Refresh();
}

void GraphCanvas::onRightUp(wxMouseEvent&) {
    view_.cancelPan();
    updateCursor();
}

void GraphCanvas::onChar(wxKeyEvent& event) {
    if (event.GetKeyCode() != WXK_ESCAPE) {
        event.Skip();
        return;
    }
    view_.cancelPan();
    updateCursor();
}

void GraphCanvas::pick(devicePoint at) {
    const std::vector<pickCandidate> found =
        pickPoints(state_.model, view_.toGround(at), settings.pickRadius);
    if (found.empty())
        return;
    if (found.size() == 1) {
        reportPick(found.front().name);
        return;
    }
    wxArrayString names;
    for (const pickCandidate& c : found)
        names.Add(wxString::FromUTF8(c.name));
    wxSingleChoiceDialog dialog(this, wxString(), "Choose Point Number", names);
    dialog.SetSelection(0);
    if (dialog.ShowModal() == wxID_OK)
        reportPick(dialog.GetStringSelection().utf8_string());
}

void GraphCanvas::reportPick(const std::string& name) {
    if (status_ != nullptr)
        status_->SetStatusText("Picked point: " + wxString::FromUTF8(name), pickedPointField);
    if (owner_ == nullptr)
        return;
    wxCommandEvent picked(wxEVT_MENU, graphPointPicked);
    picked.SetString(wxString::FromUTF8(name));
    picked.SetInt(state_.ownerCookie());
    wxPostEvent(owner_, picked);
}

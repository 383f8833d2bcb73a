#include "vistra/draw/network_drawing.hpp"

#include "vistra/point_picking.hpp"

#include <wx/graphics.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>

wxColour graphColourOf(int index) {
    static const wxColour table[graphColourCount] = {{255, 0, 0},   {0, 255, 0},   {0, 0, 255},
                                                     {255, 0, 255}, {0, 255, 255}, {255, 255, 0},
                                                     {0, 0, 0}};
    if (index < 0 || index >= graphColourCount)
        return table[colourBlack];
    return table[index];
}

void drawSymbol(wxDC& dc, devicePoint at, int type, int colour, int size) {
    const wxColour c = graphColourOf(colour);
    dc.SetPen(wxPen(c, 1));
    dc.SetBrush(wxBrush(c));
    const int r = size;
    switch (type) {
    case symbolSquare:
        dc.DrawRectangle(at.x - r, at.y - r, 2 * r + 1, 2 * r + 1);
        break;
    case symbolTriangle: {
        wxPoint corners[3] = {{at.x, at.y + r}, {at.x + r, at.y - r}, {at.x - r, at.y - r}};
        dc.DrawPolygon(3, corners);
        break;
    }
    case symbolCircle:
        dc.DrawEllipse(at.x - r, at.y - r, 2 * r + 1, 2 * r + 1);
        break;
    default:
        break;
    }
}

namespace {

// Points along the four cubic segments, enough for a smooth outline.
constexpr int stepsPerSegment = 8;

std::vector<wxPoint> flattenBezier(const bezierEllipse& p) {
    std::vector<wxPoint> out{{p[0].x, p[0].y}};
    for (int s = 0; s + 3 < bezierEllipsePoints; s += 3) {
        for (int i = 1; i <= stepsPerSegment; ++i) {
            const double t = static_cast<double>(i) / stepsPerSegment;
            const double u = 1.0 - t;
            const double w0 = u * u * u, w1 = 3 * u * u * t, w2 = 3 * u * t * t, w3 = t * t * t;
            const double x = w0 * p[s].x + w1 * p[s + 1].x + w2 * p[s + 2].x + w3 * p[s + 3].x;
            const double y = w0 * p[s].y + w1 * p[s + 1].y + w2 * p[s + 2].y + w3 * p[s + 3].y;
            out.emplace_back(static_cast<int>(std::lround(x)), static_cast<int>(std::lround(y)));
        }
    }
    return out;
}

bool isPlaced(double east, double north) {
    return isSet(east) && isSet(north);
}

// The largest symbol among the groups whose symbols carry ellipses.
int largestEllipseSymbol(const graphSettings& settings) {
    int largest = 0;
    for (const graphGroupSettings* group :
         {&settings.traverse, &settings.sideshots, &settings.gps, &settings.control})
        if (group->symbolOn)
            largest = std::max(largest, group->symbolSize);
    return largest;
}

// Draws the picture or, given a list to fill, measures where each item of
// it would go.
class networkPainter {
public:
    networkPainter(wxDC& dc, const networkPicture& picture,
                   std::vector<placedItem>* measured = nullptr)
        : dc_(dc), picture_(picture), settings_(picture.settings), measured_(measured),
          ellipsePixels_(pictureEllipsePixels(picture)) {}

    void paint() {
        if (measured_ == nullptr && picture_.view.networkPixels() <= 1.0)
            return;
        dc_.SetTextForeground(*wxBLACK);
        dc_.SetTextBackground(*wxWHITE);
        dc_.SetBackgroundMode(wxBRUSHSTYLE_SOLID);
        // One-pixel lines and outlines, as crisp as the picture's pixels:
        // smoothing them costs more than all else drawn.
        if (wxGraphicsContext* gc = dc_.GetGraphicsContext())
            gc->SetAntialiasMode(wxANTIALIAS_NONE);
        // The first record of each name counts.
        for (const errEllipseRec& e : picture_.ellipses)
            ellipses_.emplace(std::string_view(e.name, strnlen(e.name, sizeof e.name)), &e);
        graphSetup setup;
        for (int i = 0; picture_.model.getSetupAt(i, setup) == 0; ++i)
            paintSetup(setup);
        graphPoint point;
        for (int i = 0; picture_.model.getPointAt(i, point) == 0; ++i)
            paintPoint(point);
        for (const pendingLabel& l : labels_)
            drawLabel(*l.group, l.name, l.east, l.north);
    }

private:
    devicePoint device(double east, double north) const {
        return picture_.view.toDevice(east, north);
    }

    void measure(double east, double north, pixelReach reach) {
        measured_->push_back({{east, north}, reach});
    }

    void line(int colour, double e0, double n0, double e1, double n1) {
        // Ends without a position would lie beyond any view.
        if (!isPlaced(e0, n0) || !isPlaced(e1, n1))
            return;
        if (measured_ != nullptr) {
            measure(e0, n0, {});
            measure(e1, n1, {});
            return;
        }
        // Only the part inside the picture is handed to the toolkit, which
        // draws a line with a far end millions of pixels away the wrong way.
        const wxSize size = dc_.GetSize();
        const std::optional<deviceSegment> shown =
            picture_.view.clippedLine({e0, n0}, {e1, n1}, size.x, size.y);
        if (!shown)
            return;
        dc_.SetPen(wxPen(graphColourOf(colour), 1));
        dc_.DrawLine(shown->from.x, shown->from.y, shown->to.x, shown->to.y);
    }

    void symbol(const graphGroupSettings& group, double east, double north) {
        if (!isPlaced(east, north))
            return;
        const int r = group.symbolSize;
        if (measured_ != nullptr)
            measure(east, north, {-r, -r, r, r});
        else
            drawSymbol(dc_, device(east, north), group.symbolType, group.symbolColour,
                       group.symbolSize);
    }

    // A point met as an instrument, a sight, a vector end and a control point
    // is labelled once: as a point of the point list where it is one (its
    // own kind), else where it was met first. The labels are drawn last, so
    // that no line runs through a name.
    struct pendingLabel {
        const graphGroupSettings* group;
        std::string name; // the model's records are copied out and reused
        double east;
        double north;
        bool ofPoint;
    };

    void label(const graphGroupSettings& group, std::string_view name, double east, double north,
               bool ofPoint = false) {
        if (!isPlaced(east, north) || name.empty())
            return;
        pendingLabel pending{&group, std::string(name), east, north, ofPoint};
        const auto [at, added] = labelOf_.emplace(pending.name, labels_.size());
        if (added)
            labels_.push_back(std::move(pending));
        else if (ofPoint && !labels_[at->second].ofPoint)
            labels_[at->second] = std::move(pending);
    }

    // The label starts right of and below the point by 1.2 symbol sizes.
    void drawLabel(const graphGroupSettings& group, std::string_view name, double east,
                   double north) {
        selectFont(std::max(group.textSize, smallestLegibleTextSize));
        const int offset = static_cast<int>(std::trunc(1.2 * group.symbolSize));
        const wxString text = wxString::FromUTF8(name.data(), name.size());
        if (measured_ != nullptr) {
            const wxSize extent = dc_.GetTextExtent(text);
            measure(east, north, {offset, offset, offset + extent.x, offset + extent.y});
            return;
        }
        const devicePoint at = device(east, north);
        // Drawn through the graphics context where there is one: the device
        // context would measure every text once more for its bounding box.
        if (wxGraphicsContext* gc = dc_.GetGraphicsContext())
            gc->DrawText(text, at.x + offset, at.y + offset, labelBackground_);
        else
            dc_.DrawText(text, at.x + offset, at.y + offset);
    }

    // Fonts are made once per picture and size, and selected only when the
    // size changes: making a font costs far more than drawing a label.
    void selectFont(int height) {
        if (height == selectedHeight_)
            return;
        auto found = fonts_.find(height);
        if (found == fonts_.end())
            found = fonts_
                        .emplace(height,
                                 wxFont(wxFontInfo(wxSize(0, height)).Family(wxFONTFAMILY_SWISS)))
                        .first;
        dc_.SetFont(found->second);
        selectedHeight_ = height;
    }

    const errEllipseRec* ellipseOf(std::string_view name) const {
        const auto found = ellipses_.find(name);
        return found == ellipses_.end() ? nullptr : found->second;
    }

    void ellipse(std::string_view name, double east, double north) {
        if (!settings_.ellipseOn || !picture_.ellipseScale || !isPlaced(east, north))
            return;
        const errEllipseRec* rec = ellipseOf(name);
        if (rec == nullptr)
            return;
        if (measured_ != nullptr) {
            const int r =
                static_cast<int>(std::ceil(std::abs(rec->semiMajor) * ellipsePixels_ / 2));
            measure(east, north, {-r, -r, r, r});
            return;
        }
        drawErrorEllipse(dc_, device(east, north),
                         {rec->orientation, rec->semiMajor, rec->semiMinor}, ellipsePixels_,
                         settings_.ellipseColour);
    }

    // A symbol of the group with, when shown, the point's error ellipse.
    void marked(const graphGroupSettings& group, std::string_view name, double east, double north) {
        if (!group.symbolOn)
            return;
        symbol(group, east, north);
        ellipse(name, east, north);
    }

    void paintSetup(const graphSetup& s) {
        const graphGroupSettings& trav = settings_.traverse;
        const std::string_view instrument = fixedText(s.instrument);
        const groundPoint back = backsightPosition(s);
        const double iE = s.instrumentE;
        const double iN = s.instrumentN;
        if (trav.symbolOn) {
            marked(trav, instrument, iE, iN);
            symbol(trav, back.east, back.north);
        }
        if (trav.textOn) {
            label(trav, instrument, iE, iN);
            label(trav, fixedText(s.backsight), back.east, back.north);
        }
        if (trav.lineOn && s.backsightDist > 0)
            line(trav.lineColour, iE, iN, back.east, back.north);
        for (const graphForesight& f : s.foresights)
            paintForesight(s, f);
        if (s.directionSource == directionObserved && settings_.azimuths.lineOn &&
            s.backsightDist > 0)
            line(settings_.azimuths.lineColour, iE, iN, back.east, back.north);
        for (const graphVector& v : s.vectors)
            paintVector(s, v);
    }

    void paintForesight(const graphSetup& s, const graphForesight& f) {
        const bool sideshot = f.angleStatus == 2;
        const graphGroupSettings& group = sideshot ? settings_.sideshots : settings_.traverse;
        const std::string_view name = fixedText(f.foresight);
        if (group.lineOn)
            line(group.lineColour, s.instrumentE, s.instrumentN, f.easting, f.northing);
        marked(group, name, f.easting, f.northing);
        if (group.textOn)
            label(group, name, f.easting, f.northing);
    }

    void paintVector(const graphSetup& s, const graphVector& v) {
        const graphGroupSettings& gps = settings_.gps;
        const std::string_view name = fixedText(v.to);
        if (gps.lineOn)
            line(gps.lineColour, s.instrumentE, s.instrumentN, v.toE, v.toN);
        marked(gps, name, v.toE, v.toN);
        if (gps.textOn)
            label(gps, name, v.toE, v.toN);
    }

    void paintPoint(const graphPoint& p) {
        const std::string_view name = fixedText(p.name);
        switch (p.pointType) {
        case 1:
            if (settings_.control.textOn)
                label(settings_.control, name, p.easting, p.northing, true);
            marked(settings_.control, name, p.easting, p.northing);
            break;
        case 3:
            paintUnellipsed(settings_.floating, name, p);
            break;
        case 4:
            paintUnellipsed(settings_.fixed, name, p);
            break;
        default:
            break;
        }
    }

    // Given and fixed points carry no error ellipse.
    void paintUnellipsed(const graphGroupSettings& group, std::string_view name,
                         const graphPoint& p) {
        if (group.textOn)
            label(group, name, p.easting, p.northing, true);
        if (group.symbolOn)
            symbol(group, p.easting, p.northing);
    }

    wxDC& dc_;
    const networkPicture& picture_;
    const graphSettings& settings_;
    std::vector<placedItem>* measured_;
    double ellipsePixels_;
    std::map<int, wxFont> fonts_;
    int selectedHeight_ = 0;
    std::unordered_map<std::string_view, const errEllipseRec*> ellipses_;
    std::vector<pendingLabel> labels_;
    std::unordered_map<std::string, std::size_t> labelOf_;
    wxGraphicsBrush labelBackground_ = dc_.GetGraphicsContext() != nullptr
                                           ? dc_.GetGraphicsContext()->CreateBrush(*wxWHITE_BRUSH)
                                           : wxGraphicsBrush();
};

} // namespace

void drawErrorEllipse(wxDC& dc, devicePoint at, const ellipseAxes& axes, double pixelsPerUnit,
                      int colour) {
    const int width = std::abs(static_cast<int>(std::trunc(axes.semiMinor * pixelsPerUnit)));
    const int height = std::abs(static_cast<int>(std::trunc(axes.semiMajor * pixelsPerUnit)));
    bezierEllipse points = ellipseToBezier({0, 0, width, height});
    const devicePoint centre{width / 2, height / 2};
    rotatePoints(ellipseTurn(axes.orientation), centre, points);
    for (devicePoint& p : points) {
        p.x += at.x - centre.x;
        p.y += at.y - centre.y;
    }
    std::vector<wxPoint> outline = flattenBezier(points);
    dc.SetPen(wxPen(graphColourOf(colour), 1));
    dc.DrawLines(static_cast<int>(outline.size()), outline.data());
}

void drawNetwork(wxDC& dc, const networkPicture& picture) {
    networkPainter(dc, picture).paint();
}

std::vector<placedItem> pictureItems(wxDC& dc, const networkPicture& picture) {
    std::vector<placedItem> items;
    networkPainter(dc, picture, &items).paint();
    return items;
}

double pictureEllipsePixels(const networkPicture& picture) {
    const graphSettings& settings = picture.settings;
    if (!settings.ellipseOn || !picture.ellipseScale)
        return 0.0;
    double largest = 0.0;
    for (const errEllipseRec& e : picture.ellipses)
        largest = std::max(largest, std::abs(e.semiMajor));
    const int reach = ellipseReachInSymbols * largestEllipseSymbol(settings);
    return ellipsePixelsPerUnit(*picture.ellipseScale, settings.ellipseSize, largest, reach);
}

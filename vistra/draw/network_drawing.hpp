#pragma once
// Draws the network model into a device context in pixels: setups with their
// backsight, foresight, sideshot, azimuth and GPS-vector lines, the marked
// points, labels and the adjusted points' error ellipses, north up and east
// right. Symbols, labels and ellipses keep their pixel size at every zoom.

#include "engine/adjustment_results.hpp"
#include "vistra/ellipse_geometry.hpp"
#include "vistra/graph_settings.hpp"
#include "vistra/network_model.hpp"
#include "vistra/view_transform.hpp"

#include <optional>
#include <vector>

#include <wx/dc.h>

struct networkPicture {
    const rawDataGraph& model;
    const viewTransform& view;
    const graphSettings& settings;
    const std::vector<errEllipseRec>& ellipses;
    std::optional<double> ellipseScale; // pixels per ground unit at size 1
};

wxColour graphColourOf(int index);

void drawNetwork(wxDC& dc, const networkPicture& picture);
// A symbol centred on `at`, `size` pixels from centre to side; outlined and
// filled in the colour. The triangle points down the screen.
void drawSymbol(wxDC& dc, devicePoint at, int type, int colour, int size);
// The outline of an ellipse of `axes` turned by its orientation, `pixelsPerUnit`
// pixels per ground unit, centred on `at`.
void drawErrorEllipse(wxDC& dc, devicePoint at, const ellipseAxes& axes, int pixelsPerUnit,
                      int colour);

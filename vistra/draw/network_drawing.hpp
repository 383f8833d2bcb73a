#pragma once
// Draws the network model into a device context in pixels: setups with their
// backsight, foresight, sideshot, azimuth and GPS-vector lines, the marked
// points, labels and the adjusted points' error ellipses, north up and east
// right. Symbols, labels and ellipses keep their pixel size at every zoom.
// Each name is labelled once, above the lines and symbols, at a size no
// smaller than can be read, and the error ellipses are never drawn so small
// that their symbols hide them.

#include "engine/adjustment_results.hpp"
#include "vistra/ellipse_geometry.hpp"
#include "vistra/graph_settings.hpp"
#include "vistra/network_model.hpp"
#include "vistra/view_transform.hpp"

#include <optional>
#include <vector>

#include <wx/dc.h>

// Labels are drawn at least this many pixels high, whatever smaller text size
// is set: below it a name is a smudge of a few dots.
inline constexpr int smallestLegibleTextSize = 14;
// The largest error ellipse reaches at least this many symbol sizes (of the
// largest symbol drawn with ellipses) from its point.
inline constexpr int ellipseReachInSymbols = 3;

struct networkPicture {
    const rawDataGraph& model;
    const viewTransform& view;
    const graphSettings& settings;
    const std::vector<errEllipseRec>& ellipses;
    std::optional<double> ellipseScale; // pixels per ground unit at size 1
};

wxColour graphColourOf(int index);

void drawNetwork(wxDC& dc, const networkPicture& picture);
// Every point, symbol, label and ellipse that `drawNetwork` would draw, at
// its ground point with its reach in pixels (labels measured in `dc`).
std::vector<placedItem> pictureItems(wxDC& dc, const networkPicture& picture);
// The pixels per ground unit of the picture's ellipse boxes (see
// `ellipsePixelsPerUnit`); 0 when no ellipse is drawn.
double pictureEllipsePixels(const networkPicture& picture);

// A symbol centred on `at`, `size` pixels from centre to side; outlined and
// filled in the colour. The triangle points down the screen.
void drawSymbol(wxDC& dc, devicePoint at, int type, int colour, int size);
// The outline of an ellipse of `axes` turned by its orientation, centred on
// `at`, in a box of the semi-axes times `pixelsPerUnit`.
void drawErrorEllipse(wxDC& dc, devicePoint at, const ellipseAxes& axes, double pixelsPerUnit,
                      int colour);

#pragma once
// Vertical sideshots of the 2D chain: points whose elevation too few height
// differences reach to strengthen the vertical adjustment. The filter runs
// before the vertical adjustment and takes them out of it; afterwards their
// elevations are carried from the adjusted ones.
//
// The vertical side of the records is used throughout: a point's vertical
// type (`coordRec::vertType`) and a distance's vertical status
// (`distanceObs2D::vertType`, -1 when the record carries no height
// difference). The vertical adjustment leaves both kinds of value 2 out.

#include "model/point_records.hpp"
#include "model/run_context.hpp"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

// Vertical type of a point made a vertical sideshot, and vertical status of
// a height difference that reaches one.
inline constexpr int vtSideshot = 2;

// Walks `pointList2D` until a walk marks nothing; resets the progress bar. 0.
int filterVertSideshots();
// One walk: a point of vertical type 0 (type 1 starts with 1; types 2, 4 and
// -1 are passed over) counts its height differences (status not -1) to
// points of `pointList2D` or `fixedPointList2D` whose vertical type is
// neither 2 nor -1; with at most 1 it becomes a vertical sideshot and its
// height differences get status 2. The number of points marked.
int filterVertSideshotsPass();
// Status 2 on the point's distances that carry a height difference. 0.
int markSideshotDistances2D(std::string_view name);

// Every vertical sideshot of `pointList2D` and `fixedPointList2D` gets its
// elevation anew from its height differences, repeated until nothing more is
// placed (sideshots of sideshots). The points placed, in the order they were
// placed, for the "Vertical Sideshots" listing.
std::vector<coordRec> computeSideshotElevations(const RunContext& context);
// The mean of the elevations that P's status-2 height differences carry
// from their other ends with a known elevation (other end - dh when P is the
// from point, + dh when it is the to point). 1 with P's elevation set, or 0
// when no estimate exists.
int sideshotElevation2D(coordRec& point);

// The names of the vertical sideshots (`pointList2D`, then
// `fixedPointList2D`, in list order) whose elevation no chain of their
// height differences carries from a point that is no sideshot and for which
// `hasElevation` holds: the points the placement above would leave without
// an elevation when those points have theirs.
std::vector<std::string>
verticalSideshotsOutOfReach(const std::function<bool(const coordRec&)>& hasElevation);

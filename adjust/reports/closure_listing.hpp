#pragma once
// The closures section of the report: for each traverse or GPS loop of the
// closure file its point list, its options and what its closure came to.
// Every line goes to both the report and the error report
// (writeRptErrLine). Lengths print "%9.*f" with `distPrec`; angles and
// directions by the project's angle and direction settings.
//
// A precision ratio (distance traversed, or perimeter, over the total error)
// prints as "%.0f"; a closure whose total error shows as zero at `distPrec`
// prints "1:Exact" instead of dividing by it.
//
// Results: 0, or 1 after a failed write (nothing more is written).

#include "engine/closures.hpp"

#include <string>

// An empty line, "Traverse Closures", its rule and an empty line.
int writeRptClosuresTitle();
// An empty line, "Traverse points:" and the list, wrapped.
int writeRptTraversePoints(const std::string& pointList);
// Two empty lines, "GPS Loop Points:" and the list, wrapped.
int writeRptGpsLoopPoints(const std::string& pointList);
// The closure type and, except for a GPS loop, whether the angle and vertical
// closures are computed; an empty line.
int writeRptClosureOptions(int type, int angClosure, int vertClosure);
int writeClosureAzimuths(double known_rad, double computed_rad);
int writeClosureAngularError(double error_rad, int angleCount);
int writeClosureLinear(double correctNorthing, double correctEasting, double computedNorthing,
                       double computedEasting, double distanceTraversed);
int writeClosureVertical(double correctElevation, double computedElevation);
int writeGpsLoopClosure(double misclosureX, double misclosureY, double misclosureZ,
                        double perimeter);

// "%.0f" of length / error, or "Exact" when the error shows as zero.
std::string precisionRatioText(double length, double error);

// The lines of a point list: each line is written as soon as it holds 128
// characters or more and ends with ','; the rest follows, then an empty line.
std::vector<std::string> wrappedPointList(const std::string& pointList);

// The station heading, the legs and the results of each pass of a traverse,
// as far as it got.
int writeRptTraverseClosure(const TraverseClosure& closure);
// The misclosure of a GPS loop when it was computed.
int writeRptGpsLoopClosure(const GpsLoopClosure& closure);

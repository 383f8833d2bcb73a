#pragma once
// Warnings about doubtful raw data, each written to both the report and the
// error report at the point of the run where it was found, and closed by an
// empty line. Linear values are in the project's unit, angles in radians;
// where two values are given the highest comes first. A failed write ends the
// warning; the caller's work goes on.

#include <string>

void warnElevFactorData(const std::string& usedPoint, const std::string& point);
void warnNoBacksight(const std::string& setup, const std::string& backsight,
                     const std::string& foresight);
void warnNoValidAngle(const std::string& setup, const std::string& backsight,
                      const std::string& foresight);
// The spread is measured across north when the two angles straddle it.
void warnAngleSpread(const std::string& setup, const std::string& backsight,
                     const std::string& foresight, double high_rad, double low_rad);
void warnInvalidDistance(const std::string& from, const std::string& to);
void warnForesightNoSetup(const std::string& foresight, double slopeDistance,
                          double verticalAngle_rad);
void warnHorizDistTolerance(const std::string& from, const std::string& to, double high,
                            double low);
void warnMarkToMarkDistTolerance(const std::string& from, const std::string& to, double high,
                                 double low);
void warnVertDistTolerance(const std::string& from, const std::string& to, double high, double low);
void warnMarkToMarkVertAngleTolerance(const std::string& from, const std::string& to,
                                      double high_rad, double low_rad);
void warnNETolerance(const std::string& point, double highX, double highY, double lowX,
                     double lowY);
void warnZTolerance(const std::string& point, double high, double low);
// As warnNETolerance and warnZTolerance for values in metres, shown in the
// project's `HorizUnits`.
void warnNEToleranceUnits(const std::string& point, double highX_m, double highY_m, double lowX_m,
                          double lowY_m);
void warnZToleranceUnits(const std::string& point, double high_m, double low_m);
void warnGeoidSeparation(const std::string& point);
void warnMultipleFixed(const std::string& point);

#pragma once
// How the project settings show the values that the project stores in one
// unit: angular standard errors (stored in seconds of arc, shown in grads
// when `angleType` is 1) and the tolerances of meaned measurements (angles
// stored in radians and typed as grads or packed dd.mmss, distances typed
// as plain numbers).

#include <optional>
#include <string>

// Seconds of arc in one grad: 0.9 degree x 3600.
inline constexpr double arcSecondsPerGrad = 3240.0;

// An angular standard error as shown: grads when `angleType` is 1, else
// seconds unchanged.
double shownAngularError(double seconds, int angleType);
// The reverse: seconds of arc from the shown value.
double angularErrorSeconds(double shown, int angleType);

// An angle tolerance as typed: grads ("%-f") when `angleType` is not 0,
// else packed dd.mmss of its size to whole seconds ("%-8.4f").
std::string angleToleranceText(double tolerance_rad, int angleType);
// The typed tolerance in radians; nullopt when the text is not wholly a
// number (platform::readNumber), or, in dd.mmss, no angle (beyond 360
// degrees, 60 minutes or seconds or more).
std::optional<double> angleToleranceFromText(const std::string& text, int angleType);

// A distance tolerance as typed ("%-8.4f"), and back; nullopt when the text
// is not wholly a number ("1-2" was 1).
std::string distanceToleranceText(double tolerance);
std::optional<double> distanceToleranceFromText(const std::string& text);

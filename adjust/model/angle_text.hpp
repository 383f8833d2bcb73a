#pragma once
// Angles, directions, latitudes and longitudes as people read and type them.
// The unit and precision follow the open project's settings (`projectVars`):
// `angleType` 1 shows grads, anything else degrees-minutes-seconds;
// `directionType` 0 shows quadrant bearings, anything else azimuths;
// `directionPrec` gives the decimals of the seconds (of grads: plus 4).
// Angles are radians. Texts are formatted in the C locale; each function
// returns its text, serving both the buffer and the string callers.

#include <string>

// Degrees-minutes-seconds: a sign character (blank or '-'), three-digit
// degrees, '-', two-digit minutes, an apostrophe, two-digit seconds with
// `decimals` decimals, a double quote: " 012-05'07.3\"". Seconds that round
// to 60 carry into the minutes, 60 minutes into the degrees.
std::string angleToDmsText(double angle_rad, int decimals);

// Grads: "%14.*f" of |angle| with decimals + 4 decimals, the three places
// before the decimal point zero-filled.
std::string angleToGonText(double angle_rad, int decimals);

// "%-f" of the signed angle in grads.
std::string angleToGonPlainCString(double angle_rad);

// Grads or degrees-minutes-seconds by `angleType` with `directionPrec`,
// padded with blanks on the right to 14 characters.
std::string angleToText(double angle_rad);

// Latitude with 5 decimals of the second (grads: 9 decimals) and "N" for
// values >= 0, else "S"; leading blanks and zeros removed, the last digit of
// the degrees kept ("0-30'00.00000\"N" below one degree).
std::string latToText(double lat_rad);
// Longitude, east positive: "E" for values > 0, else "W"; otherwise as latToText.
std::string lonToText(double lon_rad);

// Quadrant bearing of an azimuth: degrees "N45-00'00.0\"E", grads "N 50.00000 E".
std::string bearingToText(double azimuth_rad);

// Azimuth text (angleToText) when `directionType` is not 0, else the bearing;
// padded with blanks on the right to 15 characters.
std::string directionToText(double azimuth_rad);
// The same choice right-aligned in 15 characters.
std::string directionToCString(double azimuth_rad);

// "%4.1f" of a value in seconds of arc.
std::string fmtArcSeconds(double seconds);
// "% 7.*f" with `directionPrec`, padded with blanks on the right to 9 characters.
std::string formatAngleValue9(double value);
// "% 7.*f" with `distPrec`.
std::string formatDistanceSigned(double value);
// Seconds "%02.*f" with always two integer digits.
std::string fmtSeconds2(double seconds, int decimals);

// A typed angle to radians: grads when `angleType` is 1, else packed dd.mmss.
double angleToRadians(double value);

// Coded quadrant bearings: quadrant digit (1 NE, 2 SE, 3 SW, 4 NW) in front of
// the value; degrees form quadrant x 100 + dd.mmss, grads form quadrant x 1000 + grads.
double quadBearingToRadians(double coded);
double quadBearingDmsToRad(double coded);
double quadBearingGonToRad(double coded);

#pragma once
// The words the report headers print for the project's settings. An index
// outside a table gives an empty word.

#include <string>

// "OFF" / "ON" by `curvRefract`.
std::string onOffWord(int flag);
// "Meters", "US Feet", "Intl. Feet" by `ZUnits` or `HorizUnits`.
std::string unitWord(int unit);
// "GEOID99" … "OSGM02" by `geoidModelType` (0-7).
std::string geoidModelWord(int model);
// "Airy 1830" … "User-Defined" by `ellipsoid` or the projection's `EllipsInt` (0-16).
std::string ellipsoidWord(int code);
// "Transverse Mercator" … "Oblique Mercator, (EPSG)" by the projection's `ProjInt` (0-5).
std::string projectionWord(int code);
// The UTM zone name of `gridZone` 1-120 ("Zone  1 - N 174 deg. W To 180
// deg. W"); any other zone gives its number.
std::string utmZoneWord(int zone);
// The state-plane zone name of the system (1 = 1983, 2 = 1927) and zone
// code; a code the lists do not hold gives the four-digit code itself.
std::string statePlaneZoneWord(int system, int zoneCode);

// The letters of the two plane coordinates by `NEDisplayType`: 0 N, E;
// 1 E, N; 2 X, Y; 3 Y, X (X is the easting, Y the northing).
struct CoordinateLetters {
    char first;
    char second;
    bool eastingFirst; // the first column holds the easting
};
CoordinateLetters coordinateLetters();

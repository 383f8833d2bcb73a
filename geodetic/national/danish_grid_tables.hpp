#pragma once
// The numbers of the Danish System 34 / System 45 conversion, defined in the
// generated danish_grid_tables.cpp.
//
// Layouts (all doubles):
// - table: degree F; G = (F+1)(F+2)/2 coefficients a(i,j) of the first
//   output; the centre c1 of the first input; G coefficients b(i,j) of the
//   second output; the centre c2 of the second input. With x = first input
//   - c1 and y = second input - c2: first output = sum a(i,j) x^i y^j,
//   second output = sum b(i,j) y^i x^j (i + j <= F). Each block is stored
//   group by group, group j = 0..F holding i = 0..F-j.
// - polygon: the vertex count n, then n vertices (first, second); the ring
//   closes from the last vertex back to the first.
// - box: first minimum, first maximum, second minimum, second maximum,
//   inclusive.
// First and second coordinates: UTM zone 32 northing and easting on the UTM
// side; grid Y and X on the grid side.

namespace geodetic_detail::danish {

extern const double jyllandForward[], jyllandReverse[];
extern const double jyllandUtmPolygon[], jyllandGridPolygon[];
extern const double jyllandUtmBox[], jyllandGridBox[];

extern const double sjaellandForward[], sjaellandReverse[];
extern const double sjaellandUtmPolygon[], sjaellandGridPolygon[];
extern const double sjaellandUtmBox[], sjaellandGridBox[];

extern const double bornholmForward[], bornholmReverse[];
extern const double bornholmUtmPolygon[], bornholmGridPolygon[];
extern const double bornholmUtmBox[], bornholmGridBox[];

extern const double utmLandForward[], utmLandReverse[];
extern const double utmLandPolygon[], utmLandBox[];
extern const double utmBornholmForward[], utmBornholmReverse[];
extern const double utmBornholmBox[];

// Metres: a conversion whose round trip through the other table of its pair
// differs from the input by more than this in either coordinate is refused.
extern const double roundTripTolerance;

} // namespace geodetic_detail::danish

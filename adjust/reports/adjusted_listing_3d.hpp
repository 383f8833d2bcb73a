#pragma once
// The report sections of a converged three-dimensional adjustment: geographic
// coordinates with the grid, elevation and combined factors, grid
// coordinates with their standard deviations, earth-centred coordinates with
// theirs, and the adjusted observations with residuals, standardized
// residuals, standard deviations and the RMS of each kind.
//
// Each writes line by line through writeLine on `handle` and stops at the
// first failed write; the result is 0, or 1 after a failed write.
//
// The 3D chain holds metres; lengths are shown times the factor of
// `HorizUnits` (1, 3.2808333333333333 US survey feet, 3.280839895013123
// international feet per metre), earth-centred values in metres.
//
// Listed stations: those of `stationList` whose type is 0 or 1, in list
// order; each has three unknowns in the order north, east, up.
//
// Observation entries follow the rows of the 3D adjustment: distances of
// `distanceList`, angles of `angleList`, azimuths of `azimuthList`, zenith
// angles of `verticalList` (records whose status is not `obsNotAdjusted`
// each), three entries (north, east, up) per weighted control station (not
// listed: the type-1 stations of `controlStationList` whose station in
// `stationList` has type 0 or 1), three (north, east, up in the local frame
// of its from station) per GPS vector of `gpsVectorList` that takes part,
// then one per level record of `levelList`. Angle, azimuth and zenith
// entries are in seconds of arc; a zenith row's residual is that of the
// elevation angle (pi/2 - zenith).

#include "engine/cofactors.hpp"

#include <vector>

// "Adjusted Geographic Coordinates": latitude, longitude, ellipsoid height,
// convergence, grid scale factor, elevation factor (R / (R + h), metres)
// and their product of each listed station.
int writeRptGeographicCoords3D(int handle);

// "Adjusted Grid Coordinates, (<unit>)": grid coordinates in the order of
// `NEDisplayType`, the elevation above the geoid (ellipsoid height less the
// geoid separation, none taken as 0), and the standard deviations of the
// station's three unknowns, `unknownSigmas` (metres) holding three per listed
// station: north, east, up. They are stored (in metres) into the station's
// northing, easting and elevation standard errors in `stationList`, where
// the final coordinate output and the elevation column of the ellipse
// listing find them.
int writeRptAdjustedCoords3D(int handle, const std::vector<double>& unknownSigmas);

// "Adjusted Geocentric Coordinates, (Metric)": X, Y, Z of each listed station
// and their standard deviations. `varCov` is the cofactor matrix Q of the
// unknowns (north, east, up per listed station); the station's covariance
// is `referenceVariance` (s0^2) times its 3 x 3 block, turned into the
// earth-centred frame at the station's latitude and longitude. The records
// keep their grid standard errors.
int writeRptGeocentricCoords(int handle, const Cofactors& varCov, double referenceVariance);

// "Adjusted Observations": per observation the adjusted value (observed +
// residual), the residual, '*' when the standardized residual |v| / sigma
// (a-priori) exceeds 2, the standardized residual and the standard
// deviation of the adjusted observation (`observationSigmas`). A zenith is
// listed with the residual of the zenith (the negated elevation-angle
// residual). A GPS vector's three residuals are turned from the local frame
// of its from station into earth-centred dX, dY, dZ residuals; its standard
// deviations are those of its three rows. The entry numbered `markIndex`
// ends with " **" (the observation a blunder pass floated); -1 marks none.
int writeRptAdjustedObs3D(int handle, const std::vector<double>& residuals,
                          const std::vector<double>& observationSigmas, int markIndex);

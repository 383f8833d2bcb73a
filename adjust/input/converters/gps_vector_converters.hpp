#pragma once
// The converters of the makers' GPS vector formats into the system's own
// .GPS file (gps_vector_file.hpp). Each reads its whole input, then writes
// the .GPS file by temporary file and rename.
//
// Each returns conversionDone (0), or conversionFailed (1) with the reason
// in `message`: "Error opening <path>" when the input cannot be opened or
// the output cannot be written, else the fault of the input naming the file
// and line. After a failure no output file exists that was not there before,
// and one that was is unchanged.

#include <string>
#include <vector>

// Vector text file, one vector per line: lines whose first comma field is
// "VPP", "VRTK AutoTopo" or "VRTK Topo" hold from, to, dX, dY, dZ, sX, sY,
// sZ, rXY, rXZ, rYZ (blanks or commas between them; more fields are
// ignored). Other lines are skipped.
int convertTvfVectorTextToGps(const std::string& inputPath, const std::string& outputPath,
                              std::string& message);

// Adjustment input file: each "GRP" group gives one vector from its "DXYZ"
// line (from, to, dX, dY, dZ), its "COV CT UPPR a s ..." line and the three
// "ELEM" rows of the upper triangle that follow it, each element stored as
// (value + a) x s. With `stripLeadingZeros` the leading '0's of the names
// are dropped.
int convertAdjustmentInputToGps(const std::string& inputPath, const std::string& outputPath,
                                int stripLeadingZeros, std::string& message);

// Baseline text file: only lines beginning with '@' count; the second
// character is the record kind and the fields follow, separated by blanks or
// commas. "@%Unit: m|fts|fti" sets the unit of the lengths that follow (each
// file starts in metres); "@%Coordinate type:" must be Cartesian. "@+" base
// point and "@#" rover point name the ends, "@-" name dX dY dZ gives a
// vector to that name, "@=" s a11 a12 a13 a22 a23 a33 its covariances
// s^2 u^2 a. The .GPS file is written in metres. With `writeControl` each
// base point gives one C line ("C name X Y Z", at its first position),
// before the vectors; without standard errors of its own it takes the
// control errors of the project that reads it.
int convertBaselineTextToGps(const std::string& inputPath, const std::string& outputPath,
                             int writeControl, std::string& message);

// G-file: 'A' project record, 'C' vector records (dX, dY, dZ in units of
// 0.1 mm at columns 10, 26, 42, their standard errors at 21, 37, 53, from
// and to names at 59 and 69; columns count from the record letter), each
// completed by its 'D' record of correlations (index pairs 1 2, 1 3, 2 3,
// values in units of 1e-7). With `fromReport` the G-file sections of an
// online processing report are read: the 'A' to 'D' and 'I' lines after
// each line "G-FILES". The .GPS file is written in metres.
int convertGFileToGps(const std::string& inputPath, const std::string& outputPath, int fromReport,
                      std::string& message);

// A point name as read and as repaired.
struct repairedName {
    std::string read;
    std::string repaired;
};

// Data collector file of numbered fixed-column records (blanks at both ends
// of a line dropped; its first two characters are the record number; columns
// count from that first character as 1): 73 from-point (name at 5-20), 67
// to-point and vector (name at 5-20, dX, dY, dZ in the 16 columns from 21,
// 37, 53), 59 covariances (varX, covXY, covXZ, varY, covYZ, varZ in the 16
// columns from 23, 39, 55, 71, 87, 103), which completes the vector. Names
// longer than 10 characters are cut, '-' and blanks become '_'; each
// repaired name joins `repaired` once.
int convertDataCollectorToGps(const std::string& inputPath, const std::string& outputPath,
                              std::vector<repairedName>& repaired, std::string& message);

// "The following points were modified because of invalid point names.\n"
// and one line "  <read> -> <repaired>\n" per name.
std::string repairedNamesReport(const std::vector<repairedName>& repaired);

// Data-exchange export: the "[GPS]" lines whose first field starts with
// "Vector" (fields split by the separator of "[General]"): field 3 from and
// field 4 to (upper-cased and made valid as above), then dX, dY, dZ, varX,
// covXY, covXZ, varY, covYZ, varZ.
int convertAscExportToGps(const std::string& inputPath, const std::string& outputPath,
                          std::vector<repairedName>& repaired, std::string& message);

// Binary observation file, little-endian: an 84-byte header beginning with
// "VECTOR FILE" and its zero, then 2180-byte vector records (names at 0 and
// 130, standard errors as floats at 2046, correlations as floats at 2062,
// dX, dY, dZ as doubles at 2098, GPS week at 2128, seconds of week at 2136).
// Each vector gets a G0 line naming its number, day of year and time.
int convertObservationFileToGps(const std::string& inputPath, const std::string& outputPath,
                                int stripLeadingZeros, std::string& message);

// "V<n>  Day<day>  <hh>:<mm>" of a vector observed at `seconds` of GPS week
// `week`.
std::string observationSessionLabel(int n, int week, double seconds);

// Vector XML export: every "Vector" element gives one vector from its child
// elements "BasePoint" (from), "RoverPoint" (to), "DX", "DY", "DZ", the
// standard errors "SX", "SY", "SZ" and the correlations "CXY", "CXZ",
// "CYZ" (0 when absent). Other elements are passed over.
int convertVectorXmlToGps(const std::string& inputPath, const std::string& outputPath,
                          std::string& message);

// LandXML file: with `readPositions`, each "GPSPosition" inside a "Survey"
// element gives a C line: its attributes "wgsLatitude", "wgsLongitude"
// (degrees) and "wgsHeight" (ellipsoidal, metres) as earth-centred X, Y, Z
// on GRS 80, the name of the "TargetPoint" inside it, and the standard
// errors the square roots of "covarianceXX", "covarianceYY" and
// "covarianceZZ" of its "GPSQCInfoLevel2" (without them the line leaves the
// standard errors to the project). Attributes are matched by their whole
// names. "GPSVector" elements are not converted: `notice` then says how
// many there were, and names each position dropped for want of its
// latitude, longitude or height; it is empty otherwise.
int convertLandXmlToGps(const std::string& inputPath, const std::string& outputPath,
                        int readPositions, std::string& message, std::string& notice);

// XML field-book job file, ".GPS WEIGHT COVARIANCE": each "PointRecord"
// whose "Method" is "FromBase" and that holds a "WGS84" position
// ("Latitude", "Longitude" in degrees, "Height") gives at once the line
// "C name X Y Z 0 0 0 code" (X, Y, Z earth-centred on GRS 80; the
// standard errors of 0 make it fixed); any other holding "Name", "Code",
// "RTK_Base", "ECEFDeltas" ("DeltaX", "DeltaY", "DeltaZ") and
// "QualityControl2" ("VCVxx", "VCVxy", "VCVxz", "VCVyy", "VCVyz", "VCVzz")
// gives the vector from the base to the named point with the code as its
// comment, written after the C lines. Other records give nothing.
int convertFieldBookXmlToGps(const std::string& inputPath, const std::string& outputPath,
                             std::string& message);

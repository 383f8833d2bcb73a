#pragma once
// The .GPS text file: GPS baseline vectors with their covariances, and
// earth-centred control points. Every maker's vector format is converted
// into it; the vector reader (gps_vector_reader.hpp) and the control reader
// (gps_control_points.hpp) read it.
//
// One record per line. Blanks, tabs and CR at both ends are ignored; then the
// first character tells the kind:
//   .GPS WEIGHT COVARIANCE | .GPS WEIGHT STDERRCORRELATION
//        how the G2 and G3 lines that follow hold the weights (a file starts
//        with COVARIANCE; any other header leaves the mode as it was)
//   G0 <session text>                       ignored
//   G1 <from>-<to> dX dY dZ [-- comment]    a vector (earth-centred, metres
//                                           once read)
//   G2 a b c   variances of dX, dY, dZ, or their standard errors
//   G3 a b c   covariances XY, XZ, YZ, or the correlation coefficients;
//              completes the vector
//   C name X Y Z sX sY sZ [description]     a control point (metres)
// Fields are separated by blanks, tabs or commas. Any other line is not a
// record. Every field is read whole: a number wholly a number (a control
// byte inside it refuses it), a name of at most 10 characters (never cut),
// and a G1, G2 or G3 line has no field beyond its own (a decimal comma
// splits a number in two).
//
// Lines are written with CR LF:
//   "G1  %s-%s %16.8lf %16.8lf %16.8lf", then " --comment" when there is one
//   "G2  %14.6e %14.6e %14.6e"   "G3  %14.6e %14.6e %14.6e"
//   "C %s %f %f %f %e %e %e %s" (name, X, Y, Z, sX, sY, sZ, description)
// so reading a written file gives back the values to the printed precision.

#include "model/list_containers.hpp"
#include "model/observation_records.hpp"
#include "model/point_records.hpp"

#include <string>
#include <string_view>
#include <vector>

// What a line holds, once `classifyGpsLine` has cleaned it.
enum class gpsLineKind { vector = 0, control = 1, header = 2, other = 3 };

// How G2 and G3 lines hold the weights.
inline constexpr int gpsModeCovariance = 0;
inline constexpr int gpsModeStdErrCorrelation = 1;

// Trims blanks, tabs and CR at both ends, tells the kind and removes its
// leading "G", "C" or ".".
gpsLineKind classifyGpsLine(std::string& line);

// The fields of a line: split at blanks, tabs and commas, empty fields
// skipped.
std::vector<std::string_view> gpsFields(std::string_view text);

// A header line (after its "."): "GPS", "WEIGHT", then "COVARIANCE" (mode
// 0) or "STDERRCORRELATION" (mode 1), compared exactly; any other header
// leaves `mode` alone.
void parseGpsHeader(std::string_view text, int& mode);

// "from-to": the text before the first '-' is `from`, the text after the
// last '-' is `to` (a further '-' starts `to` again). Empty, or the sentence
// refusing a pair without '-' or a name over 10 characters (never cut: two
// points would become one).
std::string splitVectorPointNames(pointNameField& from, pointNameField& to, std::string_view pair);

// The comment of a G1 line: the text after the first "--" when the first
// '-' of the line starts one, else the text after the last "--"; cut at
// `gpsCommentMax` characters. Empty without "--".
std::string_view g1Comment(std::string_view text);

// The G1 line after its "G1": names, dX, dY, dZ and the comment into `rec`.
// Empty, or the sentence saying why the line is refused (`rec` unchanged):
// a field missing or beyond dZ before the comment, a number that is not
// wholly one, a pair refused by splitVectorPointNames.
std::string parseG1Line(std::string_view text, gpsVectorRec& rec);
// The G2 line after its "G2": three variances (mode 0) or standard errors,
// which are squared (mode 1). Empty, or the sentence refusing a line of
// other than three fields, a number that is not wholly one or a negative
// variance.
std::string parseG2Line(std::string_view text, gpsVectorRec& rec, int mode);
// The G3 line after its "G3": three covariances (mode 0) or correlation
// coefficients (from -1 to 1) turned into covariances with the standard
// errors of the variances stored (mode 1). Empty, or the sentence refusing
// a line of other than three fields, a number that is not wholly one or a
// correlation outside -1 to 1.
std::string parseG3Line(std::string_view text, gpsVectorRec& rec, int mode);

// Sets every number of the record to 0 and its three texts to empty.
void clearGpsVectorRec(gpsVectorRec& rec);

// A vector read in a unit of `u` metres, in metres: its components and the
// two further lengths times u, its variances and covariances times u^2.
void scaleGpsVectorToMetres(gpsVectorRec& v, double u);

// The weights of a vector in metres: each variance becomes 2 c^2 + 2^f var,
// each covariance 2^f cov, c the centering error `stErrGPSCentering` of the
// project, in the project's unit `HorizUnits`, turned into metres, and f
// the factor `stErrGPSMultFactor`.
void applyGpsVectorWeighting(gpsVectorRec& rec);

// Appends the G1, G2 and G3 lines of every vector of `list`, in list
// order, to `text` (no header: each converter writes its own). Returns 0.
int writeGpsVectorRecords(std::string& text, const seqList<gpsVectorRec>& list);
// Appends one C line per entry of `gpsXyzControlArray`, in order. Returns 0.
int writeGpsControlLines(std::string& text);
// The C line of one point, CR LF included. A point whose standard errors
// are not known (any of them unset) gets "C name X Y Z" alone, so the
// reader gives it the project's standard errors.
std::string gpsControlLine(const ptGPSXYZCntrl& point);

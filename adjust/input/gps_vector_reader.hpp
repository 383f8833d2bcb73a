#pragma once
// Reading a project's GPS vector files into `gpsVectorList`.
//
// Each vector of a .GPS file (gps_vector_file.hpp) is taken when its G3
// line is read: its weights are applied (var' = 2c^2 + 2^f var, cov' =
// 2^f cov), then dX, dY, dZ are turned into metres by the factor u of
// `GPSUnits` (0 metres and 3: 1; 1 US survey feet; 2 international feet)
// and the variances and covariances by u^2, and it is appended. A vector
// with an empty point name asks "Invalid Point number in GPS vector\nFrom
// Pt.: %s -> To Pt.:%s" (OK goes on, Cancel stops the reading; the vector
// stays either way).
//
// A line that is not what its kind needs (a number missing or not a number,
// a G2 or G3 without the lines before it, a G1 whose vector never gets its
// G3) stops the reading: the message and the error report name the file and
// the line. Vectors read before stay in the list.

#include "model/run_context.hpp"
#include "platform/line_reader.hpp"

#include <memory>
#include <string>

inline constexpr int gpsReadDone = 0;
inline constexpr int gpsReadFailed = 1;

// Values of `gpsFileFmtType`: 0 .GPS files; 1-11 the makers' formats, each
// converted into a .GPS file that is then read (gps_vector_routes.hpp).
inline constexpr int gpsFormatNative = 0;
inline constexpr int gpsFormatLast = 11;

// The project's GPS files (`fileList`: names each followed by "\n"; a last
// name without it is read too) into a fresh `gpsVectorList`, by
// `gpsFileFmtType`; another format value reads nothing. `checkNames` 1 asks
// about empty point names. Puts the project's standard errors in force.
// gpsReadDone or gpsReadFailed.
int readGpsVectorFiles(const RunContext& context, const std::string& fileList, int checkNames);

// Appends the vectors of every .GPS file of the list to `gpsVectorList`.
// "Error opening %s" for a file that cannot be opened. gpsReadDone or
// gpsReadFailed.
int readGpsFiles(const RunContext& context, const std::string& fileList, int checkNames);
// As readGpsFiles, with the lengths of the files in units of `unitFactor`
// metres whatever `GPSUnits` says (1 for files converted into metres).
int readGpsFilesInUnit(const RunContext& context, const std::string& fileList, int checkNames,
                       double unitFactor);

// Opens a GPS file of the project for reading and says "Reading GPS
// Vectors" on the progress dialog; null after "Error opening %s".
std::unique_ptr<platform::TextFileReader> openGpsFile(const RunContext& context,
                                                      const std::string& path);

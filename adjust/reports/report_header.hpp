#pragma once
// The title and settings block that opens a run's report, the projection
// block of a user-defined coordinate system, the header of the formatted
// coordinate listing (.OUT) and the column headings of the coordinate
// listings. The date line is the shell's clock in the C library's
// 24-character form. Each writer stops at its first failed write; results
// are 0, or 1 after a failed write.

#include <string>

// Modes of writeRptHeader.
inline constexpr int adjustmentReportHeader = 0;
inline constexpr int verticalReportHeader = 1;
inline constexpr int floatBlunderReportHeader = 10;
inline constexpr int reweightBlunderReportHeader = 11;
inline constexpr int preprocessingReportHeader = 12;

// Title and settings block: modes 0 and 1 to the report, 10 to 12 (blunder
// detection and preprocessing) to the error report after one empty line in
// the report; any other mode writes nothing.
int writeRptHeader(int mode);

// The user-defined projection (`udp`, file `UDPFilePath`) with its ellipsoid
// and the parameters of its projection type.
int writeRptProjection(int handle);

// The .OUT header: title ("ADJUSTED COORDINATES" when `adjusted` is 1, else
// "UNADJUSTED COORDINATES"), date, files, settings and the column line.
int writeOutHeader(int handle, int adjusted);

// Column headings; the coordinate letters follow `NEDisplayType`. The *Text
// forms give the line for writers that compose a section.
std::string coordHeadingText();
std::string coordZHeadingText();
std::string geocentricHeadingText();
std::string geographicStdErrHeadingText();
int writeRptCoordHeading(int handle);
int writeRptCoordZHeading(int handle);
int writeRptGeocentricHeading(int handle);
int writeRptGeographicHeading(int handle);
int writeRptGeographicHeading3D(int handle);
int writeRptGeographicStdErrHeading(int handle);

#pragma once
// Packed degrees (dd.mmss): files and dialogs hold angles as a number whose
// integer part is degrees, the first two decimals minutes, the next two whole
// seconds and any further decimals the fraction of a second
// (12.30451 = 12°30'45.1"). A negative value carries the sign of the whole
// angle. Inside the program angles are radians.
//
// All texts are formatted and parsed in the C locale.

#include <string>

// Packed dd.mmss -> decimal degrees. The value is split through its "%.10f"
// text, so the seconds carry at most six decimals.
double dmsToDegrees(double packed);
// As dmsToDegrees, splitting the "%.*f" text with `decimals` decimals.
double dmsToDegreesPrec(double packed, int decimals);
// Packed dd.mmss -> radians.
double dmsToRadians(double packed);
// dd.mmss text -> radians (the text is read as the C library's atof reads it).
double dmsTextToRadians(const std::string& text);
// dd.mmss text -> radians, split with `decimals` decimals.
double dmsCStringToRadiansPrec(const std::string& text, int decimals);

// Packed dd.mmss of |angle_rad| rounded to whole seconds, "%-8.4f".
std::string angleToDmsPackedText(double angle_rad);
// Signed packed dd.mmss with the seconds rounded to `decimals` decimals,
// "%-8.*f" with decimals + 4.
std::string angleToDmsPackedPrec(double angle_rad, int decimals);

// "%.8f" and "%-8.4f".
std::string fmtDouble8(double value);
std::string fmtDouble4CString(double value);

// 1 when a typed dd.mmss is invalid (more than 360 degrees, 60 or more
// minutes or seconds), else 0.
int checkDmsText(const std::string& text);
// 1 when a character other than blank, '-', '.', a digit, 'E' or 'e' occurs.
int hasNonNumericChar(const std::string& text);
// 1 when only digits, blanks, '+', '-' and '.' occur, else 0.
int isNumericText(const std::string& text);

#pragma once
// The rows of the EDM calibration dialog's observation grid as texts, apart
// from the window: the columns, a row's texts from an OB record and the OB
// record of a row's texts.
//
// Columns: 0 the row number; 1 From Sta., 2 From HI, 3 From Elev., 4 To Sta.,
// 5 To HI, 6 To Elev., 7 Observed S. Dist., 8 Published Dist.; while the
// atmospheric correction is applied 9 Temp. C. (dry bulb) and 10 Pressure
// (mm of Hg), and with the wet-bulb method as well 11 Temp. C. (wet bulb).

#include "input/edm_file.hpp"

#include <array>
#include <string>

inline constexpr int edmBaseColumns = 9;
inline constexpr int edmVapourColumns = 11;
inline constexpr int edmWetBulbColumns = 12;
inline constexpr int edmDryColumn = 9;
inline constexpr int edmPressureColumn = 10;
inline constexpr int edmWetColumn = 11;

struct EdmColumn {
    const char* heading;
    int width_px;
};
// Index: the column.
extern const std::array<EdmColumn, 12> edmColumns;

// Texts of columns 1 to 11 (index 0 is column 1).
using EdmRowTexts = std::array<std::string, 11>;

// The weather texts of a row: dry temperature, pressure, wet temperature.
using EdmWeatherTexts = std::array<std::string, 3>;

// The texts an OB record shows: names as stored, heights "%-6.3f",
// elevations "%-8.3f", distances "%-8.4f", weather "%-4.1f".
EdmRowTexts edmRowTextsOf(const CALIBRATE_RAWREC& observation);

// The OB record of a row's texts: names as typed, numbers as atof reads
// them (an empty text is 0).
CALIBRATE_RAWREC edmObservationOf(const EdmRowTexts& texts);

// True when every text of the row is empty or blank: such a row is no
// observation.
bool edmRowIsEmpty(const EdmRowTexts& texts);

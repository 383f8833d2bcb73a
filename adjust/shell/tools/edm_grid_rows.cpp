#include "shell/tools/edm_grid_rows.hpp"

#include "platform/c_locale_text.hpp"

#include <algorithm>

const std::array<EdmColumn, 12> edmColumns = {{
    {"", 45},
    {"From Sta.", 80},
    {"From HI", 55},
    {"From Elev.", 60},
    {"To Sta.", 80},
    {"To HI", 55},
    {"To Elev.", 60},
    {"Observed S. Dist.", 75},
    {"Published Dist.", 75},
    {"Temp. C. (dry bulb)", 60},
    {"Pressure (mm of Hg)", 60},
    {"Temp. C. (wet bulb)", 60},
}};

EdmRowTexts edmRowTextsOf(const CALIBRATE_RAWREC& r) {
    using platform::formatC;
    return {r.fromStation,
            formatC("%-6.3f", r.instrumentHeight),
            formatC("%-8.3f", r.fromElevation),
            r.toStation,
            formatC("%-6.3f", r.reflectorHeight),
            formatC("%-8.3f", r.toElevation),
            formatC("%-8.4f", r.slopeDistance),
            formatC("%-8.4f", r.publishedDistance),
            formatC("%-4.1f", r.dryTemp_C),
            formatC("%-4.1f", r.pressure_mmHg),
            formatC("%-4.1f", r.wetTemp_C)};
}

CALIBRATE_RAWREC edmObservationOf(const EdmRowTexts& t) {
    using platform::atofC;
    CALIBRATE_RAWREC r;
    r.kind = edmObservation;
    r.fromStation = t[0];
    r.instrumentHeight = atofC(t[1]);
    r.fromElevation = atofC(t[2]);
    r.toStation = t[3];
    r.reflectorHeight = atofC(t[4]);
    r.toElevation = atofC(t[5]);
    r.slopeDistance = atofC(t[6]);
    r.publishedDistance = atofC(t[7]);
    r.dryTemp_C = atofC(t[8]);
    r.pressure_mmHg = atofC(t[9]);
    r.wetTemp_C = atofC(t[10]);
    fitEdmRecordTexts(r);
    return r;
}

bool edmRowIsEmpty(const EdmRowTexts& texts) {
    return std::all_of(texts.begin(), texts.end(), [](const std::string& text) {
        return text.find_first_not_of(" \t") == std::string::npos;
    });
}

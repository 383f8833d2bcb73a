// The supplemental control text file reader, whole files of each text
// format, in a local system and in UTM (where latitudes and longitudes
// become grid positions): every point given or the file refused, never a
// crash, and a point given has no coordinate that is no data.

#include "fuzz_input.hpp"
#include "input/supplemental_files.hpp"
#include "input/supplemental_lines.hpp"
#include "model/settings/global_vars.hpp"
#include "platform/c_locale_text.hpp"

#include <cstdlib>

namespace {

bool unsetOrData(double value) {
    return !isSet(value) || platform::isDataNumber(value);
}

void readAs(const fuzzinput::InputFile& file, int format, int gridSystem) {
    projectVars.setDefaults();
    projectVars.projectFileName = file.folder() + "/fuzz.prj";
    projectVars.controlNEFileName = "input.txt";
    projectVars.nezFileFmtType = format;
    projectVars.gridSystem = gridSystem;
    projectVars.gridZone = 18;
    std::string error;
    readSupplementalControl(
        [](const SupplementalLine& point) {
            if (!unsetOrData(point.northing) || !unsetOrData(point.easting) ||
                !unsetOrData(point.elevation))
                std::abort();
        },
        error);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const fuzzinput::InputFile file(fuzzinput::textOf(data, size), "input.txt");
    for (const int format : {supplementalNez, supplementalLatLong, supplementalNezStdErrs})
        readAs(file, format, gridLocal);
    readAs(file, supplementalLatLong, gridUtm);
    return 0;
}

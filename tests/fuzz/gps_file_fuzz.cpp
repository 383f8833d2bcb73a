// The .GPS vector file reader: any bytes read as a project's GPS file give
// vectors with finite components, or a refusal, never a crash.

#include "fuzz_input.hpp"
#include "input/gps_vector_reader.hpp"
#include "model/program_lists.hpp"
#include "model/run_context.hpp"
#include "model/settings/global_vars.hpp"

#include <cmath>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const fuzzinput::InputFile file(fuzzinput::textOf(data, size), "input.gps");
    projectVars.setDefaults();
    projectVars.projectFileName = file.folder() + "/fuzz.prj";
    projectVars.geodeticModel = 1;
    resetProgramLists();
    SilentShell shell;
    const RunContext context(shell);
    readGpsFiles(context, "input.gps\n", 1);
    gpsVectorRec vector;
    for (int i = 0; gpsVectorList.getAt(i, vector) == 0; ++i)
        if (!std::isfinite(vector.dX) || !std::isfinite(vector.dY) || !std::isfinite(vector.dZ))
            std::abort();
    resetProgramLists();
    return 0;
}

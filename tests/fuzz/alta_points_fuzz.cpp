// The ALTA points file reader: any bytes read as an .alt file give pairs,
// entries and a report maximum within its range, or messages, never a
// crash.

#include "fuzz_input.hpp"
#include "input/alta_points_file.hpp"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const fuzzinput::InputFile file(fuzzinput::textOf(data, size), "input.alt");
    AltaPoints points;
    std::vector<std::string> errors;
    readAltaPointsFile(file.path(), points, errors);
    if (points.maxPoints < 0 || points.maxPoints > 1000)
        std::abort();
    altaPointsFileText(points);
    return 0;
}

// The supplemental control line reader: any line of any text format reads
// into a point or is refused for its latitude or longitude, never a crash;
// a refused line is always a latitude-longitude line.

#include "fuzz_input.hpp"
#include "input/supplemental_lines.hpp"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    for (const std::string& line : fuzzinput::linesOf(fuzzinput::textOf(data, size)))
        for (const int format : {supplementalNez, supplementalLatLong, supplementalNezStdErrs}) {
            SupplementalLine read;
            if (!readSupplementalLine(format, line, read) && format != supplementalLatLong)
                std::abort();
        }
    return 0;
}

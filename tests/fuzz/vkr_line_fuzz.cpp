// The numeric raw (.vkr) record reader: any line is a record, nothing or
// malformed, never a crash.

#include "fuzz_input.hpp"
#include "input/numeric_raw_reader.hpp"
#include "input/vkr_record_check.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    vkrReaderState state = startVkrRead();
    for (const std::string& line : fuzzinput::linesOf(fuzzinput::textOf(data, size))) {
        rawRec record;
        vkrRecordFault(line);
        parseVkrLine(line, record, state);
    }
    return 0;
}

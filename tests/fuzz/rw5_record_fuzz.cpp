// The .RW5 record splitter and its field checks: any line splits into a
// record and is judged without a crash.

#include "fuzz_input.hpp"
#include "input/rw5_lines.hpp"
#include "input/rw5_numbers.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    for (const std::string& line : fuzzinput::linesOf(fuzzinput::textOf(data, size))) {
        const Rw5Record record = splitRw5Record(line);
        nonDataNumberToken(record);
        rw5RecordFault(record);
        for (std::size_t i = 0; i < record.tokens.size(); ++i)
            rw5Number(rw5Token(record, i), 2);
    }
    return 0;
}

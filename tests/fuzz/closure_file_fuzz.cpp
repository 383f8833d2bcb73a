// The closure definition file reader: any bytes read as a .cls file give
// definitions and messages, never a crash, and the definitions read write
// out as a file's text.

#include "fuzz_input.hpp"
#include "input/closure_file.hpp"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const fuzzinput::InputFile file(fuzzinput::textOf(data, size), "input.cls");
    std::vector<ClosureDefinition> definitions;
    std::vector<std::string> errors;
    if (!readClosureDefinitions(file.path(), definitions, errors))
        return 0;
    std::vector<ClosureRecord> records;
    readClosureRecords(file.path(), records);
    closureFileText(definitions);
    return 0;
}

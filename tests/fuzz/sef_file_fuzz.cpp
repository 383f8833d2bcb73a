// The standard-error file reader: any bytes read over the record, never a crash.

#include "fuzz_input.hpp"
#include "model/settings/std_err_record.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const fuzzinput::InputFile file(fuzzinput::textOf(data, size), "input.sef");
    stdErrRec record;
    record.load(file.path());
    return 0;
}

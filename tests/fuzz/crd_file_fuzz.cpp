// The point-file back-ends: any bytes opened as a .crd are refused or read,
// and a walk over them ends within the file's size.

#include "fuzz_input.hpp"
#include "point_file_walk.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const fuzzinput::InputFile input(fuzzinput::textOf(data, size), "input.crd");
    ptbank::CrdFile file;
    if (file.open(input.path(), 0, -1) != 1)
        return 0;
    fuzzinput::walkWithinSize(file, size);
    file.countInRange("ALL");
    return 0;
}

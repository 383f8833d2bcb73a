// The point-file back-ends: any bytes opened as a .crd are refused or read,
// and a walk over them ends within the file's size.

#include "fuzz_input.hpp"
#include "ptbank/crd_file.hpp"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const fuzzinput::InputFile input(fuzzinput::textOf(data, size), "input.crd");
    ptbank::CrdFile file;
    if (file.open(input.path(), 0, -1) != 1)
        return 0;
    ptbank::crdIoPointRec point;
    // No record is smaller than 8 bytes: more steps than that mean a walk in a circle.
    const std::size_t bound = size / 8 + 2;
    std::size_t steps = 0;
    file.setRange(nullptr);
    while (file.next(point) == 1)
        if (++steps > bound)
            std::abort();
    file.read("1", point, 1);
    file.countInRange("ALL");
    return 0;
}

// The indexed point files (data file and index): the input's first two bytes
// say where the data file ends and the index begins. Any pair is refused or
// read, and a walk over it ends within the files' size.

#include "fuzz_input.hpp"
#include "point_file_walk.hpp"
#include "ptbank/crd_file_type.hpp"

#include <algorithm>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2)
        return 0;
    const std::string text = fuzzinput::textOf(data + 2, size - 2);
    const std::size_t split = std::min<std::size_t>(text.size(), data[0] | (data[1] << 8));
    const fuzzinput::InputFile dataFile(text.substr(0, split), "job.crd");
    const fuzzinput::InputFile indexFile(text.substr(split), "job.idx");
    ptbank::CrdFile file;
    if (file.open(dataFile.path(), 0, ptbank::crd_type::vkNumeric) == 1)
        fuzzinput::walkWithinSize(file, size);
    return 0;
}

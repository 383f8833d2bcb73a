#pragma once
// What the point-file fuzz targets do with a file that opened: a whole walk,
// which must end within the input's size, and a read by name.

#include "ptbank/crd_file.hpp"

#include <cstddef>
#include <cstdlib>

namespace fuzzinput {

// No point takes fewer than 8 bytes of a file: a walk with more steps than
// that is going round in a circle.
inline void walkWithinSize(ptbank::CrdFile& file, std::size_t inputSize) {
    ptbank::crdIoPointRec point;
    const std::size_t bound = inputSize / 8 + 2;
    std::size_t steps = 0;
    file.setRange(nullptr);
    while (file.next(point) == 1)
        if (++steps > bound)
            std::abort();
    file.read("1", point, 1);
}

} // namespace fuzzinput

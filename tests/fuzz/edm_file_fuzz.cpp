// The EDM calibration file reader and the computation over what it read:
// any bytes, never a crash.

#include "fuzz_input.hpp"
#include "reports/edm_calibration_report.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const fuzzinput::InputFile file(fuzzinput::textOf(data, size), "input.edm");
    cEdmCalibrate edm;
    edm.readEdmFile(file.path());
    edm.computeCalibration();
    return 0;
}

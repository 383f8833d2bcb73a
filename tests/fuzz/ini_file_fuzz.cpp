// The program's INI file reader: any bytes give five values, never a crash.

#include "fuzz_input.hpp"
#include "model/settings/ini_paths.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const fuzzinput::InputFile file(fuzzinput::textOf(data, size), "TARNWELL.INI");
    iniPaths paths;
    paths.read(file.folder());
    return 0;
}

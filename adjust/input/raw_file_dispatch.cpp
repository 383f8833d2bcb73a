#include "input/numeric_raw_reader.hpp"
#include "input/raw_files.hpp"

#include "input/rw5_reader.hpp"
#include "model/settings/global_vars.hpp"

#include <algorithm>

bool listNamesRw5File(const std::string& fileList) {
    std::string upper = fileList;
    std::transform(upper.begin(), upper.end(), upper.begin(),
                   [](unsigned char c) { return c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c; });
    return upper.find(".RW5") != std::string::npos;
}

int readRawFiles(const std::string& fileList) {
    if (!listNamesRw5File(fileList))
        return readVkrRawFile(fileList);
    const bool terminated = !fileList.empty() && fileList.back() == '\n';
    return readRw5File(terminated ? fileList : fileList + "\n", projectVars.PtSubstituteS);
}

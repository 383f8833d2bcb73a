#include "input/numeric_raw_reader.hpp"
#include "input/raw_files.hpp"

#include "input/rw5_reader.hpp"
#include "model/settings/global_vars.hpp"
#include "output/report_lines.hpp"
#include "platform/shell_services.hpp"

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

// No run context reaches the readers: their interface has none, so the shell
// is the active one (the run installs its own for its length).
void reportRawFileFault(const std::string& text) {
    writeLine(errFile, text);
    writeLine(errFile, "");
    activeShell().message(text, MessageKind::ok);
}

#include "input/numeric_raw_reader.hpp"
#include "input/raw_files.hpp"

#include "input/rw5_reader.hpp"
#include "model/settings/global_vars.hpp"
#include "model/settings/project_paths.hpp"
#include "output/report_lines.hpp"
#include "platform/paths.hpp"
#include "platform/shell_services.hpp"

#include <algorithm>

// A name's own extension is its last one: "job.rw5.vkr" is a numeric file.
bool listNamesRw5File(const std::string& fileList) {
    return std::ranges::any_of(fileListNames(fileList), [](const std::string& name) {
        return platform::equalsIgnoringCase(platform::pathFromText(name).extension().string(),
                                            ".rw5");
    });
}

int readRawFiles(const std::string& fileList, RawReadWording wording) {
    if (!listNamesRw5File(fileList))
        return readVkrRawFile(fileList, wording);
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

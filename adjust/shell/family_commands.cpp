// The commands that leave the program: the raw-data editors, the data
// collector transfer, and the run's output files in the user's editor.

#include "model/settings/global_vars.hpp"
#include "platform/paths.hpp"
#include "platform/program_folder.hpp"
#include "reports/report_files.hpp"
#include "shell/family_programs.hpp"
#include "shell/main_frame.hpp"
#include "shell/raw_file_dialog.hpp"

#include <filesystem>

namespace {

std::string withCommandLine(const char* pattern, const std::string& commandLine) {
    std::string text = pattern;
    if (const auto at = text.find("%s"); at != std::string::npos)
        text.replace(at, 2, commandLine);
    return text;
}

} // namespace

std::string CMainFrame::programPath(const std::string& programFile) const {
    if (!projectVars.exeDir.empty())
        return projectVars.exeDir + programFile;
    return platform::withTrailingSeparator(platform::programFolder()) + programFile;
}

int CMainFrame::pickRawFile(const std::string& names, std::string& chosen) {
    const std::vector<std::string> complete = listedNames(names);
    chosen.clear();
    if (complete.size() == 1)
        chosen = complete.front();
    if (complete.size() <= 1)
        return 0;
    CRawFlLst dialog(this, names);
    if (dialog.ShowModal() != wxID_OK)
        return 1;
    chosen = dialog.chosenName();
    return 0;
}

void CMainFrame::startFamilyProgram(const FamilyProgram& program, const std::string& file,
                                    bool withBlock) {
    // One copy at a time: one started from here and still running is left
    // to the user, wherever its window is.
    if (familyProcesses_.running(program.file))
        return;
    const std::string path = programPath(program.file);
    // The block must exist before the program looks for it.
    if (withBlock)
        markerBlock_.write(markerBlockName_);
    if (!familyProcesses_.start(program.file, familyArguments(path, file)))
        shell_.message(withCommandLine(program.notFound, familyCommandLine(path, file)),
                       MessageKind::ok);
}

void CMainFrame::editRawFiles() {
    // The names keep their case: this system's file names are case sensitive.
    const std::string& names = projectVars.pInputFileName;
    std::string chosen;
    const bool cancelled = pickRawFile(names, chosen) != 0;
    const bool rw5 = !cancelled && !listedNames(names).empty() ? listWantsRw5Editor(names)
                                                               : projectVars.useVkTool == 0;
    if (cancelled)
        return;
    projectVars.editorStarted = 1;
    if (rw5)
        startFamilyProgram(rw5Editor, chosen, false);
    else
        startFamilyProgram(familyEditor, chosen, true);
}

void CMainFrame::collectorTransfer() {
    projectVars.transferStarted = 1;
    if (projectVars.useVkTool == 1)
        startFamilyProgram(familyTransfer, {}, true);
    else
        startFamilyProgram(otherTransfer, {}, false);
}

void CMainFrame::editOutputFile(const std::string& extension) {
    const std::string path = projectOutputPath(extension);
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) {
        shell_.message("The error file " + path + " was not found.", MessageKind::ok);
        return;
    }
    std::vector<std::string> command = editorCommand();
    command.push_back(path);
    if (!startDetached(command))
        shell_.message(editorMissingMessage(command.front()), MessageKind::ok);
}

// The commands that leave the program: the raw-data editors, the data
// collector transfer, and the run's output files in the user's editor.

#include "model/settings/global_vars.hpp"
#include "platform/paths.hpp"
#include "platform/program_folder.hpp"
#include "reports/report_files.hpp"
#include "shell/family_programs.hpp"
#include "shell/main_frame.hpp"
#include "shell/raw_file_dialog.hpp"

#include <chrono>
#include <filesystem>

namespace {

// Long enough for a program to save its state and go, short enough that
// closing never seems to hang.
constexpr std::chrono::seconds familyEndPatience(2);

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

// A window of the program already open, however it was started, is brought
// to the front instead: true then.
bool CMainFrame::showFamilyWindow(const FamilyProgram& program) {
    switch (desktopWindows_->raiseWindowTitled(program.windowTitle, program.marksWindow)) {
    case WindowSearch::raised:
        return true;
    case WindowSearch::unavailable:
        if (!toldWindowsNotSearchable_) {
            toldWindowsNotSearchable_ = true;
            shell_.message(windowsNotSearchable, MessageKind::ok);
        }
        return false;
    case WindowSearch::notFound:
        return false;
    }
    return false;
}

void CMainFrame::startFamilyProgram(const FamilyProgram& program, const std::string& file,
                                    bool withBlock) {
    if (showFamilyWindow(program))
        return;
    // One copy at a time: one started from here and still running (its
    // window not up yet, or on a desktop that hides it) is left to the user.
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
    const FamilyProgram& editor = rw5 ? rw5Editor : familyEditor;
    // A cancelled choice still shows an editor that is open, and starts none.
    if (cancelled) {
        showFamilyWindow(editor);
        return;
    }
    projectVars.editorStarted = 1;
    startFamilyProgram(editor, chosen, !rw5);
}

void CMainFrame::collectorTransfer() {
    projectVars.transferStarted = 1;
    if (projectVars.useVkTool == 1)
        startFamilyProgram(familyTransfer, {}, true);
    else
        startFamilyProgram(otherTransfer, {}, false);
}

bool CMainFrame::endFamilyPrograms() {
    std::vector<std::string> programs;
    if (projectVars.editorStarted != 0)
        programs.insert(programs.end(), {familyEditor.file, rw5Editor.file});
    if (projectVars.transferStarted != 0)
        programs.insert(programs.end(), {familyTransfer.file, otherTransfer.file});
    const std::vector<std::string> left = familyProcesses_.askToEnd(programs, familyEndPatience);
    if (left.empty())
        return true;
    shell_.message(stillRunningMessage(left), MessageKind::ok);
    return false;
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

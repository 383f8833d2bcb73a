// The project commands of the main window: new, open, close, save, save as,
// the recent project and the program defaults. A project is the settings in
// `projectVars`, stored in a .prj file.

#include "engine/adjustment_results.hpp"
#include "model/settings/global_vars.hpp"
#include "model/settings/project_defaults.hpp"
#include "model/settings/project_file.hpp"
#include "reports/report_windows.hpp"
#include "run/processing_driver.hpp"
#include "shell/command_ids.hpp"
#include "shell/file_dialogs.hpp"
#include "shell/main_frame.hpp"

#include <wx/menu.h>
#include <wx/utils.h>

#include <filesystem>
#include <vector>

namespace {

constexpr const char* projectFilter = "Project Files (*.prj) | *.prj| All Files (*.*)|*.*||";
constexpr const char* projectExtension = "prj";

std::string absolutePath(const std::string& path) {
    std::error_code ec;
    const auto absolute = std::filesystem::absolute(path, ec);
    return ec ? path : absolute.lexically_normal().string();
}

// The menu items of the recent projects, newest first.
constexpr int recentProjectIds[] = {shellid::recentProject, shellid::recentProject2,
                                    shellid::recentProject3, shellid::recentProject4};

std::string fileTitle(const std::string& path) {
    return std::filesystem::path(path).stem().string();
}

} // namespace

// Settings the file holds out of their range keep their values; the user is
// told which.
int CMainFrame::loadProject(const std::string& path) {
    std::vector<std::string> refusals;
    int read = 0;
    if (isTextProjectFile(path)) {
        read = projectVars.readProjectFile(path, refusals);
    } else {
        wxBusyCursor wait;
        read = projectVars.readLegacyProjectFile(path, refusals);
    }
    std::string text;
    for (const std::string& refusal : refusals)
        text += (text.empty() ? "" : "\n") + refusal + "; the value in force is kept.";
    if (!text.empty())
        shell_.message(text, MessageKind::ok);
    return read;
}

int CMainFrame::saveProject(const std::string& path) {
    return projectVars.writeProjectFile(path);
}

std::string CMainFrame::changedProjectQuestion() const {
    return "Project " + state_.projectFile + "  has changed. Do you want to save it?";
}

// False when the user cancelled, or said yes but the project could not be
// written: the command stops there, so that nothing unsaved is thrown away.
bool CMainFrame::askToSave(const std::string& question) {
    if (!state_.modified)
        return true;
    const Answer answer = shell_.ask(question, MessageKind::yesNoCancel);
    if (answer == Answer::cancel)
        return false;
    if (answer != Answer::yes || state_.projectName.empty())
        return true;
    if (saveProject(state_.projectFile))
        return true;
    reportWriteFailure(state_.projectFile);
    return false;
}

void CMainFrame::reportWriteFailure(const std::string& path) {
    shell_.message("Error writing to: " + path, MessageKind::ok);
}

void CMainFrame::resetProject() {
    closeAllChildren();
    projectVars.setDefaults();
    state_.projectName.clear();
    state_.projectFile.clear();
    updateTitle();
}

void CMainFrame::rememberProjectFolder(const std::string& projectFile) {
    lastProjectFolder_ = std::filesystem::path(projectFile).parent_path().string();
}

const std::string& CMainFrame::mruProject() const {
    static const std::string none;
    return recentProjects_.empty() ? none : recentProjects_.front();
}

// The project opened or made last is the recent project from now on, not
// only after the next start; the three before it stay in the list.
void CMainFrame::rememberRecentProject(const std::string& projectFile) {
    std::erase(recentProjects_, projectFile);
    recentProjects_.insert(recentProjects_.begin(), projectFile);
    if (recentProjects_.size() > std::size(recentProjectIds))
        recentProjects_.resize(std::size(recentProjectIds));
    state_.hasRecent = true;
    rememberProjectFolder(projectFile);
    showRecentProjects();
}

// The newest is the Recent Project item itself, the older ones follow it.
void CMainFrame::showRecentProjects() {
    wxMenu* menu = nullptr;
    if (GetMenuBar()->FindItem(shellid::recentProject, &menu) == nullptr || menu == nullptr)
        return;
    size_t position = 0;
    menu->FindChildItem(shellid::recentProject, &position);
    for (size_t i = 0; i < recentProjects_.size(); ++i) {
        wxString label = wxString::FromUTF8(recentProjects_[i]);
        label.Replace("&", "&&"); // an "&" in a path is text, not a mnemonic
        if (menu->FindItem(recentProjectIds[i]) == nullptr)
            menu->Insert(position + i, recentProjectIds[i], label);
        else
            menu->SetLabel(recentProjectIds[i], label);
    }
}

void CMainFrame::setFlags(bool open) {
    state_.projectOpen = state_.canSave = state_.canClose = open;
    state_.lsReportEnabled = state_.graphicsEnabled = open;
    state_.errReportEnabled = state_.nezReportEnabled = open;
}

void CMainFrame::clearFlags() {
    setFlags(false);
}

void CMainFrame::adoptProject(const std::string& path) {
    state_.projectName = fileTitle(path);
    state_.projectFile = absolutePath(path);
    rememberRecentProject(state_.projectFile);
    projectVars.projectFileName = state_.projectFile;
    updateTitle();
    setFlags(true);
}

void CMainFrame::showProjectReports() {
    showErrReport();
    showOutReport();
    showRptReport();
}

// The program defaults where the user saved some, else the built-in ones,
// with none of the open project's files.
void CMainFrame::startFromDefaults() {
    projectVars.setDefaults();
    tellProfileRefusals(shell_, loadProjectDefaults());
    for (std::string* name :
         {&projectVars.pInputFileName, &projectVars.controlNEFileName, &projectVars.crdFileName,
          &projectVars.pClosureFileName, &projectVars.pGPSFileName, &projectVars.pLevRawFileName,
          &projectVars.relativeErrFileNm})
        name->clear();
}

// The open dialog starts in the folder of the project opened last (the
// recent project's at first), else in the temporary folder.
std::optional<std::string> CMainFrame::chooseProjectToOpen() {
    FileDialogRequest request;
    request.filter = projectFilter;
    request.extension = projectExtension;
    request.initialName = "*.prj";
    request.initialFolder = !lastProjectFolder_.empty() ? lastProjectFolder_ : projectVars.tmpDir;
    return chooseFile(this, request);
}

// The project that is open now goes first; a file that cannot be read
// leaves no project open.
bool CMainFrame::replaceProject(const std::string& path) {
    resetProject();
    clearFlags();
    releaseAdjustmentResults();
    if (!loadProject(path))
        return false;
    adoptProject(path);
    state_.modified = false;
    showProjectReports();
    return true;
}

// Cancelling the file dialog keeps the open project.
void CMainFrame::openProject() {
    if (!askToSave(changedProjectQuestion()))
        return;
    if (const auto path = chooseProjectToOpen())
        replaceProject(*path);
}

void CMainFrame::openProjectAtStartUp() {
    if (const auto path = chooseProjectToOpen())
        replaceProject(*path);
}

void CMainFrame::closeProject() {
    if (!askToSave(changedProjectQuestion()))
        return;
    resetProject();
    clearFlags();
    releaseAdjustmentResults();
    projectVars.setDefaults();
    tellProfileRefusals(shell_, loadProjectDefaults());
    for (std::string* name :
         {&projectVars.pInputFileName, &projectVars.crdFileName, &projectVars.pClosureFileName,
          &projectVars.pLevRawFileName, &projectVars.pGPSFileName})
        name->clear();
}

std::optional<std::string> CMainFrame::chooseNewProjectFile() {
    FileDialogRequest request;
    request.save = true;
    request.title = "New Project";
    request.filter = projectFilter;
    request.extension = projectExtension;
    return chooseFile(this, request);
}

// The project that was open stays open until the new file is written: a
// file that cannot be written leaves it open as it was, and no settings are
// shown. Memory keeps what the new file holds, so the project computes the
// same when it is opened again; it counts as changed until the user saves.
bool CMainFrame::createProjectAtStartUp() {
    const auto path = chooseNewProjectFile();
    if (!path)
        return false;
    const globalVars open = projectVars;
    startFromDefaults();
    if (!saveProject(*path)) {
        projectVars = open;
        reportWriteFailure(*path);
        return false;
    }
    const globalVars written = projectVars;
    resetProject();
    projectVars = written;
    adoptProject(*path);
    releaseAdjustmentResults();
    state_.modified = true;
    return true;
}

void CMainFrame::newProject() {
    if (askToSave("Project Has Changed. Do you want to save it?") && createProjectAtStartUp())
        newProjectSettings();
}

void CMainFrame::saveProjectCommand() {
    if (state_.projectName.empty()) {
        saveProjectAs();
        return;
    }
    if (saveProject(state_.projectFile))
        state_.modified = false;
    else
        reportWriteFailure(state_.projectFile);
}

void CMainFrame::saveProjectAs() {
    FileDialogRequest request;
    request.save = true;
    request.filter = projectFilter;
    request.extension = projectExtension;
    request.initialName = state_.projectFile;
    const auto path = chooseFile(this, request);
    if (!path)
        return;
    if (!saveProject(*path)) {
        reportWriteFailure(*path);
        return;
    }
    replaceProject(*path);
}

void CMainFrame::openRecentProject(std::size_t index) {
    if (index >= recentProjects_.size() || !askToSave(changedProjectQuestion()))
        return;
    const std::string path = recentProjects_[index];
    resetProject();
    clearFlags();
    if (!loadProject(path))
        return;
    adoptProject(path);
    state_.modified = false;
    showProjectReports();
    releaseAdjustmentResults();
}

void CMainFrame::saveAsDefault() {
    projectVars.saveAsDefault();
}

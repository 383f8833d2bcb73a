// The main window's commands that open the project settings sheet, the
// standard-error file dialog and the user-defined coordinate system dialog.

#include "model/settings/global_vars.hpp"
#include "shell/file_dialogs.hpp"
#include "shell/main_frame.hpp"
#include "shell/settings/settings_ids.hpp"
#include "shell/settings/settings_sheet.hpp"
#include "shell/settings/settings_table.hpp"
#include "shell/settings/std_err_file_dialog.hpp"
#include "shell/settings/udp_dialog.hpp"

namespace {

constexpr const char* sefFilter = "Standard Error Files (*.sef) | *.sef| All Files (*.*)|*.*||";

} // namespace

int CMainFrame::runSettingsSheet(int firstPage) {
    SettingsSheetActions actions;
    actions.apply = [this](const globalVars& values) {
        applySettingsSheet(values);
        Refresh();
    };
    // The sheet has stored its values: until a save succeeds they are changes.
    actions.saveProject = [this] {
        state_.modified = true;
        saveProjectCommand();
    };
    CSettingsPropSht sheet(this, actions);
    sheet.fill(projectVars, projectVars.useVkTool);
    sheet.showPage(firstPage);
    const int result = sheet.ShowModal();
    if (result == wxID_OK)
        applySettingsSheet(sheet.values());
    return result;
}

void CMainFrame::applySettingsSheet(const globalVars& sheetValues) {
    if (applySheetValues(sheetValues, projectVars))
        state_.modified = true;
}

void CMainFrame::editProjectSettings() {
    if (runSettingsSheet(settingsid::coordinateSystemPage) == wxID_OK)
        Refresh();
}

void CMainFrame::editStdErrSettings() {
    if (runSettingsSheet(settingsid::standardErrorsPage) == wxID_OK)
        Refresh();
}

void CMainFrame::newProjectSettings() {
    runSettingsSheet(settingsid::coordinateSystemPage);
}

void CMainFrame::editStdErrFile(bool newFile) {
    FileDialogRequest request;
    request.save = newFile;
    request.filter = sefFilter;
    request.extension = "sef";
    if (!newFile)
        request.initialName = "*.sef";
    const auto path = chooseFile(this, request);
    if (!path)
        return;
    CDlgStdErrDef dialog(this, *path);
    if (dialog.ShowModal() != wxID_OK)
        return;
    stdErrRec record;
    dialog.toRecord(record);
    record.path = *path;
    if (record.writeFile() != stdErrRec::ok)
        reportWriteFailure(*path);
}

void CMainFrame::createUserDefinedSystem() {
    CUDPDlg dialog(this);
    dialog.ShowModal();
}

// The main window's Tools commands and the closure file commands: each opens
// its tool's window.

#include "model/program_lists.hpp"
#include "model/settings/global_vars.hpp"
#include "shell/file_dialogs.hpp"
#include "shell/main_frame.hpp"
#include "shell/tools/closure_editor.hpp"
#include "shell/tools/edm_calibration_dialog.hpp"
#include "shell/tools/file_converters.hpp"
#include "shell/tools/gps_convert_dialog.hpp"
#include "shell/tools/inverse_dialog.hpp"
#include "shell/tools/level_convert_dialog.hpp"

namespace {

bool runProducedPoints() {
    return (projectVars.geodeticModel == 1 ? allStationList.count() : allPointList2D.count()) > 0;
}

} // namespace

void CMainFrame::showInverse() {
    if (inverseDlg_) {
        inverseDlg_->Raise();
        inverseDlg_->SetFocus();
        return;
    }
    if (!runProducedPoints()) {
        shell_.message("Project must be processed to completion before\n"
                       "the inverse function can be used.",
                       MessageKind::ok);
        return;
    }
    auto* dialog = new CInverse(this, shell_);
    inverseDlg_ = dialog;
    dialog->Show();
}

void CMainFrame::convertGpsFiles() {
    cnvrtGPSFl dialog(this, libraryConverters());
    dialog.ShowModal();
}

void CMainFrame::convertLevelFiles() {
    cnvrtLev dialog(this, libraryConverters());
    dialog.ShowModal();
}

void CMainFrame::showEdmCalibration() {
    auto* dialog = new CEdmCalibDlg();
    dialog->ShowModal();
    dialog->Destroy();
}

void CMainFrame::editClosureFile(bool newFile) {
    FileDialogRequest request;
    request.save = newFile;
    request.title = newFile ? "New Traverse Closure File" : "";
    request.filter = "Traverse Files (*.cls) | *.cls| All Files (*.*)|*.*||";
    request.extension = "cls";
    request.initialName = "*.cls";
    if (const auto chosen = chooseFile(this, request))
        runClosureEditor(this, *chosen);
}

// The main window's quality commands: blunder detection, the relative error
// ellipse and the ALTA points file. The two tool dialogs are modeless and
// exist at most once each: a repeated command brings the open one forward.

#include "engine/adjustment_results.hpp"
#include "input/alta_points_file.hpp"
#include "model/settings/global_vars.hpp"
#include "shell/alta_points_dialog.hpp"
#include "shell/blunder_dialog.hpp"
#include "shell/file_dialogs.hpp"
#include "shell/main_frame.hpp"
#include "shell/relative_error_dialog.hpp"

#include <wx/toplevel.h>

namespace {

BlunderChoice blunderOptions(const globalVars& settings) {
    BlunderChoice choice;
    choice.iterations = settings.blunderIterations;
    choice.floatShoTtl = settings.blunderFloatShoTtl;
    choice.floatShoType = settings.blunderFloatShoType;
    choice.method = settings.blunderMethod;
    choice.proximity = settings.blunderProximity;
    return choice;
}

void keepBlunderOptions(const BlunderChoice& choice, globalVars& settings) {
    settings.blunderIterations = choice.iterations;
    settings.blunderFloatShoTtl = choice.floatShoTtl;
    settings.blunderFloatShoType = choice.floatShoType;
    settings.blunderMethod = choice.method;
    settings.blunderProximity = choice.proximity;
}

// Brings the open tool dialog forward; false when there is none.
bool raised(wxWindow* open) {
    if (open == nullptr)
        return false;
    open->Raise();
    open->SetFocus();
    return true;
}

} // namespace

wxWindow* CMainFrame::openToolDialog(int dialogId) const {
    for (wxWindow* window : wxTopLevelWindows)
        if (window->GetId() == dialogId && window->GetParent() == this && !window->IsBeingDeleted())
            return window;
    return nullptr;
}

void CMainFrame::showBlunderDetection() {
    if (raised(openToolDialog(blnrDlg::dialogId)))
        return;
    auto* dialog = new blnrDlg(
        this, blunderOptions(projectVars),
        [this](const BlunderChoice& choice) { runBlunderMethod(choice); },
        [](const BlunderChoice& choice) { keepBlunderOptions(choice, projectVars); });
    dialog->Show();
}

void CMainFrame::showRelativeErrorEllipse() {
    if (raised(openToolDialog(relErrEl::dialogId)))
        return;
    if (varCovMatrix == nullptr) {
        shell_.message("Variance-Covariance matrix not initialized.\nProject must be processed to "
                       "convergence before\nrelative error ellipses can be computed.",
                       MessageKind::ok);
        return;
    }
    auto* dialog = new relErrEl(this, shell_);
    dialog->Show();
}

void CMainFrame::editAltaFile(bool newFile) {
    FileDialogRequest request;
    request.save = newFile;
    if (newFile)
        request.title = "New ALTA Report Points File";
    request.filter = "ALTA Point Files (*.alt) | *.alt| All Files (*.*)|*.*||";
    request.extension = "alt";
    request.initialName = "*.alt";
    const std::optional<std::string> path = chooseFile(this, request);
    if (!path)
        return;
    CAltaPtsDlg dialog(this, *path);
    dialog.ShowModal();
}

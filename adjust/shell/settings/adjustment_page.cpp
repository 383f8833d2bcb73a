#include "shell/settings/adjustment_page.hpp"

#include "input/alta_points_file.hpp"
#include "shell/alta_points_dialog.hpp"
#include "shell/file_dialogs.hpp"
#include "shell/settings/settings_ids.hpp"

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

using namespace settingsid;
using namespace pagecontrols;

CAdjustmentPage::CAdjustmentPage(wxWindow* parent, CSettingsPropSht& sheet)
    : SettingsPage(parent, sheet, adjustmentPage) {
    auto* column = new wxBoxSizer(wxVERTICAL);
    auto* grid = new wxFlexGridSizer(3, wxSize(6, 4));
    grid->Add(label(this, wxID_ANY, "Maximum Iterations:"), wxSizerFlags().CentreVertical());
    grid->Add(edit(this, maxIterationsEdit));
    grid->AddSpacer(0);
    grid->Add(label(this, wxID_ANY, "Convergence Threshold:"), wxSizerFlags().CentreVertical());
    grid->Add(edit(this, convergenceEdit));
    grid->AddSpacer(0);
    grid->Add(label(this, wxID_ANY, "Confidence Interval:"), wxSizerFlags().CentreVertical());
    grid->Add(edit(this, confidenceEdit));
    grid->Add(label(this, wxID_ANY, "%   (50 <= CI <= 99.99)"), wxSizerFlags().CentreVertical());
    column->Add(grid, wxSizerFlags().Border(wxALL, 6));
    column->Add(check(this, includeSideshotsCheck, "Enable sideshots for relative error ellipses"),
                wxSizerFlags().Border(wxALL, 6));
    auto* file = new wxBoxSizer(wxHORIZONTAL);
    file->Add(check(this, relativeErrFileCheck, "Rel. Err. Points File:"),
              wxSizerFlags().CentreVertical());
    file->Add(edit(this, relativeErrFileEdit, 300), wxSizerFlags().Border(wxLEFT, 6));
    file->Add(button(this, relativeErrSelectButton, "Select"), wxSizerFlags().Border(wxLEFT, 6));
    file->Add(button(this, relativeErrEditButton, "Edit/Create"), wxSizerFlags().Border(wxLEFT, 6));
    column->Add(file, wxSizerFlags().Border(wxALL, 6));
    column->Add(check(this, altaReportCheck, "Include ALTA tolerance report"),
                wxSizerFlags().Border(wxALL, 6));
    auto* alta = new wxBoxSizer(wxHORIZONTAL);
    alta->Add(label(this, wxID_ANY, "Allowable Tolerance:"), wxSizerFlags().CentreVertical());
    alta->Add(edit(this, altaToleranceEdit), wxSizerFlags().Border(wxLEFT, 6));
    alta->Add(label(this, wxID_ANY, "PPM:"), wxSizerFlags().CentreVertical().Border(wxLEFT, 12));
    alta->Add(edit(this, altaPpmEdit), wxSizerFlags().Border(wxLEFT, 6));
    column->Add(alta, wxSizerFlags().Border(wxALL, 6).Border(wxLEFT, 24));
    SetSizer(column);

    markModifiedOnChange({maxIterationsEdit, convergenceEdit, confidenceEdit, includeSideshotsCheck,
                          relativeErrFileEdit, altaToleranceEdit, altaPpmEdit});
    for (int id : {relativeErrFileCheck, altaReportCheck})
        FindWindow(id)->Bind(wxEVT_CHECKBOX, [this](wxCommandEvent&) {
            markModified();
            applyEnableRule();
        });
    Bind(
        wxEVT_BUTTON, [this](wxCommandEvent&) { selectRelativeErrFile(); },
        relativeErrSelectButton);
    Bind(
        wxEVT_BUTTON, [this](wxCommandEvent&) { editRelativeErrFile(); }, relativeErrEditButton);
}

void CAdjustmentPage::applyEnableRule() {
    const bool file = control<wxCheckBox>(relativeErrFileCheck)->GetValue();
    const bool alta = control<wxCheckBox>(altaReportCheck)->GetValue();
    enable({altaReportCheck, relativeErrSelectButton, relativeErrEditButton, relativeErrFileEdit},
           file);
    enable({altaToleranceEdit, altaPpmEdit}, file && alta);
}

void CAdjustmentPage::selectRelativeErrFile() {
    FileDialogRequest request;
    request.filter = "Alta files (*.alt)|*.alt|All files (*.*)|*.*|";
    request.extension = "alt";
    request.initialName = "*.alt";
    const auto path = chooseFile(this, request);
    if (!path)
        return;
    control<wxTextCtrl>(relativeErrFileEdit)->ChangeValue(wxString::FromUTF8(*path));
    markModified();
}

// The file the edit names, else one chosen now (it may be a new name), in
// the ALTA points dialog.
void CAdjustmentPage::editRelativeErrFile() {
    auto* edit = control<wxTextCtrl>(relativeErrFileEdit);
    std::string name = edit->GetValue().utf8_string();
    if (name.empty()) {
        FileDialogRequest request;
        request.filter = "Alta files (*.alt)|*.alt|All files (*.*)|*.*|";
        request.extension = "alt";
        request.initialName = "*.alt";
        request.newNameAllowed = true;
        const auto path = chooseFile(this, request);
        if (!path)
            return;
        name = *path;
        edit->ChangeValue(wxString::FromUTF8(name));
        markModified();
    }
    CAltaPtsDlg dialog(this, altaPointsFilePath(name));
    dialog.ShowModal();
}

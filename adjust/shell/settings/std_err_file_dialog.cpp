#include "shell/settings/std_err_file_dialog.hpp"

#include "platform/c_locale_text.hpp"
#include "shell/settings/settings_ids.hpp"
#include "shell/settings/settings_page.hpp"
#include "shell/settings/standard_errors_page.hpp"
#include "shell/settings/std_err_fields.hpp"

#include <filesystem>
#include <wx/button.h>
#include <wx/sizer.h>
#include <wx/textctrl.h>

using namespace settingsid;

CDlgStdErrDef::CDlgStdErrDef(wxWindow* parent, const std::string& sefPath)
    : wxDialog(parent, stdErrFileDialog, "Standard Errors") {
    auto* column = new wxBoxSizer(wxVERTICAL);
    column->Add(layOutStdErrFields(this), wxSizerFlags().Border(wxALL, 8));
    auto* buttons = new wxBoxSizer(wxHORIZONTAL);
    auto* ok = new wxButton(this, wxID_OK, "OK");
    buttons->Add(ok);
    buttons->Add(new wxButton(this, wxID_CANCEL, "Cancel"), wxSizerFlags().Border(wxLEFT, 6));
    column->Add(buttons, wxSizerFlags().Right().Border(wxALL, 8));
    SetSizerAndFit(column);
    ok->SetDefault();
    // Always seconds here, whatever the project shows.
    FindWindow(angleErrorGroup)->SetLabel("Angle Standard Error (seconds)");
    FindWindow(directionLabel)->SetLabel("Direction (sec.):");
    FindWindow(collimationLabel)->SetLabel("Collimation Error (sec.):");
    checkStdErrFieldsOnLeaving(this);
    Bind(
        wxEVT_BUTTON,
        [this](wxCommandEvent&) {
            if (takeValues())
                EndModal(wxID_OK);
        },
        wxID_OK);

    // A name chosen for a new file need not exist yet: that is no fault to report.
    stdErrRec fromFile;
    std::error_code ec;
    if (!sefPath.empty() && std::filesystem::exists(sefPath, ec) &&
        fromFile.load(sefPath) == stdErrRec::ok)
        values_ = fromFile;
    if (!sefPath.empty())
        SetTitle(wxString::FromUTF8("Standard Errors: " + sefPath));
    fromRecord(values_);
    Fit();
    CentreOnParent();
}

int CDlgStdErrDef::fromRecord(const stdErrRec& record) {
    values_ = record;
    for (const StdErrField& field : stdErrFields())
        dynamic_cast<wxTextCtrl*>(FindWindow(field.control))
            ->ChangeValue(platform::formatC("%.15g", record.*field.sefValue));
    return 0;
}

int CDlgStdErrDef::toRecord(stdErrRec& record) const {
    for (const StdErrField& field : stdErrFields())
        record.*field.sefValue = values_.*field.sefValue;
    return 0;
}

bool CDlgStdErrDef::takeValues() {
    for (const StdErrField& field : stdErrFields()) {
        auto* edit = dynamic_cast<wxTextCtrl*>(FindWindow(field.control));
        const auto value = platform::parseDouble(edit->GetValue().utf8_string());
        if (!value) {
            settingsMessage(this, "Please enter a number.");
            edit->SetFocus();
            return false;
        }
        values_.*field.sefValue = *value;
    }
    return true;
}

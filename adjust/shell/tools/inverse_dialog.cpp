#include "shell/tools/inverse_dialog.hpp"

#include "reports/inverse_line.hpp"
#include "shell/wx_shell.hpp"

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

using namespace inverseid;

CInverse::CInverse(wxWindow* parent, ShellServices& shell)
    : wxDialog(parent, dialog, "Inverse"), shell_(shell) {
    layOut();
    Bind(
        wxEVT_BUTTON, [this](wxCommandEvent&) { OnOK(); }, wxID_OK);
    Bind(
        wxEVT_BUTTON, [this](wxCommandEvent&) { Destroy(); }, wxID_CANCEL);
    Bind(wxEVT_CLOSE_WINDOW, [this](wxCloseEvent&) { Destroy(); });
    closeOnEscape(*this);
}

void CInverse::layOut() {
    from_ = new wxTextCtrl(this, fromEdit, "", wxDefaultPosition, wxSize(120, -1));
    to_ = new wxTextCtrl(this, toEdit, "", wxDefaultPosition, wxSize(120, -1));
    traverseMode_ = new wxCheckBox(this, traverseModeCheck, "Traverse Mode");
    result_ = new wxStaticText(this, resultStatic, "", wxDefaultPosition, wxSize(520, -1),
                               wxST_NO_AUTORESIZE);
    stdErr_ = new wxStaticText(this, stdErrStatic, "", wxDefaultPosition, wxSize(520, -1),
                               wxST_NO_AUTORESIZE);
    auto* names = new wxFlexGridSizer(2, wxSize(8, 6));
    names->Add(new wxStaticText(this, wxID_ANY, "From Pt.:"), wxSizerFlags().CentreVertical());
    names->Add(from_);
    names->Add(new wxStaticText(this, wxID_ANY, "To Pt:"), wxSizerFlags().CentreVertical());
    names->Add(to_);
    auto* top = new wxBoxSizer(wxHORIZONTAL);
    top->Add(names);
    top->Add(traverseMode_, wxSizerFlags().Border(wxLEFT, 24).CentreVertical());
    auto* ok = new wxButton(this, wxID_OK, "Calculate");
    auto* buttons = new wxBoxSizer(wxHORIZONTAL);
    buttons->Add(ok);
    buttons->Add(new wxButton(this, wxID_CANCEL, "Exit"), wxSizerFlags().Border(wxLEFT, 8));
    auto* column = new wxBoxSizer(wxVERTICAL);
    column->Add(top, wxSizerFlags().Border(wxALL, 10));
    column->Add(result_, wxSizerFlags().Border(wxLEFT | wxRIGHT, 10));
    column->Add(stdErr_, wxSizerFlags().Border(wxLEFT | wxRIGHT, 10));
    column->Add(buttons, wxSizerFlags().Right().Border(wxALL, 10));
    SetSizerAndFit(column);
    ok->SetDefault();
    picked_ = std::make_unique<PickedPointFields>(from_, to_);
}

std::string CInverse::fromName() const {
    return from_->GetValue().utf8_string();
}

std::string CInverse::toName() const {
    return to_->GetValue().utf8_string();
}

void CInverse::OnOK() {
    // Enter after the first name goes on to the second.
    if (FindFocus() == from_) {
        to_->SetFocus();
        to_->SelectAll();
        return;
    }
    calculate();
}

void CInverse::calculate() {
    InverseResult result;
    std::string message;
    if (computeInverse(fromName(), toName(), result, message) != inverseComputed) {
        WxShell(this).message(message, MessageKind::ok);
        return;
    }
    appendInverseToReportFile(result.reportLine);
    shell_.appendToReport(result.reportLine);
    result_->SetLabelText(wxString::FromUTF8(result.resultLine));
    stdErr_->SetLabelText(wxString::FromUTF8(result.stdErrLine));
    if (!traverseMode_->GetValue()) {
        from_->SetFocus();
        from_->SelectAll();
        return;
    }
    from_->ChangeValue(to_->GetValue());
    to_->ChangeValue("");
    to_->SetFocus();
}

#include "shell/relative_error_dialog.hpp"

#include "reports/relative_ellipse_report.hpp"
#include "shell/wx_shell.hpp"

#include <wx/button.h>
#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

relErrEl::relErrEl(wxWindow* parent, ShellServices& shell)
    : wxDialog(parent, dialogId, "Relative Error Ellipses"), shell_(shell) {
    from_ = new wxTextCtrl(this, fromEdit, wxEmptyString, wxDefaultPosition, wxDefaultSize,
                           wxTE_PROCESS_ENTER);
    to_ = new wxTextCtrl(this, toEdit, wxEmptyString, wxDefaultPosition, wxDefaultSize,
                         wxTE_PROCESS_ENTER);
    axes_ = new wxStaticText(this, axesText, wxEmptyString, wxDefaultPosition, wxSize(520, -1),
                             wxST_NO_AUTORESIZE);
    azimuth_ = new wxStaticText(this, azimuthText, wxEmptyString, wxDefaultPosition,
                                wxSize(520, -1), wxST_NO_AUTORESIZE);
    auto* names = new wxFlexGridSizer(2, wxSize(6, 4));
    names->Add(new wxStaticText(this, wxID_ANY, "From Pt:"), wxSizerFlags().CentreVertical());
    names->Add(from_);
    names->Add(new wxStaticText(this, wxID_ANY, "To Pt:"), wxSizerFlags().CentreVertical());
    names->Add(to_);
    auto* buttons = new wxBoxSizer(wxHORIZONTAL);
    auto* calculateButton = new wxButton(this, wxID_OK, "Calculate");
    buttons->Add(calculateButton);
    buttons->Add(new wxButton(this, wxID_CANCEL, "Exit"), wxSizerFlags().Border(wxLEFT, 8));
    auto* column = new wxBoxSizer(wxVERTICAL);
    column->Add(names, wxSizerFlags().Border(wxALL, 10));
    column->Add(axes_, wxSizerFlags().Border(wxLEFT | wxRIGHT, 10));
    column->Add(azimuth_, wxSizerFlags().Border(wxLEFT | wxRIGHT, 10));
    column->Add(buttons, wxSizerFlags().Right().Border(wxALL, 10));
    SetSizerAndFit(column);
    calculateButton->SetDefault();
    picked_ = std::make_unique<PickedPointFields>(from_, to_);

    Bind(
        wxEVT_BUTTON, [this](wxCommandEvent&) { calculate(); }, wxID_OK);
    // Enter in the From field goes on to the To field; in the To field it calculates.
    from_->Bind(wxEVT_TEXT_ENTER, [this](wxCommandEvent&) {
        to_->SetFocus();
        to_->SelectAll();
    });
    to_->Bind(wxEVT_TEXT_ENTER, [this](wxCommandEvent&) { calculate(); });
    Bind(
        wxEVT_BUTTON, [this](wxCommandEvent&) { Destroy(); }, wxID_CANCEL);
    Bind(wxEVT_CLOSE_WINDOW, [this](wxCloseEvent&) { Destroy(); });
    closeOnEscape(*this);
    CentreOnParent();
}

void relErrEl::calculate() {
    const std::string from = from_->GetValue().utf8_string();
    const std::string to = to_->GetValue().utf8_string();
    if (const auto texts = reportRelativeEllipse(from, to, shell_)) {
        axes_->SetLabel(wxString::FromUTF8(texts->axes));
        azimuth_->SetLabel(wxString::FromUTF8(texts->azimuth));
    }
    from_->SetFocus();
    from_->SelectAll();
}

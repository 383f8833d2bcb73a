#include "shell/print_dialog.hpp"

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/sizer.h>

print::print(wxWindow* parent) : wxDialog(parent, wxID_ANY, "Print Reports") {
    auto* column = new wxBoxSizer(wxVERTICAL);
    const struct {
        int id;
        const char* label;
    } choices[] = {
        {leastSquaresCheck, "Print Least Squares Report"},
        {nezListingCheck, "Print NEZ Listing"},
        {errorReportCheck, "Print Error Report"},
    };
    for (const auto& choice : choices)
        column->Add(new wxCheckBox(this, choice.id, choice.label), 0, wxLEFT | wxRIGHT | wxTOP, 10);
    auto* buttons = new wxStdDialogButtonSizer;
    buttons->AddButton(new wxButton(this, wxID_OK, "OK"));
    buttons->AddButton(new wxButton(this, wxID_CANCEL, "Exit"));
    buttons->Realize();
    column->Add(buttons, 0, wxEXPAND | wxALL, 10);
    SetSizerAndFit(column);
    CentreOnParent();
    Bind(
        wxEVT_BUTTON,
        [this](wxCommandEvent&) {
            takeChoices();
            EndModal(wxID_OK);
        },
        wxID_OK);
}

void print::takeChoices() {
    const auto ticked = [this](int id) {
        return static_cast<wxCheckBox*>(FindWindow(id))->GetValue() ? 1 : 0;
    };
    leastSquaresReport = ticked(leastSquaresCheck);
    nezListing = ticked(nezListingCheck);
    errorReport = ticked(errorReportCheck);
}

#include "shell/blunder_dialog.hpp"

#include "platform/c_locale_text.hpp"
#include "shell/wx_shell.hpp"

#include <wx/button.h>
#include <wx/choice.h>
#include <wx/msgdlg.h>
#include <wx/radiobut.h>
#include <wx/sizer.h>
#include <wx/statbox.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

namespace {

constexpr int mostSolutions = 10;

const char* const explanations[] = {
    "This method validates the raw data, and compares observed measurements against initial "
    "computed measurements. Additionally, it finds different points that are in close "
    "proximity to each other, which could be an indication of the same point position having "
    "different point numbers. This is the only blunder detection method that gives meaningful "
    "results if the project is not converging.",
    "This method works well only if there is a single blunder in the data set. A lot of "
    "redundancy is not required in the data set. Large data sets will take a long time to "
    "process. This method will not produce meaningful results if the project is not "
    "converging.",
    "This method can find multiple blunders, but the method works best if there is a lot of "
    "redundancy in the data set. This method will not produce meaningful results if the project "
    "is not converging.",
};

wxString number(double value) {
    return wxString::FromUTF8(platform::formatC("%g", value));
}

std::optional<long> wholeNumber(const wxTextCtrl* edit) {
    return platform::parseLong(edit->GetValue().Strip(wxString::both).utf8_string());
}

} // namespace

blnrDlg::blnrDlg(wxWindow* parent, const BlunderChoice& start,
                 std::function<void(const BlunderChoice&)> apply,
                 std::function<void(const BlunderChoice&)> keep)
    : wxDialog(parent, dialogId, "Blunder Detection"), apply_(std::move(apply)),
      keep_(std::move(keep)), values_(start) {
    method_ = new wxChoice(this, methodList);
    for (const char* entry :
         {"Preprocess the raw data.", "Float one observation.", "Reweight based on residuals."})
        method_->Append(entry);
    explanation_ = new wxStaticText(this, explanationText, wxEmptyString, wxDefaultPosition,
                                    wxSize(420, 150), wxST_NO_AUTORESIZE);
    proximity_ = new wxTextCtrl(this, proximityEdit, number(start.proximity));
    iterations_ = new wxTextCtrl(this, iterationsEdit, number(start.iterations));
    auto* floatBox = new wxStaticBoxSizer(wxVERTICAL, this, "Float one observation");
    bestOnly_ = new wxRadioButton(floatBox->GetStaticBox(), bestOnlyRadio, "Best Solution",
                                  wxDefaultPosition, wxDefaultSize, wxRB_GROUP);
    bestSolutions_ =
        new wxRadioButton(floatBox->GetStaticBox(), bestSolutionsRadio, "Best Solutions (10 max)");
    solutions_ = new wxTextCtrl(floatBox->GetStaticBox(), solutionsEdit, number(start.floatShoTtl));
    floatBox->Add(bestOnly_, wxSizerFlags().Border(wxALL, 4));
    auto* solutionsRow = new wxBoxSizer(wxHORIZONTAL);
    solutionsRow->Add(bestSolutions_, wxSizerFlags().CentreVertical());
    solutionsRow->Add(solutions_, wxSizerFlags().Border(wxLEFT, 6));
    floatBox->Add(solutionsRow, wxSizerFlags().Border(wxALL, 4));

    auto* fields = new wxFlexGridSizer(2, wxSize(6, 4));
    fields->Add(new wxStaticText(this, wxID_ANY, "Point proximity search distance:"),
                wxSizerFlags().CentreVertical());
    fields->Add(proximity_);
    fields->Add(new wxStaticText(this, wxID_ANY, "Number of passes:"),
                wxSizerFlags().CentreVertical());
    fields->Add(iterations_);
    auto* buttons = new wxBoxSizer(wxHORIZONTAL);
    auto* applyButton = new wxButton(this, wxID_OK, "Apply");
    buttons->Add(applyButton);
    buttons->Add(new wxButton(this, wxID_CANCEL, "Exit"), wxSizerFlags().Border(wxLEFT, 8));
    auto* column = new wxBoxSizer(wxVERTICAL);
    column->Add(method_, wxSizerFlags().Expand().Border(wxALL, 10));
    column->Add(explanation_, wxSizerFlags().Border(wxLEFT | wxRIGHT, 10));
    column->Add(fields, wxSizerFlags().Border(wxALL, 10));
    column->Add(floatBox, wxSizerFlags().Expand().Border(wxLEFT | wxRIGHT, 10));
    column->Add(buttons, wxSizerFlags().Right().Border(wxALL, 10));
    SetSizerAndFit(column);
    applyButton->SetDefault();

    (start.floatShoType != 0 ? bestSolutions_ : bestOnly_)->SetValue(true);
    method_->SetSelection(start.method >= 0 && start.method <= reweightMethod ? start.method : 0);
    switchMethod();
    method_->Bind(wxEVT_CHOICE, [this](wxCommandEvent&) { switchMethod(); });
    for (wxRadioButton* radio : {bestOnly_, bestSolutions_})
        radio->Bind(wxEVT_RADIOBUTTON, [this](wxCommandEvent&) { switchMethod(); });
    Bind(
        wxEVT_BUTTON, [this](wxCommandEvent&) { applyMethod(); }, wxID_OK);
    Bind(
        wxEVT_BUTTON, [this](wxCommandEvent&) { exitDialog(); }, wxID_CANCEL);
    Bind(wxEVT_CLOSE_WINDOW, [this](wxCloseEvent&) { exitDialog(); });
    closeOnEscape(*this);
    CentreOnParent();
}

void blnrDlg::switchMethod() {
    const int method = method_->GetSelection();
    explanation_->SetLabel(explanations[method]);
    explanation_->Wrap(420);
    proximity_->Enable(method == preprocessMethod);
    iterations_->Enable(method == reweightMethod);
    bestOnly_->Enable(method == floatMethod);
    bestSolutions_->Enable(method == floatMethod);
    solutions_->Enable(method == floatMethod && bestSolutions_->GetValue());
}

bool blnrDlg::readValues(BlunderChoice& values) {
    const auto refuse = [this](wxTextCtrl* edit, const char* text) {
        wxMessageBox(text, programCaption, wxOK | wxICON_EXCLAMATION, this);
        edit->SetFocus();
        return false;
    };
    values.method = method_->GetSelection();
    values.floatShoType = bestSolutions_->GetValue() ? 1 : 0;
    const std::optional<long> solutions = wholeNumber(solutions_);
    if (!solutions || *solutions < 1 || *solutions > mostSolutions)
        return refuse(solutions_, "Please enter an integer between 1 and 10.");
    values.floatShoTtl = static_cast<int>(*solutions);
    const std::optional<long> iterations = wholeNumber(iterations_);
    if (!iterations || *iterations < 1)
        return refuse(iterations_, "Please enter a number of passes of 1 or more.");
    values.iterations = static_cast<int>(*iterations);
    const std::optional<double> proximity =
        platform::parseDouble(proximity_->GetValue().Strip(wxString::both).utf8_string());
    if (!proximity || !(*proximity >= 0.0))
        return refuse(proximity_, "Please enter a proximity distance of 0 or more.");
    values.proximity = *proximity;
    return true;
}

void blnrDlg::applyMethod() {
    BlunderChoice values;
    if (!readValues(values))
        return;
    values_ = values;
    apply_(values_);
}

void blnrDlg::exitDialog() {
    BlunderChoice values;
    if (readValues(values))
        values_ = values;
    keep_(values_);
    Destroy();
}

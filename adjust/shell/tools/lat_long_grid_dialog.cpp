#include "shell/tools/lat_long_grid_dialog.hpp"

#include "model/lat_long_to_grid.hpp"
#include "shell/wx_shell.hpp"

#include <wx/button.h>
#include <wx/listbox.h>
#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include <vector>

using namespace latlongid;

namespace {

constexpr unsigned linesInView = 12;

} // namespace

cllTOGRIDDlg::cllTOGRIDDlg(wxWindow* parent, const udpRec& udp)
    : wxDialog(parent, dialog, "Convert Lat/Long to Local Grid"), udp_(udp) {
    layOut();
    Bind(
        wxEVT_BUTTON, [this](wxCommandEvent&) { OnCalculate(); }, calculateButton);
    CentreOnParent();
}

void cllTOGRIDDlg::layOut() {
    latitude_ = new wxTextCtrl(this, latitudeEdit, "", wxDefaultPosition, wxSize(160, -1));
    longitude_ = new wxTextCtrl(this, longitudeEdit, "", wxDefaultPosition, wxSize(160, -1));
    results_ = new wxListBox(this, resultsList, wxDefaultPosition, wxSize(360, 300));
    auto* fields = new wxFlexGridSizer(2, wxSize(8, 6));
    fields->Add(new wxStaticText(this, wxID_ANY, "Latitude (dd.mmssss) (N+,S-):"),
                wxSizerFlags().CentreVertical());
    fields->Add(latitude_);
    fields->Add(new wxStaticText(this, wxID_ANY, "Longitude (dd.mmssss) (E+,W-):"),
                wxSizerFlags().CentreVertical());
    fields->Add(longitude_);
    auto* calculate = new wxButton(this, calculateButton, "Calculate");
    auto* buttons = new wxBoxSizer(wxHORIZONTAL);
    buttons->Add(calculate);
    buttons->Add(new wxButton(this, wxID_CANCEL, "Exit"), wxSizerFlags().Border(wxLEFT, 8));
    auto* column = new wxBoxSizer(wxVERTICAL);
    column->Add(fields, wxSizerFlags().Border(wxALL, 10));
    column->Add(new wxStaticText(this, wxID_ANY, "Results"), wxSizerFlags().Border(wxLEFT, 10));
    column->Add(results_, wxSizerFlags().Expand().Border(wxLEFT | wxRIGHT, 10));
    column->Add(buttons, wxSizerFlags().Right().Border(wxALL, 10));
    SetSizerAndFit(column);
    calculate->SetDefault();
}

void cllTOGRIDDlg::OnCalculate() {
    std::vector<std::string> lines;
    std::string message;
    if (latLongToGridLines(udp_, latitude_->GetValue().utf8_string(),
                           longitude_->GetValue().utf8_string(), lines,
                           message) != latLongConverted) {
        WxShell(this).message(message, MessageKind::ok);
        return;
    }
    for (const std::string& line : lines)
        results_->Append(wxString::FromUTF8(line));
    const int count = static_cast<int>(results_->GetCount());
    if (count > static_cast<int>(linesInView)) {
        results_->SetFirstItem(count - static_cast<int>(linesInView));
        // A list that shows fewer lines still shows the newest.
        results_->EnsureVisible(count - 1);
    }
}

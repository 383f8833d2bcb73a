#include "shell/tools/gps_convert_dialog.hpp"

#include "shell/file_dialogs.hpp"
#include "shell/tools/file_converters.hpp"
#include "shell/wx_shell.hpp"

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/choice.h>
#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include <iterator>

using namespace gpsconvertid;

namespace {

const wxString formats[] = {"Ashtech/Thales 'O' files (*.obn)",
                            "Leica",
                            "Topcon (*.tvf)",
                            "Topcon  XML (*.xml)",
                            "Trimble Data Exchange Format (*.asc) ",
                            "Trimble Data Collection (*.dc)",
                            "Land XML (*.xml)",
                            "NGS GFile",
                            "Read GFile section from an Opus Report",
                            "Velmora, (*.RW5)",
                            "Adjustment Input (IOB) Format"};
const wxString rawFormats[] = {"Velmora (RW5) ", "V&K (*.VKR)"};

constexpr int rawRows[] = {rawFormatLabel, rawFormatList, rawLabel, rawEdit, rawSelect};
constexpr int gpsRow[] = {gpsSelect, gpsLabel, gpsEdit};

wxSizer* fileRow(wxWindow* parent, int labelId, const char* label, int editId, int buttonId) {
    auto* row = new wxBoxSizer(wxHORIZONTAL);
    row->Add(new wxStaticText(parent, labelId, label, wxDefaultPosition, wxSize(170, -1)),
             wxSizerFlags().CentreVertical());
    row->Add(new wxTextCtrl(parent, editId, "", wxDefaultPosition, wxSize(320, -1)),
             wxSizerFlags(1).Border(wxLEFT, 6));
    row->Add(new wxButton(parent, buttonId, "Select"), wxSizerFlags().Border(wxLEFT, 6));
    return row;
}

} // namespace

cnvrtGPSFl::cnvrtGPSFl(wxWindow* parent, FileConverters& converters)
    : wxDialog(parent, dialog, "Convert GPS and/or Total Station Files"), converters_(converters) {
    layOut();
    bindHandlers();
    static_cast<wxChoice*>(FindWindow(formatList))->SetSelection(0);
    static_cast<wxChoice*>(FindWindow(rawFormatList))->SetSelection(0);
    for (int id : {stripZerosCheck, importPointsCheck, importVectorsCheck})
        static_cast<wxCheckBox*>(FindWindow(id))->SetValue(true);
    showForFormat();
    showForChecks();
    CentreOnParent();
}

void cnvrtGPSFl::layOut() {
    auto* column = new wxBoxSizer(wxVERTICAL);
    column->Add(fileRow(this, wxID_ANY, "File to convert:", inputEdit, inputSelect),
                wxSizerFlags().Expand().Border(wxALL, 6));
    auto* formatRow = new wxBoxSizer(wxHORIZONTAL);
    formatRow->Add(new wxStaticText(this, wxID_ANY, "GPS/Total Station File Format:"),
                   wxSizerFlags().CentreVertical());
    formatRow->Add(new wxChoice(this, formatList, wxDefaultPosition, wxDefaultSize,
                                std::size(formats), formats),
                   wxSizerFlags().Border(wxLEFT, 6));
    column->Add(formatRow, wxSizerFlags().Border(wxALL, 6));
    for (const auto& [id, label] :
         {std::pair{stripZerosCheck, "Remove leading 0's from Thales point numbers"},
          std::pair{importPointsCheck, "Import Points"},
          std::pair{importVectorsCheck, "Import Vectors"},
          std::pair{importTotalStationCheck, "Import Total Station Data"}})
        column->Add(new wxCheckBox(this, id, label), wxSizerFlags().Border(wxLEFT | wxTOP, 6));
    column->Add(fileRow(this, gpsLabel, "New ASCII GPS file:", gpsEdit, gpsSelect),
                wxSizerFlags().Expand().Border(wxALL, 6));
    column->Add(fileRow(this, rawLabel, "New Total Station File", rawEdit, rawSelect),
                wxSizerFlags().Expand().Border(wxALL, 6));
    auto* rawFormatRow = new wxBoxSizer(wxHORIZONTAL);
    rawFormatRow->Add(new wxStaticText(this, rawFormatLabel, "Total Station File Format:"),
                      wxSizerFlags().CentreVertical());
    rawFormatRow->Add(new wxChoice(this, rawFormatList, wxDefaultPosition, wxDefaultSize,
                                   std::size(rawFormats), rawFormats),
                      wxSizerFlags().Border(wxLEFT, 6));
    column->Add(rawFormatRow, wxSizerFlags().Border(wxALL, 6));
    auto* buttons = new wxBoxSizer(wxHORIZONTAL);
    buttons->Add(new wxButton(this, convertButton, "Convert"));
    buttons->Add(new wxButton(this, wxID_CANCEL, "Exit"), wxSizerFlags().Border(wxLEFT, 8));
    column->Add(buttons, wxSizerFlags().Right().Border(wxALL, 6));
    SetSizerAndFit(column);
}

void cnvrtGPSFl::bindHandlers() {
    const auto reshow = [this](wxCommandEvent&) {
        showForFormat();
        showForChecks();
    };
    FindWindow(formatList)->Bind(wxEVT_CHOICE, reshow);
    FindWindow(importVectorsCheck)->Bind(wxEVT_CHECKBOX, reshow);
    FindWindow(importTotalStationCheck)->Bind(wxEVT_CHECKBOX, reshow);
    Bind(
        wxEVT_BUTTON, [this](wxCommandEvent&) { selectInput(); }, inputSelect);
    Bind(
        wxEVT_BUTTON, [this](wxCommandEvent&) { selectGps(); }, gpsSelect);
    Bind(
        wxEVT_BUTTON, [this](wxCommandEvent&) { selectRaw(); }, rawSelect);
    Bind(
        wxEVT_BUTTON, [this](wxCommandEvent&) { OnConvert(); }, convertButton);
}

std::string cnvrtGPSFl::text(int id) const {
    return static_cast<wxTextCtrl*>(FindWindow(id))->GetValue().utf8_string();
}

bool cnvrtGPSFl::checked(int id) const {
    return static_cast<wxCheckBox*>(FindWindow(id))->GetValue();
}

int cnvrtGPSFl::format() const {
    return static_cast<wxChoice*>(FindWindow(formatList))->GetSelection();
}

void cnvrtGPSFl::message(const std::string& text) {
    WxShell(this).message(text, MessageKind::ok);
}

void cnvrtGPSFl::showForFormat() {
    for (int id : {stripZerosCheck, importPointsCheck, importVectorsCheck, importTotalStationCheck})
        FindWindow(id)->Hide();
    for (int id : rawRows)
        FindWindow(id)->Hide();
    const int f = format();
    if (f == 0 || f == 10)
        FindWindow(stripZerosCheck)->Show();
    if (f == 1)
        FindWindow(importPointsCheck)->Show();
    if (f == dataExchangeFormat)
        for (int id : {importTotalStationCheck, rawFormatLabel, rawFormatList, rawLabel, rawEdit,
                       rawSelect, importVectorsCheck})
            FindWindow(id)->Show();
}

void cnvrtGPSFl::showForChecks() {
    const bool raw = checked(importTotalStationCheck) && format() == dataExchangeFormat;
    for (int id : rawRows)
        FindWindow(id)->Show(raw);
    for (int id : gpsRow)
        FindWindow(id)->Show(checked(importVectorsCheck));
    Layout();
    Fit();
}

void cnvrtGPSFl::selectInput() {
    FileDialogRequest request;
    request.filter = "GPS Manuf. files (*.*)|*.*|All files (*.*)|*.*|";
    if (const auto chosen = chooseFile(this, request))
        static_cast<wxTextCtrl*>(FindWindow(inputEdit))->SetValue(wxString::FromUTF8(*chosen));
}

void cnvrtGPSFl::selectGps() {
    FileDialogRequest request;
    request.save = true;
    request.filter = "GPS ASCII files (*.GPS)|*.gps|";
    request.extension = "gps";
    request.initialName = "*.gps";
    if (const auto chosen = chooseFile(this, request))
        static_cast<wxTextCtrl*>(FindWindow(gpsEdit))->SetValue(wxString::FromUTF8(*chosen));
}

void cnvrtGPSFl::selectRaw() {
    const bool vkr = static_cast<wxChoice*>(FindWindow(rawFormatList))->GetSelection() == 1;
    FileDialogRequest request;
    request.save = true;
    request.filter =
        vkr ? "Total Station files (*.VKR)|*.vkr|" : "Total Station files (*.RW5)|*.rw5|";
    request.extension = vkr ? "vkr" : "rw5";
    if (const auto chosen = chooseFile(this, request))
        static_cast<wxTextCtrl*>(FindWindow(rawEdit))->SetValue(wxString::FromUTF8(*chosen));
}

// Formats other than the data-exchange export hide "Import Vectors": their
// only output is the .GPS file, so they always import vectors. A
// conversion succeeds only when every file asked for was written.
void cnvrtGPSFl::OnConvert() {
    const int f = format();
    const bool vectors = f != dataExchangeFormat || checked(importVectorsCheck);
    const bool totalStation = f == dataExchangeFormat && checked(importTotalStationCheck);
    const std::string input = text(inputEdit);
    if (input.empty() && vectors) {
        message("No input vector file has been specified.");
        return;
    }
    if (const std::string problem = unreadableInput(input); !problem.empty()) {
        message(problem);
        return;
    }
    const std::string gps = vectors ? text(gpsEdit) : std::string();
    if (vectors && gps.empty()) {
        message("No output vector file has been specified.");
        return;
    }
    const std::string raw = totalStation ? text(rawEdit) : std::string();
    if (totalStation && raw.empty()) {
        message("No output total station file has been specified.");
        return;
    }
    bool converted = vectors || totalStation;
    // What the converters said: shown before the outcome after a success,
    // and as its cause in the one box of a failure.
    std::string notes;
    const auto run = [&converted, &notes](auto convert) {
        std::string said;
        if (convert(said) != 0)
            converted = false;
        if (!said.empty())
            notes += (notes.empty() ? "" : "\n") + said;
    };
    if (vectors)
        run([&](std::string& said) {
            return converters_.convertVectors(f, input, gps, checked(stripZerosCheck) ? 1 : 0,
                                              checked(importPointsCheck) ? 1 : 0, said);
        });
    if (totalStation)
        run([&](std::string& said) {
            const int rawFormat = static_cast<wxChoice*>(FindWindow(rawFormatList))->GetSelection();
            return converters_.convertTotalStation(rawFormat, input, raw, said);
        });
    std::string text =
        converted ? input + " successfully converted to\n" : "Error converting " + input + " to\n";
    if (vectors)
        text += gps + (totalStation ? "\nand " + raw : "");
    else if (totalStation)
        text += raw;
    if (!converted) {
        message(withCause(text, notes));
        return;
    }
    if (!notes.empty())
        message(notes);
    message(text);
}

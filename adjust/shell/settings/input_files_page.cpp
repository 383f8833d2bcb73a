#include "shell/settings/input_files_page.hpp"

#include "model/settings/project_paths.hpp"
#include "shell/family_programs.hpp"
#include "shell/file_dialogs.hpp"
#include "shell/settings/settings_ids.hpp"
#include "shell/settings/settings_sheet.hpp"

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/choice.h>
#include <wx/listbox.h>
#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>
#include <wx/utils.h>

#include <algorithm>
#include <cctype>

using namespace settingsid;
using namespace pagecontrols;

namespace {

const std::vector<std::string> fileUnitNames = {"Meters", "US Feet", "Intl. Feet"};
const std::vector<std::string> gpsFormatNames = {
    "ASCII (*.gps)",
    "Ashtech/Thales 'O' files (*.obn)",
    "Leica",
    "Topcon (*.tvf)",
    "Topcon (*.XML)",
    "Trimble Data Exchange Format (*.asc) ",
    "Trimble data collection (*.dc)",
    "Land XML (*.xml)",
    "NGS G-File",
    "NGS G-File from an OPUS Report",
    "Velmora .RW5 (containing GPS vectors)",
    "Adjustment input (*.IOB)",
};
const std::vector<std::string> levelFormatNames = {"Velmora LEV file",
                                                   " Velmora Trig. Level File (tlv)"};
const std::vector<std::string> controlFormatNames = {
    "Velmora (*.crd)",
    "V&K numeric (*.crd)",
    "V&K alphanumeric (*.vkc)",
    "Autodesk Land Desktop (*.mdb)",
    "Plainview (*.zak)",
    "ASCII P,N,E,Z,D,C (*.nez)",
    "ASCII P,Lat.,Long.,Ortho.,D,C (*.txt)",
    "CSV ASCII NEZ with std. errors",
};

struct FilterAndExtension {
    const char* filter;
    const char* extension;
};

FilterAndExtension gpsFilterOf(int format) {
    switch (format) {
    case 1:
        return {"Ashtech/Thales GPS vector files (*.obn)|*.obn|All files (*.*)|*.*|", "obn"};
    case 3:
        return {"Topcon GPS vector files (*.tvf)|*.tvf|All files (*.*)|*.*|", "tvf"};
    case 4:
        return {"Topcon GPS XML vector files (*.xml)|*.xml|All files (*.*)|*.*|", "xml"};
    case 5:
        return {"Trimble Data Exchange Format vector files (*.asc)|*.asc|All files (*.*)|*.*|",
                "asc"};
    case 6:
        return {"Trimble Data Collection vector files (*.dc)|*.dc|All files (*.*)|*.*|", "dc"};
    case 7:
        return {"Land XML GPS files (*.xml)|*.xml|All files (*.*)|*.*|", "xml"};
    case 8:
        return {"NGS G File (*.G)|*.g|All files (*.*)|*.*|", "g"};
    case 9:
        return {"NGS Opus Report (*.txt)|*.txt|All files (*.*)|*.*|", "txt"};
    case 10:
        return {"Velmora RW5 (*.RW5)|*.RW5|All files (*.*)|*.*|", "rw5"};
    case 11:
        return {"Adjustment input files (*.IOB)|*.IOB|All files (*.*)|*.*|", "iob"};
    default:
        return {"GPS vector files (*.gps)|*.gps|All files (*.*)|*.*|", "gps"};
    }
}

std::string upper(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return text;
}

std::string lastFour(const std::string& name) {
    return upper(name.size() > 4 ? name.substr(name.size() - 4) : name);
}

wxListBox* fileList(wxWindow* parent, int id) {
    return new wxListBox(parent, id, wxDefaultPosition, wxSize(420, 80), 0, nullptr,
                         wxLB_EXTENDED | wxLB_HSCROLL);
}

} // namespace

bool listHasOtherExtension(const std::vector<std::string>& names, const std::string& name) {
    return std::any_of(names.begin(), names.end(),
                       [&](const std::string& each) { return lastFour(each) != lastFour(name); });
}

bool firstRawIsRw5(const std::vector<std::string>& names) {
    return !names.empty() && lastFour(names.front()) == ".RW5";
}

std::vector<std::string> splitFileList(const std::string& list) {
    std::vector<std::string> names;
    std::size_t start = 0;
    for (std::size_t end; (end = list.find('\n', start)) != std::string::npos; start = end + 1)
        names.push_back(list.substr(start, end - start));
    if (start < list.size())
        names.push_back(list.substr(start));
    return names;
}

std::string joinFileList(const std::vector<std::string>& names) {
    std::string list;
    for (const std::string& name : names)
        list += name + "\n";
    return list;
}

CInputFilesPage::CInputFilesPage(wxWindow* parent, CSettingsPropSht& sheet)
    : SettingsPage(parent, sheet, inputFilesPage) {
    layOut();
    bindHandlers();
}

void CInputFilesPage::layOut() {
    auto* column = new wxBoxSizer(wxVERTICAL);
    const auto flags = wxSizerFlags().Border(wxLEFT | wxRIGHT | wxTOP, 6);
    column->Add(check(this, rawDataCheck, "Raw Data File:"), flags);
    auto* raw = new wxBoxSizer(wxHORIZONTAL);
    raw->Add(fileList(this, rawFileList));
    auto* rawButtons = new wxBoxSizer(wxVERTICAL);
    rawButtons->Add(button(this, rawAddButton, "Add"));
    rawButtons->Add(button(this, rawRemoveButton, "Remove"), wxSizerFlags().Border(wxTOP, 4));
    raw->Add(rawButtons, wxSizerFlags().Border(wxLEFT, 6));
    column->Add(raw, flags);
    column->Add(row({label(this, totalStationUnitsLabel, "Total Station dist. units:"),
                     choice(this, totalStationUnitsList, fileUnitNames),
                     check(this, rw5VectorsCheck, "Include any GPS vectors:"),
                     label(this, rw5VectorUnitsLabel, "GPS Vector Units:"),
                     choice(this, rw5VectorUnitsList, fileUnitNames)}),
                flags);

    column->Add(check(this, gpsVectorFileCheck, "GPS Vector File:"), flags);
    auto* gps = new wxBoxSizer(wxHORIZONTAL);
    gps->Add(fileList(this, gpsFileList));
    auto* gpsButtons = new wxBoxSizer(wxVERTICAL);
    gpsButtons->Add(button(this, gpsAddButton, "Add"));
    gpsButtons->Add(button(this, gpsRemoveButton, "Remove"), wxSizerFlags().Border(wxTOP, 4));
    gpsButtons->Add(button(this, gpsEditButton, "Edit"), wxSizerFlags().Border(wxTOP, 4));
    gps->Add(gpsButtons, wxSizerFlags().Border(wxLEFT, 6));
    column->Add(gps, flags);
    column->Add(
        row({label(this, gpsUnitsLabel, "Units:"), choice(this, gpsUnitsList, fileUnitNames),
             label(this, gpsFormatLabel, "Format:"),
             choice(this, gpsFormatList, gpsFormatNames, 300)}),
        flags);

    column->Add(check(this, levelRawFileCheck, "Level Raw File:"), flags);
    column->Add(row({edit(this, levelFileEdit, 340), button(this, levelSelectButton, "Select")}),
                flags);
    column->Add(
        row({label(this, levelFormatLabel, "Format:"),
             choice(this, levelFormatList, levelFormatNames, 240),
             label(this, levelUnitsLabel, "Units:"), choice(this, levelUnitsList, fileUnitNames)}),
        flags);

    column->Add(check(this, nezControlCheck, "NEZ Control File:"), flags);
    column->Add(
        row({edit(this, controlFileEdit, 340), button(this, controlSelectButton, "Select")}),
        flags);
    column->Add(row({label(this, controlFormatLabel, "File Format:"),
                     choice(this, controlFormatList, controlFormatNames, 300)}),
                wxSizerFlags().Border(wxALL, 6));
    SetSizer(column);
}

void CInputFilesPage::bindHandlers() {
    for (int id : {controlFormatList, gpsFormatList, totalStationUnitsList, gpsUnitsList,
                   levelUnitsList, levelFormatList, rw5VectorUnitsList})
        FindWindow(id)->Bind(wxEVT_CHOICE, [this](wxCommandEvent&) {
            markModified();
            applyEnableRules();
        });
    FindWindow(controlFileEdit)->Bind(wxEVT_TEXT, [this](wxCommandEvent&) {
        markModified();
        applyEnableRules();
    });
    for (int id :
         {rw5VectorsCheck, rawDataCheck, gpsVectorFileCheck, levelRawFileCheck, nezControlCheck})
        FindWindow(id)->Bind(wxEVT_CHECKBOX, [this](wxCommandEvent&) {
            markModified();
            applyEnableRules();
        });
    markModifiedOnChange({levelFileEdit});
    Bind(
        wxEVT_BUTTON, [this](wxCommandEvent&) { addRawFiles(); }, rawAddButton);
    Bind(
        wxEVT_BUTTON, [this](wxCommandEvent&) { removeSelected(rawFileList); }, rawRemoveButton);
    Bind(
        wxEVT_BUTTON, [this](wxCommandEvent&) { addGpsFiles(); }, gpsAddButton);
    Bind(
        wxEVT_BUTTON, [this](wxCommandEvent&) { removeSelected(gpsFileList); }, gpsRemoveButton);
    Bind(
        wxEVT_BUTTON, [this](wxCommandEvent&) { editGpsFile(); }, gpsEditButton);
    Bind(
        wxEVT_BUTTON, [this](wxCommandEvent&) { selectLevelFile(); }, levelSelectButton);
    Bind(
        wxEVT_BUTTON, [this](wxCommandEvent&) { selectControlFile(); }, controlSelectButton);
}

void CInputFilesPage::totalStationUnitsFollow(int unit) {
    values().ttlStaUnits = unit;
    control<wxChoice>(totalStationUnitsList)->SetSelection(unit);
}

void CInputFilesPage::fillOwnControls() {
    for (const auto& [listId, names] : {std::pair{rawFileList, values().pInputFileName},
                                        std::pair{gpsFileList, values().pGPSFileName}}) {
        wxListBox* list = control<wxListBox>(listId);
        list->Clear();
        for (const std::string& name : splitFileList(names))
            list->Append(wxString::FromUTF8(name));
    }
    applyEnableRules();
}

void CInputFilesPage::readOwnControls() {
    values().pInputFileName = joinFileList(listNames(rawFileList));
    values().pGPSFileName = joinFileList(listNames(gpsFileList));
}

std::vector<std::string> CInputFilesPage::listNames(int listId) const {
    std::vector<std::string> names;
    const wxListBox* list = control<wxListBox>(listId);
    for (unsigned i = 0; i < list->GetCount(); ++i)
        names.push_back(list->GetString(i).utf8_string());
    return names;
}

std::vector<std::string> CInputFilesPage::rawFiles() const {
    return listNames(rawFileList);
}

void CInputFilesPage::onShown() {
    applyModelRule();
}

void CInputFilesPage::applyEnableRules() {
    const bool raw = control<wxCheckBox>(rawDataCheck)->GetValue();
    enable(
        {rawFileList, rawAddButton, rawRemoveButton, totalStationUnitsList, totalStationUnitsLabel},
        raw);
    const bool level = control<wxCheckBox>(levelRawFileCheck)->GetValue();
    enable({levelFileEdit, levelSelectButton, levelUnitsList, levelUnitsLabel, levelFormatList,
            levelFormatLabel},
           level);
    const bool nez = control<wxCheckBox>(nezControlCheck)->GetValue();
    enable({controlFileEdit, controlSelectButton, controlFormatLabel, controlFormatList}, nez);
    applyModelRule();
}

// GPS vectors need the 3D model of the Coordinate System page.
void CInputFilesPage::applyModelRule() {
    const bool threeD = values().geodeticModel == 1;
    wxCheckBox* gpsCheck = control<wxCheckBox>(gpsVectorFileCheck);
    if (!threeD) {
        values().includeGPSVectors = 0;
        gpsCheck->SetValue(false);
    }
    gpsCheck->Enable(threeD);
    const bool gps = threeD && gpsCheck->GetValue();
    enable({gpsAddButton, gpsRemoveButton, gpsFileList, gpsUnitsList, gpsUnitsLabel, gpsFormatList,
            gpsFormatLabel},
           gps);
    enable({gpsEditButton}, gps && control<wxChoice>(gpsFormatList)->GetSelection() == 0);
    applyRw5VectorRule();
}

// Vectors inside raw files come only from .RW5 files when the V&K utilities
// are in use.
void CInputFilesPage::applyRw5VectorRule() {
    const bool enabled = values().geodeticModel == 1 &&
                         control<wxCheckBox>(rawDataCheck)->GetValue() &&
                         (values().useVkTool == 0 || firstRawIsRw5(rawFiles()));
    enable({rw5VectorsCheck, rw5VectorUnitsList, rw5VectorUnitsLabel}, enabled);
}

void CInputFilesPage::addFiles(int listId, const std::vector<std::string>& paths,
                               bool checkExtension) {
    wxListBox* list = control<wxListBox>(listId);
    for (const std::string& path : paths) {
        const std::vector<std::string> names = listNames(listId);
        if (std::find(names.begin(), names.end(), path) != names.end())
            settingsMessage(this, "Raw File, " + path + ", is already in the list");
        else if (checkExtension && listHasOtherExtension(names, path))
            settingsMessage(this, "You cannot have both .RW5 and .VKR files in the same list");
        else {
            list->Append(wxString::FromUTF8(path));
            markModified();
        }
        applyRw5VectorRule();
    }
}

void CInputFilesPage::addRawFiles() {
    FileDialogRequest request;
    const bool rw5First = values().useVkTool == 0;
    request.filter = rw5First
                         ? "Raw files (*.rw5)|*.rw5|Raw files (*.vkr)|*.vkr|All files (*.*)|*.*|"
                         : "Raw files (*.vkr)|*.vkr|Raw files (*.rw5)|*.rw5|All files (*.*)|*.*|";
    request.extension = rw5First ? "rw5" : "vkr";
    addFiles(rawFileList, chooseFiles(this, request), true);
}

void CInputFilesPage::addGpsFiles() {
    const FilterAndExtension kind = gpsFilterOf(control<wxChoice>(gpsFormatList)->GetSelection());
    FileDialogRequest request;
    request.filter = kind.filter;
    request.extension = kind.extension;
    addFiles(gpsFileList, chooseFiles(this, request), false);
}

void CInputFilesPage::removeSelected(int listId) {
    wxListBox* list = control<wxListBox>(listId);
    wxArrayInt selected;
    list->GetSelections(selected);
    std::sort(selected.begin(), selected.end());
    for (auto it = selected.rbegin(); it != selected.rend(); ++it)
        list->Delete(static_cast<unsigned>(*it));
    if (!selected.empty())
        markModified();
}

void CInputFilesPage::editGpsFile() {
    wxListBox* list = control<wxListBox>(gpsFileList);
    wxArrayInt selected;
    list->GetSelections(selected);
    if (selected.empty()) {
        settingsMessage(this, "No GPS file selected.");
        return;
    }
    // The user's own text editor, as for the run's output files.
    std::vector<std::string> command = editorCommand();
    command.push_back(
        projectRelativePath(list->GetString(static_cast<unsigned>(selected[0])).utf8_string()));
    if (!startDetached(command))
        settingsMessage(this, editorMissingMessage(command.front()));
}

void CInputFilesPage::selectLevelFile() {
    const bool lev = control<wxChoice>(levelFormatList)->GetSelection() == 0;
    FileDialogRequest request;
    request.filter = lev ? "level files (*.lev)|*.lev|All files (*.*)|*.*|"
                         : "Trig. level files (*.tlv)|*.tlv|All files (*.*)|*.*|";
    request.extension = lev ? "lev" : "tlv";
    const auto path = chooseFile(this, request);
    if (!path)
        return;
    control<wxTextCtrl>(levelFileEdit)->ChangeValue(wxString::FromUTF8(*path));
    markModified();
}

void CInputFilesPage::selectControlFile() {
    const int type = control<wxChoice>(controlFormatList)->GetSelection();
    values().nezFileFmtType = type;
    const bool vk = values().useVkTool == 1;
    FileDialogRequest request;
    request.filter =
        vk ? "V&K Numeric (*.crd)|*.crd|V&K Alphanumeric (*.vkc)|*.vkc|Velmora (*.crd)|*.crd|"
             "Autodesk Land Desktop (*.mdb)|*.mdb|Plainview (*.zak)|*.zak|ASCII "
             "(*.nez)|*.nez|All files (*.*)|*.*|"
           : "Velmora (*.crd)|*.crd|V&K Numeric (*.crd)|*.crd|V&K Alphanumeric "
             "(*.vkc)|*.vkc|Autodesk Land Desktop (*.mdb)|*.mdb|Plainview (*.zak)|*.zak|ASCII "
             "(*.nez)|*.nez|All files (*.*)|*.*|";
    request.filterEntry = type + 1;
    request.initialName = control<wxTextCtrl>(controlFileEdit)->GetValue().utf8_string();
    const int vkcType = vk ? 1 : 2;
    if (type == vkcType)
        request.extension = "vkc";
    else if (type == 3)
        request.extension = "mdb";
    else if (type == 4)
        request.extension = "zak";
    else if (type == 5)
        request.extension = "nez";
    else if (type != 6)
        request.extension = "crd";
    const auto path = chooseFile(this, request);
    if (!path)
        return;
    control<wxTextCtrl>(controlFileEdit)->ChangeValue(wxString::FromUTF8(*path));
    markModified();
}

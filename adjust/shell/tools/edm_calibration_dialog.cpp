#include "shell/tools/edm_calibration_dialog.hpp"

#include "platform/c_locale_text.hpp"
#include "shell/file_dialogs.hpp"
#include "shell/tools/grid_row_commands.hpp"
#include "shell/work_area.hpp"
#include "shell/wx_shell.hpp"

#include <wx/artprov.h>
#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/evtloop.h>
#include <wx/font.h>
#include <wx/listbox.h>
#include <wx/menu.h>
#include <wx/msgdlg.h>
#include <wx/panel.h>
#include <wx/radiobut.h>
#include <wx/sizer.h>
#include <wx/statbox.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>
#include <wx/toolbar.h>
#include <wx/utils.h>

#include <algorithm>

using namespace edmid;

namespace {

constexpr const char* windowTitle = "EDM Calibration";
constexpr const char* edmFilter = "EDM Calibration Files (*.edm) | *.edm| All Files (*.*)|*.*||";
constexpr const char* reportFilter =
    "EDM Calibration Report File (*.txt) | *.txt| All Files (*.*)|*.*||";
constexpr const char* saveQuestion = "Do you wish to save the EDM data file?";

// Header edits in the order they are laid out, with their labels.
struct LabelledEdit {
    int id;
    const char* label;
};
constexpr LabelledEdit descriptionEdits[] = {
    {dateEdit, "Date:"},
    {timeEdit, "Time:"},
    {edmDescriptionEdit, "EDM Description:"},
    {reflectorDescriptionEdit, "Reflector Description:"},
    {weatherEdit, "Weather:"},
    {commentEdit, "Comment:"},
};
constexpr int headerEdits[] = {dateEdit,           timeEdit,
                               edmDescriptionEdit, reflectorDescriptionEdit,
                               weatherEdit,        commentEdit,
                               edmConstantEdit,    reflectorConstantEdit,
                               vapourPressureEdit, refractionIndexEdit,
                               wavelengthEdit};

wxTextCtrl* edit(wxWindow* parent, int id, int width = 120) {
    return new wxTextCtrl(parent, id, "", wxDefaultPosition, wxSize(width, -1));
}

wxStaticText* label(wxWindow* parent, int id, const char* text) {
    return new wxStaticText(parent, id, text);
}

void addRow(wxFlexGridSizer* sizer, wxWindow* label, wxWindow* field) {
    sizer->Add(label, wxSizerFlags().CentreVertical());
    sizer->Add(field, wxSizerFlags().Expand());
}

// The number a text edit shows: "%f" with its trailing zeros dropped.
std::string numberText(double value) {
    std::string text = platform::formatC("%f", value);
    text.erase(text.find_last_not_of('0') + 1);
    if (!text.empty() && text.back() == '.')
        text.pop_back();
    return text;
}

} // namespace

CEdmCalibDlg::CEdmCalibDlg() : wxFrame(nullptr, wxID_ANY, windowTitle) {
    layOut();
    bindCommands();
    wetBulb_->SetValue(true);
    FindWindow(saveOutputButton)->Disable();
    GetMenuBar()->Enable(edmid::saveReport, false);
    adjustColumns();
    markUnmodified();
}

CEdmCalibDlg::~CEdmCalibDlg() {
    if (loop_ != nullptr)
        loop_->Exit();
}

void CEdmCalibDlg::layOut() {
    makeMenu();
    auto* panel = new wxPanel(this);
    wxToolBar* tools = makeToolBar(panel);
    wxWindow* header = headerPanel(panel);
    makeGrid(panel);
    results_ = new wxListBox(panel, resultsList, wxDefaultPosition, wxSize(-1, 160));
    results_->SetFont(wxFont(wxFontInfo().Family(wxFONTFAMILY_TELETYPE)));
    auto* compute = new wxButton(panel, computeButton, "Compute");
    auto* buttons = new wxBoxSizer(wxHORIZONTAL);
    buttons->Add(new wxButton(panel, saveOutputButton, "Save Output"));
    buttons->AddStretchSpacer();
    buttons->Add(compute);
    buttons->Add(new wxButton(panel, exitButton, "Exit"), wxSizerFlags().Border(wxLEFT, 8));
    auto* column = new wxBoxSizer(wxVERTICAL);
    column->Add(tools, wxSizerFlags().Expand());
    column->Add(header, wxSizerFlags().Expand().Border(wxALL, 6));
    column->Add(grid_, wxSizerFlags(1).Expand().Border(wxLEFT | wxRIGHT, 6));
    column->Add(results_, wxSizerFlags().Expand().Border(wxALL, 6));
    column->Add(buttons, wxSizerFlags().Expand().Border(wxALL, 6));
    panel->SetSizer(column);
    auto* whole = new wxBoxSizer(wxVERTICAL);
    whole->Add(panel, wxSizerFlags(1).Expand());
    SetSizerAndFit(whole);
    wxSize size = GetClientSize();
    size.IncTo(FromDIP(wxSize(900, 640)));
    SetClientSize(size);
    keepInsideWorkArea(*this);
    compute->SetDefault();
}

wxWindow* CEdmCalibDlg::headerPanel(wxWindow* parent) {
    auto* panel = new wxPanel(parent);
    auto* descriptions = new wxFlexGridSizer(4, wxSize(8, 4));
    for (const LabelledEdit& e : descriptionEdits)
        addRow(descriptions, label(panel, wxID_ANY, e.label),
               edit(panel, e.id, e.id == dateEdit || e.id == timeEdit ? 120 : 200));

    auto* constants = new wxStaticBoxSizer(wxVERTICAL, panel, "Constants");
    auto* constantFields = new wxFlexGridSizer(2, wxSize(8, 4));
    wxWindow* box = constants->GetStaticBox();
    addRow(constantFields, label(box, wxID_ANY, "EDM:"), edit(box, edmConstantEdit, 90));
    addRow(constantFields, label(box, wxID_ANY, "Reflector:"),
           edit(box, reflectorConstantEdit, 90));
    constants->Add(constantFields, wxSizerFlags().Border(wxALL, 4));

    auto* atmosphere = new wxStaticBoxSizer(wxVERTICAL, panel, "Atmospheric Corrections");
    box = atmosphere->GetStaticBox();
    apply_ = new wxCheckBox(box, applyCorrectionCheck, "Apply Atmospheric Correction");
    wetBulb_ = new wxRadioButton(box, wetBulbRadio, "Wet Bulb Temp.", wxDefaultPosition,
                                 wxDefaultSize, wxRB_GROUP);
    vapourPressure_ = new wxRadioButton(box, vapourPressureRadio, "Vapor Pressure:  e:");
    auto* vapour = new wxBoxSizer(wxHORIZONTAL);
    vapour->Add(vapourPressure_, wxSizerFlags().CentreVertical());
    vapour->Add(edit(box, vapourPressureEdit, 80), wxSizerFlags().Border(wxLEFT, 4));
    auto* indexes = new wxFlexGridSizer(2, wxSize(8, 4));
    addRow(indexes, label(box, refractionIndexLabel, "Index of Refraction:"),
           edit(box, refractionIndexEdit, 110));
    addRow(indexes, label(box, wavelengthLabel, "Wavelength of Light:"),
           edit(box, wavelengthEdit, 110));
    atmosphere->Add(apply_, wxSizerFlags().Border(wxALL, 4));
    atmosphere->Add(wetBulb_, wxSizerFlags().Border(wxLEFT, 4));
    atmosphere->Add(vapour, wxSizerFlags().Border(wxLEFT, 4));
    atmosphere->Add(indexes, wxSizerFlags().Border(wxALL, 4));

    auto* row = new wxBoxSizer(wxHORIZONTAL);
    row->Add(descriptions, wxSizerFlags().Border(wxRIGHT, 12));
    row->Add(constants, wxSizerFlags().Border(wxRIGHT, 12));
    row->Add(atmosphere);
    panel->SetSizer(row);
    return panel;
}

void CEdmCalibDlg::makeMenu() {
    auto* file = new wxMenu;
    file->Append(edmid::newFile, "&New EDM data file");
    file->Append(edmid::openFile, "&Open EDM data file");
    file->Append(edmid::saveFile, "&Save EDM data file");
    file->Append(edmid::saveFileAs, "Save EDM data file &As");
    file->Append(edmid::saveReport, "Save Results File As");
    file->AppendSeparator();
    file->Append(edmid::exitCommand, "&Exit");
    auto* editMenu = new wxMenu;
    editMenu->Append(edmid::insertBefore, "&Insert a New Record Before the Current Row");
    editMenu->Append(edmid::insertAfter, "I&nsert a New Record After the Current Row");
    editMenu->Append(edmid::deleteRow, "&Delete Row");
    auto* bar = new wxMenuBar;
    bar->Append(file, "&File");
    bar->Append(editMenu, "&Edit");
    SetMenuBar(bar);
}

wxToolBar* CEdmCalibDlg::makeToolBar(wxWindow* parent) {
    auto* tools = new wxToolBar(parent, wxID_ANY, wxDefaultPosition, wxDefaultSize,
                                wxTB_HORIZONTAL | wxTB_FLAT);
    const struct {
        int id;
        wxArtID art;
        const char* tip;
    } buttons[] = {
        {edmid::deleteRow, wxART_DELETE, "Delete Row"},
        {edmid::insertBefore, wxART_GO_UP, "Insert a New Record Before the Current Row"},
        {edmid::insertAfter, wxART_GO_DOWN, "Insert a New Record After the Current Row"},
    };
    for (const auto& b : buttons) {
        const wxBitmap bitmap = wxArtProvider::GetBitmap(b.art, wxART_TOOLBAR);
        tools->AddTool(b.id, b.tip, bitmap, bitmap.ConvertToDisabled(), wxITEM_NORMAL, b.tip);
    }
    tools->Realize();
    return tools;
}

void CEdmCalibDlg::makeGrid(wxWindow* parent) {
    grid_ = new gridctrl::CGridCtrl(1, edmBaseColumns, 1, 1);
    grid_->options().fixedColumnClickSelectsRows = true;
    grid_->options().fixedRowClickSelectsColumns = true;
    grid_->options().columnsMayHide = true;
    grid_->Create(parent, edmid::grid, wxDefaultPosition, wxSize(-1, 200));
    for (int col = 0; col < edmBaseColumns; ++col) {
        grid_->SetCellText(0, col, edmColumns[static_cast<std::size_t>(col)].heading);
        grid_->SetColumnWidth(col, edmColumns[static_cast<std::size_t>(col)].width_px);
    }
    widenColumnsToCells(*grid_);
}

void CEdmCalibDlg::bindCommands() {
    const auto on = [this](int id, auto action) {
        Bind(
            wxEVT_MENU, [action](wxCommandEvent&) { action(); }, id);
    };
    on(edmid::newFile, [this] { this->newFile(); });
    on(edmid::openFile, [this] { this->openFile(); });
    on(edmid::saveFile, [this] { this->saveFile(); });
    on(edmid::saveFileAs, [this] { this->saveFileAs(); });
    on(edmid::saveReport, [this] { this->saveReport(); });
    on(edmid::exitCommand, [this] { this->exit(); });
    on(edmid::insertBefore, [this] { this->insertBefore(); });
    on(edmid::insertAfter, [this] { this->insertAfter(); });
    on(edmid::deleteRow, [this] { this->deleteRow(); });
    Bind(
        wxEVT_BUTTON, [this](wxCommandEvent&) { compute(); }, computeButton);
    Bind(
        wxEVT_BUTTON, [this](wxCommandEvent&) { exit(); }, exitButton);
    Bind(
        wxEVT_BUTTON, [this](wxCommandEvent&) { saveReport(); }, saveOutputButton);
    Bind(wxEVT_CLOSE_WINDOW, [this](wxCloseEvent& event) {
        if (!exit() && event.CanVeto())
            event.Veto();
    });
    // GTK hands the Escape that closes an open menu to the window first: it
    // closes the menu, not the window.
    Bind(wxEVT_MENU_OPEN, [this](wxMenuEvent& event) {
        ++openMenus_;
        event.Skip();
    });
    Bind(wxEVT_MENU_CLOSE, [this](wxMenuEvent& event) {
        openMenus_ = std::max(0, openMenus_ - 1);
        event.Skip();
    });
    Bind(wxEVT_CHAR_HOOK, [this](wxKeyEvent& event) {
        if (event.GetKeyCode() == WXK_ESCAPE && openMenus_ == 0)
            exit();
        else
            event.Skip();
    });
    apply_->Bind(wxEVT_CHECKBOX, [this](wxCommandEvent&) {
        modified_ = true;
        onCorrectionChanged();
    });
    for (wxRadioButton* radio : {wetBulb_, vapourPressure_})
        radio->Bind(wxEVT_RADIOBUTTON, [this](wxCommandEvent&) { onMethodChanged(); });
    for (int id : headerEdits)
        FindWindow(id)->Bind(wxEVT_TEXT, [this](wxCommandEvent& event) {
            modified_ = true;
            event.Skip();
        });
    followCurrentRow(*this, *grid_, [this](int row) { currentRow_ = row; });
}

void CEdmCalibDlg::ShowModal() {
    Show();
    wxWindowDisabler others(this);
    wxGUIEventLoop loop;
    loop_ = &loop;
    loop.Run();
    loop_ = nullptr;
}

bool CEdmCalibDlg::applying() const {
    return apply_->GetValue();
}

bool CEdmCalibDlg::wetBulb() const {
    return wetBulb_->GetValue();
}

std::string CEdmCalibDlg::text(int id) const {
    return static_cast<wxTextCtrl*>(FindWindow(id))->GetValue().utf8_string();
}

void CEdmCalibDlg::setText(int id, const std::string& value) {
    static_cast<wxTextCtrl*>(FindWindow(id))->ChangeValue(wxString::FromUTF8(value));
}

double CEdmCalibDlg::number(int id) const {
    return platform::atofC(text(id));
}

void CEdmCalibDlg::setNumber(int id, double value) {
    setText(id, numberText(value));
}

void CEdmCalibDlg::message(const std::string& text) {
    WxShell(this).message(text, MessageKind::ok);
}

bool CEdmCalibDlg::modified() const {
    return modified_ || grid_->IsModified();
}

// What the window shows now is what the file holds (or a new, empty file).
void CEdmCalibDlg::markUnmodified() {
    grid_->SetModified(false);
    modified_ = false;
}

// The weather texts of the rows whose columns are shown go to the kept
// texts before the columns go.
void CEdmCalibDlg::removeWeatherColumns(int downTo) {
    for (int col = columns_ - 1; col >= downTo; --col) {
        for (int row = 1; row < grid_->GetRowCount(); ++row)
            weather_[static_cast<std::size_t>(row - 1)]
                    [static_cast<std::size_t>(col - edmDryColumn)] = grid_->GetCellText(row, col);
        grid_->DeleteColumn(col);
    }
    columns_ = downTo;
}

// New weather columns show the texts kept for them.
void CEdmCalibDlg::appendWeatherColumns(int upTo) {
    for (int col = columns_; col < upTo; ++col) {
        const EdmColumn& c = edmColumns[static_cast<std::size_t>(col)];
        grid_->InsertColumn(c.heading);
        grid_->SetColumnWidth(col, c.width_px);
        widenColumnsToCells(*grid_);
        for (int row = 1; row < grid_->GetRowCount(); ++row)
            grid_->SetCellText(row, col,
                               weather_[static_cast<std::size_t>(row - 1)]
                                       [static_cast<std::size_t>(col - edmDryColumn)]);
    }
    columns_ = upTo;
}

// The columns follow the correction and the humidity method: 9 without the
// correction, 11 with the vapour pressure given, 12 with the wet bulb.
void CEdmCalibDlg::matchColumns() {
    const int wanted = !applying() ? edmBaseColumns
                       : wetBulb() ? edmWetBulbColumns
                                   : edmVapourColumns;
    if (columns_ > wanted)
        removeWeatherColumns(wanted);
    else if (columns_ < wanted)
        appendWeatherColumns(wanted);
    grid_->Refresh();
}

void CEdmCalibDlg::adjustColumns() {
    const bool on = applying();
    for (int id : {wetBulbRadio, vapourPressureRadio, refractionIndexEdit, refractionIndexLabel,
                   wavelengthEdit, wavelengthLabel})
        FindWindow(id)->Enable(on);
    FindWindow(vapourPressureEdit)->Enable(on && !wetBulb());
    matchColumns();
}

void CEdmCalibDlg::onCorrectionChanged() {
    adjustColumns();
}

void CEdmCalibDlg::onMethodChanged() {
    FindWindow(vapourPressureEdit)->Enable(applying() && !wetBulb());
    matchColumns();
}

void CEdmCalibDlg::renumberFrom(int row) {
    for (int r = std::max(row, 1); r < grid_->GetRowCount(); ++r)
        grid_->SetCellText(r, 0, std::to_string(r));
}

int CEdmCalibDlg::insertRowAt(int row, int number) {
    const int at = grid_->InsertRow(std::to_string(number), row >= grid_->GetRowCount() ? -1 : row);
    if (at > 0)
        weather_.insert(weather_.begin() + (at - 1), EdmWeatherTexts{});
    return at;
}

void CEdmCalibDlg::deleteRow() {
    const GridRowSpan rows = rowsToDelete(*grid_, currentRow_);
    if (rows.empty())
        return;
    for (int row = rows.last; row >= rows.first; --row)
        grid_->DeleteRow(row);
    weather_.erase(weather_.begin() + (rows.first - 1), weather_.begin() + rows.last);
    currentRow_ = std::min(rows.first, grid_->GetRowCount() - 1);
    renumberFrom(currentRow_);
    grid_->Refresh();
    modified_ = true;
}

// The new row becomes the current one, so what is typed next goes into it.
void CEdmCalibDlg::afterInsert(int row) {
    currentRow_ = row;
    focusRow(*grid_, row);
    grid_->Refresh();
    modified_ = true;
}

void CEdmCalibDlg::insertBefore() {
    int at = 0;
    if (currentRow_ > 0 && currentRow_ < grid_->GetRowCount()) {
        at = insertRowAt(currentRow_, currentRow_);
        renumberFrom(currentRow_);
    } else {
        at = insertRowAt(1, 1);
        renumberFrom(2);
    }
    afterInsert(at);
}

void CEdmCalibDlg::insertAfter() {
    const int last = grid_->GetRowCount() - 1;
    const int at =
        insertRowAt(currentRow_ >= last ? grid_->GetRowCount() : currentRow_ + 1, currentRow_ + 1);
    renumberFrom(currentRow_);
    afterInsert(at);
}

EdmRowTexts CEdmCalibDlg::rowTexts(int row) const {
    EdmRowTexts texts;
    for (int col = 1; col < edmWetBulbColumns; ++col) {
        const auto i = static_cast<std::size_t>(col - 1);
        if (col < columns_)
            texts[i] = grid_->GetCellText(row, col);
        else if (col >= edmDryColumn)
            texts[i] = weather_[static_cast<std::size_t>(row - 1)]
                               [static_cast<std::size_t>(col - edmDryColumn)];
    }
    return texts;
}

void CEdmCalibDlg::setRowTexts(int row, const EdmRowTexts& texts) {
    for (int col = 1; col < columns_; ++col)
        grid_->SetCellText(row, col, texts[static_cast<std::size_t>(col - 1)]);
    auto& weather = weather_[static_cast<std::size_t>(row - 1)];
    for (std::size_t i = 0; i < weather.size(); ++i)
        weather[i] = texts[edmDryColumn - 1 + i];
}

// The record array from the window, in the order the file keeps: IN, DT,
// RF, WE, CO, AT, CN, then one OB per row that holds anything.
void CEdmCalibDlg::buildRecords() {
    std::vector<CALIBRATE_RAWREC>& records = edm_.records;
    records.clear();
    const auto textRecord = [&records](int kind, std::string value) {
        CALIBRATE_RAWREC r;
        r.kind = kind;
        r.text = std::move(value);
        fitEdmRecordTexts(r);
        records.push_back(r);
    };
    textRecord(edmDescription, text(edmDescriptionEdit));
    textRecord(edmDateTime, text(dateEdit));
    records.back().time = text(timeEdit);
    fitEdmRecordTexts(records.back());
    textRecord(edmReflector, text(reflectorDescriptionEdit));
    textRecord(edmWeather, text(weatherEdit));
    textRecord(edmComment, text(commentEdit));
    CALIBRATE_RAWREC at;
    at.kind = edmAtmosphere;
    at.applyCorrection = applying() ? 1 : 0;
    at.wetBulb = wetBulb() ? 1 : 0;
    at.refractionIndex = number(refractionIndexEdit);
    at.wavelength_um = number(wavelengthEdit);
    at.vapourPressure_mmHg = number(vapourPressureEdit);
    records.push_back(at);
    CALIBRATE_RAWREC cn;
    cn.kind = edmConstants;
    cn.edmConstant = number(edmConstantEdit);
    cn.reflectorConstant = number(reflectorConstantEdit);
    records.push_back(cn);
    for (int row = 1; row < grid_->GetRowCount(); ++row) {
        const EdmRowTexts texts = rowTexts(row);
        if (!edmRowIsEmpty(texts))
            records.push_back(edmObservationOf(texts));
    }
}

void CEdmCalibDlg::loadRecords() {
    for (const CALIBRATE_RAWREC& r : edm_.records) {
        switch (r.kind) {
        case edmDescription:
            setText(edmDescriptionEdit, r.text);
            break;
        case edmDateTime:
            setText(dateEdit, r.text);
            setText(timeEdit, r.time);
            break;
        case edmReflector:
            setText(reflectorDescriptionEdit, r.text);
            break;
        case edmWeather:
            setText(weatherEdit, r.text);
            break;
        case edmComment:
            setText(commentEdit, r.text);
            break;
        case edmAtmosphere:
            apply_->SetValue(r.applyCorrection != 0);
            setNumber(refractionIndexEdit, r.refractionIndex);
            setNumber(wavelengthEdit, r.wavelength_um);
            setNumber(vapourPressureEdit, r.vapourPressure_mmHg);
            (r.wetBulb != 0 ? wetBulb_ : vapourPressure_)->SetValue(true);
            break;
        case edmConstants:
            setNumber(edmConstantEdit, r.edmConstant);
            setNumber(reflectorConstantEdit, r.reflectorConstant);
            break;
        case edmObservation: {
            const int row = grid_->GetRowCount();
            insertRowAt(row, row);
            setRowTexts(row, edmRowTextsOf(r));
            break;
        }
        default:
            break;
        }
    }
}

void CEdmCalibDlg::setTitleFor(const std::string& path) {
    SetTitle(path.empty() ? wxString(windowTitle)
                          : wxString::FromUTF8(std::string(windowTitle) + " - " + path));
}

void CEdmCalibDlg::clearWindow() {
    for (int id : headerEdits)
        setText(id, "");
    apply_->SetValue(false);
    currentRow_ = 0;
    edm_.records.clear();
    grid_->DeleteNonFixedRows();
    weather_.clear();
    results_->Clear();
}

bool CEdmCalibDlg::openPath(const std::string& path) {
    std::vector<CALIBRATE_RAWREC> previous = std::move(edm_.records);
    edm_.records.clear();
    if (const int result = edm_.readEdmFile(path); result != edmFileRead) {
        if (result == edmFileDamaged)
            message(edm_.error);
        edm_.records = std::move(previous);
        adjustColumns();
        return false;
    }
    std::vector<CALIBRATE_RAWREC> read = std::move(edm_.records);
    clearWindow();
    edm_.records = std::move(read);
    loadRecords();
    path_ = path;
    setTitleFor(path_);
    adjustColumns();
    markUnmodified();
    return true;
}

void CEdmCalibDlg::openFile() {
    FileDialogRequest request;
    request.filter = edmFilter;
    request.extension = "edm";
    request.initialName = "*.edm";
    if (const auto chosen = chooseFile(this, request))
        openPath(*chosen);
    else
        adjustColumns();
}

bool CEdmCalibDlg::savePath(const std::string& path) {
    buildRecords();
    if (edm_.writeEdmFile(path) != 0) {
        message("Error writing to: " + path);
        return false;
    }
    markUnmodified();
    return true;
}

bool CEdmCalibDlg::saveFile() {
    if (!path_.empty())
        return savePath(path_);
    return saveFileAs();
}

bool CEdmCalibDlg::saveFileAs() {
    FileDialogRequest request;
    request.save = true;
    request.filter = edmFilter;
    request.extension = "edm";
    request.initialName = "*.edm";
    const auto chosen = chooseFile(this, request);
    if (!chosen)
        return false;
    path_ = *chosen;
    setTitleFor(path_);
    return savePath(path_);
}

void CEdmCalibDlg::saveReport() {
    FileDialogRequest request;
    request.save = true;
    request.filter = reportFilter;
    request.extension = "txt";
    request.initialName = "*.txt";
    const auto chosen = chooseFile(this, request);
    if (chosen && edm_.writeReportFile(*chosen) != 0)
        message("Error writing to: " + *chosen);
}

void CEdmCalibDlg::showResults() {
    results_->Clear();
    const std::string& report = edm_.report;
    std::size_t start = 0;
    for (auto end = report.find("\r\n"); end != std::string::npos;
         start = end + 2, end = report.find("\r\n", start))
        results_->Append(wxString::FromUTF8(report.substr(start, end - start)));
    FindWindow(saveOutputButton)->Enable();
    GetMenuBar()->Enable(edmid::saveReport, true);
}

void CEdmCalibDlg::compute() {
    buildRecords();
    if (edm_.computeCalibration() != 0) {
        message(edm_.error);
        return;
    }
    showResults();
}

// Yes saves first (and a save that wrote nothing stops the command), Cancel
// stops it, No goes on.
bool CEdmCalibDlg::askToSave() {
    if (!modified())
        return true;
    const int answer =
        wxMessageBox(saveQuestion, programCaption, wxYES_NO | wxCANCEL | wxICON_QUESTION, this);
    if (answer == wxCANCEL)
        return false;
    return answer != wxYES || saveFile();
}

void CEdmCalibDlg::newFile() {
    if (!askToSave())
        return;
    clearWindow();
    path_.clear();
    FindWindow(saveOutputButton)->Disable();
    GetMenuBar()->Enable(edmid::saveReport, false);
    setTitleFor(path_);
    adjustColumns();
    markUnmodified();
}

bool CEdmCalibDlg::exit() {
    if (!askToSave())
        return false;
    Hide();
    if (loop_ != nullptr)
        loop_->Exit();
    return true;
}

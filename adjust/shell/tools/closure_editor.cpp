#include "shell/tools/closure_editor.hpp"

#include "gridctrl/check_combo_cells.hpp"
#include "shell/tools/grid_row_commands.hpp"
#include "shell/work_area.hpp"
#include "shell/wx_shell.hpp"

#include <wx/artprov.h>
#include <wx/button.h>
#include <wx/settings.h>
#include <wx/sizer.h>
#include <wx/toolbar.h>

#include <algorithm>
#include <fcntl.h>
#include <unistd.h>

using namespace closureid;

namespace {

constexpr int pointListColumn = 1;
constexpr int verticalColumn = 2;
constexpr int angleColumn = 3;
constexpr int typeColumn = 4;

struct Column {
    const char* heading;
    int width_px;
};
constexpr Column columns[] = {{"", 45},
                              {"Ordered Traverse Point list", 320},
                              {"Vertical Closure", 85},
                              {"Angle Closure", 75},
                              {"Traverse Type", 140}};

const std::vector<std::string>& typeNames() {
    static const std::vector<std::string> names = {
        closureTypeName(loopInteriorRef), closureTypeName(loopExteriorRef),
        closureTypeName(pointToPoint), closureTypeName(gpsLoop)};
    return names;
}

int typeOf(const std::string& name) {
    const auto& names = typeNames();
    for (std::size_t i = 0; i < names.size(); ++i)
        if (names[i] == name)
            return static_cast<int>(i);
    return loopInteriorRef;
}

// Opens the file for reading and writing, creating it empty (readable and
// writable by its owner) when it is not there.
bool openOrCreate(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT, 0600);
    if (fd < 0)
        return false;
    ::close(fd);
    return true;
}

} // namespace

trvClose::trvClose(wxWindow* parent, const std::string& path)
    : wxDialog(parent, wxID_ANY, "Traverse Closure", wxDefaultPosition, wxDefaultSize,
               wxDEFAULT_DIALOG_STYLE | wxRESIZE_BORDER),
      path_(path) {
    layOut();
    readClosureFile();
    fitColumns();
    bindEditingButtons(
        *this, [this] { return writeClosureFile(); }, [this] { return mayClose(); });
    Bind(
        wxEVT_TOOL, [this](wxCommandEvent&) { deleteCurrentRow(); }, deleteRowTool);
    Bind(
        wxEVT_TOOL, [this](wxCommandEvent&) { appendDefinitionRow(); }, appendRowTool);
    followCurrentRow(*this, *grid_, [this](int row) { currentRow_ = row; });
}

void trvClose::layOut() {
    auto* tools = new wxToolBar(this, wxID_ANY, wxDefaultPosition, wxDefaultSize,
                                wxTB_HORIZONTAL | wxTB_FLAT);
    const wxBitmap remove = wxArtProvider::GetBitmap(wxART_DELETE, wxART_TOOLBAR);
    const wxBitmap append = wxArtProvider::GetBitmap(wxART_PLUS, wxART_TOOLBAR);
    tools->AddTool(deleteRowTool, "Delete Current Row", remove, remove.ConvertToDisabled(),
                   wxITEM_NORMAL, "Delete Current Row");
    tools->AddTool(appendRowTool, "Append New Row", append, append.ConvertToDisabled(),
                   wxITEM_NORMAL, "Append New Row");
    tools->Realize();

    grid_ = new gridctrl::CGridCtrl(1, 5, 1, 1);
    grid_->options().fixedColumnClickSelectsRows = true;
    grid_->options().fixedRowClickSelectsColumns = true;
    grid_->options().columnsMayHide = true;
    grid_->Create(this, closureid::grid, wxDefaultPosition, FromDIP(wxSize(700, 220)));
    for (int col = 0; col < 5; ++col) {
        grid_->SetCellText(0, col, columns[col].heading);
        grid_->SetColumnWidth(col, columns[col].width_px);
    }

    auto* ok = new wxButton(this, wxID_OK, "OK");
    auto* buttons = new wxBoxSizer(wxHORIZONTAL);
    buttons->Add(ok);
    buttons->Add(new wxButton(this, wxID_CANCEL, "Exit"), wxSizerFlags().Border(wxLEFT, 8));
    auto* column = new wxBoxSizer(wxVERTICAL);
    column->Add(tools, wxSizerFlags().Expand());
    column->Add(grid_, wxSizerFlags(1).Expand().Border(wxALL, 6));
    column->Add(buttons, wxSizerFlags().Right().Border(wxALL, 6));
    SetSizer(column);
    ok->SetDefault();
}

// The rows read decide the widths: every column, the traverse types' whole
// list of choices included, is in view without scrolling sideways.
void trvClose::fitColumns() {
    widenColumnsToCells(*grid_);
    const int scrollBar = wxSystemSettings::GetMetric(wxSYS_VSCROLL_X, grid_);
    const int border = grid_->GetSize().x - grid_->GetClientSize().x;
    grid_->SetMinSize(wxSize(grid_->GetTotalWidth() + scrollBar + border, grid_->GetSize().y));
    GetSizer()->SetSizeHints(this);
    keepInsideWorkArea(*this);
}

void trvClose::message(const std::string& text) {
    WxShell(this).message(text, MessageKind::ok);
}

void trvClose::readClosureFile() {
    std::vector<ClosureDefinition> read;
    std::vector<std::string> errors;
    if (!openOrCreate(path_) || !readClosureDefinitions(path_, read, errors))
        message("Error opening " + path_);
    for (const std::string& error : errors)
        message(error);
    for (const ClosureDefinition& definition : read)
        appendRow(definition);
    SetTitle(wxString::FromUTF8("Traverse Closure File: " + path_));
    if (read.empty())
        appendDefinitionRow();
    grid_->SetModified(false);
    asRead_ = definitions();
}

bool trvClose::edited() const {
    return definitions() != asRead_;
}

// Without edits nothing is asked.
bool trvClose::mayClose() {
    return !edited() || mayDropEdits(this, path_, [this] { return writeClosureFile(); });
}

void trvClose::appendRow(const ClosureDefinition& definition) {
    const int row = grid_->InsertRow(std::to_string(grid_->GetRowCount()));
    grid_->SetCellText(row, pointListColumn, definition.pointList);
    for (const auto& [col, on] : {std::pair{verticalColumn, definition.settings.vertClosure},
                                  std::pair{angleColumn, definition.settings.angClosure}}) {
        grid_->SetCellType(row, col, gridctrl::cellClass<gridctrl::CGridCellCheck>());
        static_cast<gridctrl::CGridCellCheck*>(grid_->GetCell(row, col))->SetCheck(on != 0);
    }
    grid_->SetCellType(row, typeColumn, gridctrl::cellClass<gridctrl::CGridCellCombo>());
    auto* combo = static_cast<gridctrl::CGridCellCombo*>(grid_->GetCell(row, typeColumn));
    combo->SetOptions(typeNames());
    combo->SetStyle(gridctrl::CBS_DROPDOWNLIST);
    grid_->SetCellText(row, typeColumn, closureTypeName(definition.settings.travType));
}

void trvClose::appendDefinitionRow() {
    appendRow({"", {1, 1, loopInteriorRef}});
    grid_->Refresh();
    grid_->Update();
}

void trvClose::deleteCurrentRow() {
    const GridRowSpan rows = rowsToDelete(*grid_, currentRow_);
    if (rows.empty())
        return;
    for (int row = rows.last; row >= rows.first; --row)
        grid_->DeleteRow(row);
    currentRow_ = std::min(rows.first, grid_->GetRowCount() - 1);
    for (int row = std::max(currentRow_, 1); row < grid_->GetRowCount(); ++row)
        grid_->SetCellText(row, 0, std::to_string(row));
    grid_->Refresh();
}

std::vector<ClosureDefinition> trvClose::definitions() const {
    std::vector<ClosureDefinition> rows;
    for (int row = 1; row < grid_->GetRowCount(); ++row) {
        const auto checked = [this, row](int col) {
            const auto* cell =
                dynamic_cast<const gridctrl::CGridCellCheck*>(grid_->GetCell(row, col));
            return cell != nullptr && cell->GetCheck() ? 1 : 0;
        };
        ClosureDefinition d;
        d.pointList = grid_->GetCellText(row, pointListColumn);
        d.settings.vertClosure = checked(verticalColumn);
        d.settings.angClosure = checked(angleColumn);
        d.settings.travType = typeOf(grid_->GetCellText(row, typeColumn));
        rows.push_back(d);
    }
    return rows;
}

bool trvClose::writeClosureFile() {
    std::string error;
    if (::writeClosureFile(path_, definitions(), error))
        return true;
    message("Error opening " + path_ + "\n" + error);
    return false;
}

void runClosureEditor(wxWindow* parent, const std::string& path) {
    trvClose editor(parent, path);
    editor.ShowModal();
}

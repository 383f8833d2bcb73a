#pragma once
// The closure definition editor: a closure file (.cls) as a grid, one row
// per traverse or GPS loop: its ordered point list, whether vertical and
// angular closures are wanted, and its closure type. OK writes the rows
// whose point list is not empty back to the file, by a temporary file
// renamed over it; Exit leaves the file as it was, after asking whether to
// save when the rows were edited.

#include "gridctrl/grid_ctrl.hpp"
#include "input/closure_file.hpp"

#include <string>
#include <vector>
#include <wx/dialog.h>

namespace closureid {
enum Control : int {
    grid = 1229,
    deleteRowTool = 2150,
    appendRowTool = 2151,
};
} // namespace closureid

class trvClose : public wxDialog {
public:
    // Reads the file (creating it empty, readable and writable by its owner,
    // when it does not exist).
    trvClose(wxWindow* parent, const std::string& path);

    gridctrl::CGridCtrl& grid() { return *grid_; }
    int currentRow() const { return currentRow_; }
    void setCurrentRow(int row) { currentRow_ = row; }

    void appendDefinitionRow();
    void deleteCurrentRow();
    // The rows as definitions, in grid order.
    std::vector<ClosureDefinition> definitions() const;
    // Writes the file; false, with the message shown, when it could not be
    // written (the dialog then stays open and the file is as it was).
    bool writeClosureFile();
    // Whether the rows differ from those the file gave.
    bool edited() const;

private:
    void layOut();
    void readClosureFile();
    void fitColumns();
    void appendRow(const ClosureDefinition& definition);
    void message(const std::string& text);
    bool mayClose();

    std::string path_;
    std::vector<ClosureDefinition> asRead_;
    gridctrl::CGridCtrl* grid_ = nullptr;
    int currentRow_ = 0;
};

// Runs the editor modally on `path`.
void runClosureEditor(wxWindow* parent, const std::string& path);

#pragma once
// The modal "Convert Level File" dialog: a digital level's data file into
// the system's differential level file (.LEV).

#include <string>
#include <wx/dialog.h>

class FileConverters;

namespace levelconvertid {
enum Control : int {
    dialog = 166,
    inputEdit = 1026,
    inputSelect = 1055,
    formatList = 1058,
    outputEdit = 1009,
    outputSelect = 1054,
    convertButton = 1041,
};
} // namespace levelconvertid

class cnvrtLev : public wxDialog {
public:
    cnvrtLev(wxWindow* parent, FileConverters& converters);

    void OnConvert();

private:
    void layOut();
    void selectInput();
    void selectOutput();
    std::string text(int id) const;
    void message(const std::string& text);

    FileConverters& converters_;
};

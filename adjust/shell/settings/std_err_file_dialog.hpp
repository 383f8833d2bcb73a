#pragma once
// "Standard Errors": edits one standard-error file (.sef) outside any
// project, always in seconds of arc. The caller sets the path (empty for a
// new file), shows the dialog and on OK writes `toRecord`'s record.

#include "model/settings/std_err_record.hpp"

#include <string>
#include <wx/dialog.h>

class CDlgStdErrDef : public wxDialog {
public:
    // `sefPath` empty: the built-in values and the plain caption; otherwise
    // the file's values (the built-in ones where it does not exist yet or
    // cannot be read) and the caption "Standard Errors: " with the path.
    CDlgStdErrDef(wxWindow* parent, const std::string& sefPath);

    // The values shown, into `record`'s fields; and the reverse. 0.
    int toRecord(stdErrRec& record) const;
    int fromRecord(const stdErrRec& record);

    // OK: the edits into the values; false, with the user told, when one
    // holds no number.
    bool takeValues();

private:
    stdErrRec values_;
};

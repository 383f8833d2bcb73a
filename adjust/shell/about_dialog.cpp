#include "shell/about_dialog.hpp"

#include "shell/command_ids.hpp"
#include "shell/program_icon.hpp"

#include <wx/button.h>
#include <wx/sizer.h>
#include <wx/statbmp.h>
#include <wx/stattext.h>

namespace {

constexpr int productFontPoints = 18;
constexpr int iconSize = 32;

} // namespace

std::string fileVersionText() {
    return TARNWELL_FILE_VERSION;
}

CAboutDlg::CAboutDlg(wxWindow* parent) : wxDialog(parent, shellid::aboutDialog, "About Tarnwell") {
    auto* icon = new wxStaticBitmap(this, wxID_ANY, programIconBitmap(iconSize));
    auto* product = new wxStaticText(this, shellid::productLine, "Tarnwell 6");
    // A serif face stands in where Times New Roman is not installed.
    product->SetFont(wxFontInfo(productFontPoints)
                         .Family(wxFONTFAMILY_ROMAN)
                         .FaceName("Times New Roman")
                         .Bold());
    auto* build = new wxStaticText(this, shellid::buildLine,
                                   wxString::Format("(Build %s)", fileVersionText()));
    auto* ok = new wxButton(this, wxID_OK, "OK");

    auto* lines = new wxBoxSizer(wxVERTICAL);
    lines->Add(product);
    lines->Add(build, wxSizerFlags().Border(wxTOP, 6));
    auto* top = new wxBoxSizer(wxHORIZONTAL);
    top->Add(icon, wxSizerFlags().Border(wxRIGHT, 12));
    top->Add(lines, wxSizerFlags(1));
    top->Add(ok, wxSizerFlags().Border(wxLEFT, 12));
    auto* outer = new wxBoxSizer(wxVERTICAL);
    outer->Add(top, wxSizerFlags().Expand().Border(wxALL, 12));
    SetSizerAndFit(outer);
    ok->SetDefault();
    CentreOnParent();
}

#include "shell/report_printing.hpp"

#include "platform/private_temporary_folder.hpp"
#include "shell/print_spooler.hpp"

#include <wx/dc.h>
#include <wx/generic/printps.h>
#include <wx/paper.h>
#include <wx/print.h>
#include <wx/utils.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <langinfo.h>
#include <limits>
#include <unistd.h>

namespace {

constexpr int pointsPerInch = 72;
constexpr int fontPoints = 10;
constexpr std::size_t documentNameLength = 19;

// Draws the lines page by page. The DC is scaled so that its logical units
// are screen pixels of the printed size: a 10-point font then prints 10
// points high whatever the printer's resolution.
class ReportPrintout : public wxPrintout {
public:
    ReportPrintout(const std::string& title, std::vector<std::string> lines)
        : wxPrintout(wxString::From8BitData(title.c_str())), lines_(std::move(lines)) {}

    void OnPreparePrinting() override {
        wxDC* dc = GetDC();
        scaleToScreenPixels(*dc);
        const wxSize extent = dc->GetTextExtent("CC");
        int width = 0;
        int height = 0;
        dc->GetSize(&width, &height);
        pages_ = linesPerPage(static_cast<int>(lines_.size()), extent.y,
                              dc->DeviceToLogicalYRel(height));
        lineHeight_ = extent.y;
    }

    void GetPageInfo(int* minPage, int* maxPage, int* fromPage, int* toPage) override {
        *minPage = *fromPage = 1;
        *maxPage = *toPage = static_cast<int>(pages_.size());
    }

    bool HasPage(int page) override { return page >= 1 && page <= static_cast<int>(pages_.size()); }

    bool OnPrintPage(int page) override {
        wxDC* dc = GetDC();
        scaleToScreenPixels(*dc);
        int first = 0;
        for (int p = 1; p < page; ++p)
            first += pages_[static_cast<std::size_t>(p - 1)];
        const int count = pages_[static_cast<std::size_t>(page - 1)];
        for (int i = 0; i < count; ++i)
            dc->DrawText(
                wxString::From8BitData(lines_[static_cast<std::size_t>(first + i)].c_str()), 0,
                i * lineHeight_);
        return true;
    }

private:
    void scaleToScreenPixels(wxDC& dc) const {
        int printerX = 0;
        int printerY = 0;
        GetPPIPrinter(&printerX, &printerY);
        const wxSize screen = wxGetDisplayPPI();
        dc.SetUserScale(static_cast<double>(printerX) / screen.x,
                        static_cast<double>(printerY) / screen.y);
        dc.SetFont(wxFont(wxFontInfo(fontPoints).Family(wxFONTFAMILY_TELETYPE)));
    }

    std::vector<std::string> lines_;
    std::vector<int> pages_;
    int lineHeight_ = 1;
};

// The paper of the user's locale (LC_PAPER).
wxPaperSize localePaper() {
    const auto millimetres = [](nl_item item) {
        return static_cast<int>(reinterpret_cast<std::intptr_t>(nl_langinfo(item)));
    };
    return paperOfSize(millimetres(_NL_PAPER_WIDTH), millimetres(_NL_PAPER_HEIGHT));
}

// A name for the job's PostScript file in the user's own temporary folder.
std::optional<std::filesystem::path> jobFile(std::string& error) {
    const auto folder = platform::privateTemporaryFolder(error);
    if (!folder)
        return std::nullopt;
    return *folder / ("print-" + std::to_string(::getpid()) + ".ps");
}

} // namespace

std::vector<int> linesPerPage(int lineCount, int lineHeight, int pageHeight) {
    std::vector<int> pages;
    const int height = std::max(lineHeight, 1);
    int y = 0;
    for (int line = 0; line < lineCount; ++line) {
        if (pages.empty() || (y > 0 && y + height > pageHeight)) {
            pages.push_back(0);
            y = 0;
        }
        ++pages.back();
        y += height;
    }
    return pages;
}

wxPaperSize paperOfSize(int widthMm, int heightMm) {
    const wxPaperSize found = wxThePrintPaperDatabase->GetSize(wxSize(widthMm * 10, heightMm * 10));
    return found == wxPAPER_NONE ? wxPAPER_A4 : found;
}

std::string printDocumentName(const std::string& name) {
    return "Lst. Sqr. - " + name.substr(0, documentNameLength);
}

std::optional<std::string> printReportLines(wxWindow* parent, const std::string& name,
                                            std::vector<std::string> lines) {
    if (lines.empty())
        return std::nullopt;
    std::string error;
    const auto file = jobFile(error);
    if (!file)
        return "Nothing was printed: " + error;
    const std::string title = printDocumentName(name);

    wxPrintData data;
    data.SetPrintMode(wxPRINT_MODE_FILE);
    data.SetPaperId(localePaper());
    data.SetFilename(wxString::FromUTF8(file->string()));
    wxPrintDialogData dialogData(data);
    // Every page: the printer cuts the range down to the printout's last page.
    dialogData.SetFromPage(1);
    dialogData.SetToPage(std::numeric_limits<int>::max());
    ReportPrintout printout(title, std::move(lines));
    bool drawn = false;
    {
        wxWindowDisabler everyWindow;
        wxPostScriptPrinter printer(&dialogData);
        drawn = printer.Print(parent, &printout, false);
    }
    std::optional<std::string> failure;
    if (!drawn)
        failure = wxPrinter::GetLastError() == wxPRINTER_CANCELLED
                      ? std::nullopt
                      : std::optional<std::string>("Nothing was printed: the pages could not be "
                                                   "written to " +
                                                   file->string() + ".");
    else
        failure = sendToDefaultPrinter(*file, title);
    std::error_code ec;
    std::filesystem::remove(*file, ec);
    return failure;
}

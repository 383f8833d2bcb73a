// The desktop program's tests run in one process with one wxWidgets
// application (the program's own), started once before the first test.
// Any assertion of the toolkit fails the running test; a modal dialog that
// the test did not expect is refused and fails it too, so a test can never
// wait for a user.

#include "gui_test_support.hpp"
#include "shell/application.hpp"

#include <gtest/gtest.h>
#include <wx/image.h>
#include <wx/modalhook.h>

#include <cstdio>
#include <cstdlib>

namespace {

void failOnAssert(const wxString& file, int line, const wxString& function, const wxString& cond,
                  const wxString& message) {
    ADD_FAILURE_AT(file.utf8_str(), line)
        << "wxWidgets assertion in " << function.utf8_string() << ": " << cond.utf8_string() << " "
        << message.utf8_string();
}

class RefuseUnexpectedDialogs : public wxModalDialogHook {
protected:
    int Enter(wxDialog* dialog) override {
        if (guitest::realDialogsAllowed())
            return wxID_NONE;
        ADD_FAILURE() << "unexpected modal dialog \"" << dialog->GetTitle().utf8_string() << "\"";
        return wxID_CANCEL;
    }
    void Exit(wxDialog*) override {}
};

} // namespace

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    setenv("NO_AT_BRIDGE", "1", 0);
    setenv("GDK_BACKEND", "x11", 0);
    wxSetAssertHandler(failOnAssert);
    wxApp::SetInstance(new CZezadarApp);
    int wxArgc = 1;
    char* wxArgv[] = {argv[0], nullptr};
    if (!wxEntryStart(wxArgc, wxArgv)) {
        std::fprintf(stderr, "test_shell: no X display (run it under xvfb-run)\n");
        return 1;
    }
    wxImage::AddHandler(new wxPNGHandler);
    RefuseUnexpectedDialogs refuse;
    refuse.Register();
    const int result = RUN_ALL_TESTS();
    refuse.Unregister();
    wxEntryCleanup();
    return result;
}

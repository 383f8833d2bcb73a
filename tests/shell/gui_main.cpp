// The desktop program's tests run in one process with one wxWidgets
// application (the program's own), started once before the first test.
// Any assertion of the toolkit, and any warning or critical message of GTK
// and the libraries under it, fails the running test; a modal dialog that
// the test did not expect is refused and fails it too, so a test can never
// wait for a user.

#include "gui_test_support.hpp"
#include "shell/application.hpp"

#include <gtest/gtest.h>
#include <wx/image.h>
#include <wx/modalhook.h>

#include <glib.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

void failOnAssert(const wxString& file, int line, const wxString& function, const wxString& cond,
                  const wxString& message) {
    ADD_FAILURE_AT(file.utf8_str(), line)
        << "wxWidgets assertion in " << function.utf8_string() << ": " << cond.utf8_string() << " "
        << message.utf8_string();
}

// A GTK warning means a window was given a size or state it cannot have;
// it is printed as usual and fails the test that caused it. GTK logs through
// GLib's structured log, so the writer is the one place that sees it all.
const char* logField(const GLogField* fields, gsize count, const char* key) {
    for (gsize i = 0; i < count; ++i)
        if (std::strcmp(fields[i].key, key) == 0 && fields[i].length < 0)
            return static_cast<const char*>(fields[i].value);
    return "";
}

// A list a test drops down itself has no user's click behind it; GTK says
// so, and that is the test's doing, not the window's.
bool causedByTheTestsOwnInput(const char* message) {
    return std::strcmp(message, "no trigger event for menu popup") == 0;
}

GLogWriterOutput failOnToolkitWarning(GLogLevelFlags level, const GLogField* fields, gsize count,
                                      gpointer) {
    if ((level & (G_LOG_LEVEL_WARNING | G_LOG_LEVEL_CRITICAL)) != 0 &&
        !causedByTheTestsOwnInput(logField(fields, count, "MESSAGE")))
        ADD_FAILURE() << logField(fields, count, "GLIB_DOMAIN") << ": "
                      << logField(fields, count, "MESSAGE");
    return g_log_writer_default(level, fields, count, nullptr);
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
    g_log_set_writer_func(failOnToolkitWarning, nullptr, nullptr);
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

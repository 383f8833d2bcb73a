#pragma once
// The main of a benchmark that draws with the toolkit: the toolkit is started
// (it needs a display: run such a benchmark under xvfb-run), the benchmarks
// run, the toolkit is shut down.

#include <benchmark/benchmark.h>
#include <wx/app.h>

#include <cstdio>

inline int runWithToolkit(int argc, char** argv, const char* name) {
    benchmark::Initialize(&argc, argv);
    int wxArgc = 1;
    char* wxArgv[] = {argv[0], nullptr};
    wxApp::SetInstance(new wxApp);
    if (!wxEntryStart(wxArgc, wxArgv)) {
        std::fprintf(stderr, "%s: no display (run it under xvfb-run)\n", name);
        return 1;
    }
    wxTheApp->CallOnInit();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    wxEntryCleanup();
    return 0;
}

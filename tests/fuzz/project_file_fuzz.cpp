// The project file reader: any bytes read as a project give settings within
// their ranges and lists of codes (every value taken passes the checks that
// refuse the others), refusals of bounded length that never hold a raw
// control byte, and never a crash.

#include "fuzz_input.hpp"
#include "model/settings/global_vars.hpp"
#include "model/settings/setting_ranges.hpp"
#include "platform/record_fields.hpp"

#include <cstdlib>

namespace {

bool readableRefusal(const std::string& refusal, const std::string& path) {
    // The path, the key, the value's excerpt (a control byte shown as
    // "<0x16>" takes six characters) and the reason.
    constexpr std::size_t shownBytePerByte = 6;
    const std::size_t longest = path.size() + shownBytePerByte * platform::excerptBytes + 300;
    if (refusal.size() > longest)
        return false;
    for (const char c : refusal)
        if (static_cast<unsigned char>(c) < 0x20)
            return false;
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const fuzzinput::InputFile file(fuzzinput::textOf(data, size), "input.prj");
    globalVars settings;
    std::vector<std::string> refusals;
    settings.readProjectFile(file.path(), refusals);
    globalVars checked = settings;
    if (!restoreSettingsOutOfRange(checked, globalVars()).empty())
        std::abort();
    for (const std::string& refusal : refusals)
        if (!readableRefusal(refusal, file.path()))
            std::abort();
    return 0;
}

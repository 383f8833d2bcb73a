#include "platform/program_folder.hpp"

#include <filesystem>
#include <system_error>

namespace platform {

std::string programFolder() {
    std::error_code ec;
    const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::filesystem::current_path().string() : exe.parent_path().string();
}

} // namespace platform

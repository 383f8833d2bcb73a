#include "ptbank/crd_file_type.hpp"

#include "ptbank/crd_text.hpp"

#include "platform/paths.hpp"

#include <cstring>
#include <filesystem>
#include <fstream>
#include <unistd.h>
#include <vector>

namespace ptbank {
namespace {

std::string extensionOf(std::string_view path) {
    std::string extension;
    splitPath(path, nullptr, nullptr, &extension);
    return extension;
}

bool hasExtension(std::string_view path, std::string_view dotted) {
    return platform::equalsIgnoringCase(extensionOf(path), dotted);
}

// The path with its extension replaced (the dotted extension given).
std::string withExtension(std::string_view path, std::string_view dotted) {
    std::string folder;
    std::string name;
    splitPath(path, &folder, &name, nullptr);
    return folder + name + std::string(dotted);
}

// The first `count` bytes of the file, or fewer when it is shorter.
std::vector<char> leadingBytes(const std::string& path, std::size_t count) {
    std::vector<char> bytes(count);
    std::ifstream in(path, std::ios::binary);
    in.read(bytes.data(), static_cast<std::streamsize>(count));
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    return bytes;
}

bool companionExists(const std::string& path) {
    return platform::findFileIgnoringCase(path).has_value();
}

// Indexed files: a leading 'a' and a run of 'X' bytes in the header. Returns
// the type, -2 for a recognised file without its index, 0 for "not indexed".
int indexedFileType(const std::string& path) {
    const bool vkc = hasExtension(path, ".vkc");
    if (!vkc && !hasExtension(path, ".crd"))
        return 0;
    const bool indexPresent = companionExists(withExtension(path, vkc ? ".vki" : ".idx"));
    const std::vector<char> head = leadingBytes(path, 250);
    if (head.size() < 250 || head[0] != 'a')
        return 0;
    for (std::size_t i = 50; i <= 248; ++i) {
        if (head[i] != 'X' || head[i + 1] != 'X')
            continue;
        int type = 0;
        if (!vkc)
            type = crd_type::vkNumeric;
        else if (i + 2 < head.size() && head[i + 2] == 'X')
            type = crd_type::vkAlphanumeric;
        if (type != 0)
            return indexPresent ? type : crd_type::unrecognised;
    }
    return 0;
}

bool hasAlphanumericMarker(const std::string& path) {
    const std::vector<char> head = leadingBytes(path, 104);
    if (head.size() < 104)
        return false;
    const char* marker = head.data() + 72;
    const std::size_t length = strnlen(marker, head.size() - 72);
    return length > 5 && std::string_view(marker, length).starts_with("New CRD Format");
}

} // namespace

int detectCrdType(const std::string& path) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec) || std::filesystem::file_size(path, ec) == 0 ||
        ec || ::access(path.c_str(), R_OK) != 0)
        return crd_type::unknown;
    if (hasExtension(path, ".mdb"))
        return crd_type::landDesktop;
    if (hasExtension(path, ".zak"))
        return crd_type::plainview;
    if (const int indexed = indexedFileType(path); indexed != 0)
        return indexed;
    if (hasExtension(path, ".crd"))
        return hasAlphanumericMarker(path) ? crd_type::alphanumeric : crd_type::numeric;
    return crd_type::unrecognised;
}

int crdTypeByExtension(std::string_view path) {
    const int preferred = defaultCrdType();
    if (path.empty())
        return preferred;
    if (hasExtension(path, ".crd"))
        return (preferred == crd_type::numeric || preferred == crd_type::alphanumeric ||
                preferred == crd_type::vkNumeric)
                   ? preferred
                   : crd_type::vkNumeric;
    if (hasExtension(path, ".vkc"))
        return crd_type::vkAlphanumeric;
    if (hasExtension(path, ".mdb"))
        return crd_type::landDesktop;
    if (hasExtension(path, ".zak"))
        return crd_type::plainview;
    if (hasExtension(path, ".dwg"))
        return crd_type::civil3d;
    return crd_type::unknown;
}

std::string makeTempCrdPath(std::string_view path, int type) {
    std::string folder;
    std::string name;
    splitPath(path, &folder, &name, nullptr);
    const std::string extension = crdTypeExtension(type);
    return folder + name + "_." + (extension.empty() ? std::string("crd") : extension);
}

} // namespace ptbank

#include "text_exchange.hpp"

#include "ptbank/crd_text.hpp"
#include "ptbank/crd_ui_provider.hpp"
#include "ptbank/vk_crd_handles.hpp"

#include <cstring>
#include <filesystem>
#include <map>

namespace ptbank {
namespace {

const std::map<int, std::string>& messageTexts() {
    static const std::map<int, std::string> texts = {
        {exchange_message::openFailed, "ERROR opening file:\n%1"},
        {exchange_message::inputEmpty, "Input file is EMPTY"},
        {exchange_message::inputOpenFailed, "ERROR opening input file:\n%1"},
        {exchange_message::writeFailed, "ERROR writing points."},
    };
    return texts;
}

std::string filledIn(std::string text, const std::string& path) {
    if (const auto at = text.find("%1"); at != std::string::npos)
        text.replace(at, 2, path);
    return text;
}

template <std::size_t N> void trimField(char (&field)[N]) {
    const std::string trimmed = trimmedText(std::string_view(field, strnlen(field, N)));
    std::memset(field, 0, N);
    std::memcpy(field, trimmed.data(), trimmed.size());
}

} // namespace

crdShortPointRec trimmedShortPoint(const crdPointRec& point) {
    crdPointRec trimmed = point;
    trimField(trimmed.name);
    trimField(trimmed.code);
    trimField(trimmed.description);
    crdShortPointRec shortPoint;
    toShortPointRec(trimmed, shortPoint);
    return shortPoint;
}

bool openExchangeFile(const std::string& path, bool createWhenMissing) {
    CfInfoStruct& info = defaultCfInfo();
    cfReset(info);
    std::error_code ec;
    const bool exists = std::filesystem::exists(path, ec);
    if (!exists && !createWhenMissing)
        return false;
    splitPath(path, &info.directory, &info.name, &info.extension);
    return cfOpen(exists ? 0 : 1, info) == cf_result::ok;
}

int finishTextExchange(const std::string& title, int message, const std::string& path) {
    if (message != exchange_message::none)
        crdUi().message(filledIn(messageTexts().at(message), path), title, CrdMessageIcon::stop);
    cfReset(defaultCfInfo());
    return message == exchange_message::none ? 1 : 0;
}

} // namespace ptbank

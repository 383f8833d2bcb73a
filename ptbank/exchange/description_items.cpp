#include "ptbank/crd_text.hpp"
#include "ptbank/vk_crd_api.h"

#include <algorithm>
#include <cstring>
#include <string>

namespace {

constexpr int removeTokens = -3;
constexpr int blankUnderscores = -2;
constexpr int removeTokensAndBlankUnderscores = -4;

// Line-work marks of the field codes, removed in this order.
constexpr const char* lineWorkTokens[] = {"BL*", "EL*", "CL*", "PC*", "OC*",
                                          "PT*", "RP*", "CF*", "CC*", "RC*"};
constexpr std::size_t tokenLength = 3;

void removeLineWorkTokens(char* description) {
    std::string text(description);
    std::string upper = ptbank::upperCased(text);
    for (const char* token : lineWorkTokens) {
        for (auto at = upper.find(token); at != std::string::npos; at = upper.find(token)) {
            text.erase(at, tokenLength);
            upper.erase(at, tokenLength);
        }
    }
    const std::string trimmed = ptbank::trimmedText(text);
    std::memcpy(description, trimmed.c_str(), trimmed.size() + 1);
}

void blankOutUnderscores(char* description) {
    std::replace(description, description + std::strlen(description), '_', ' ');
}

} // namespace

extern "C" void VkCrdApi_removeDescItems(char* description, int mode) {
    if (description == nullptr)
        return;
    if (mode == removeTokens || mode == removeTokensAndBlankUnderscores)
        removeLineWorkTokens(description);
    if (mode == blankUnderscores || mode == removeTokensAndBlankUnderscores)
        blankOutUnderscores(description);
}

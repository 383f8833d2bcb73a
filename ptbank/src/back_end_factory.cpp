#include "src/back_end_factory.hpp"

#include "formats/crd_draftline.hpp"
#include "formats/crd_io_foreign.hpp"
#include "formats/crd_io_vk.hpp"
#include "ptbank/crd_file_type.hpp"

namespace ptbank {

std::unique_ptr<CrdIO> makeCrdBackEnd(int type) {
    switch (type) {
    case crd_type::numeric:
    case crd_type::alphanumeric:
        return std::make_unique<CrdIODraftline>();
    case crd_type::vkAlphanumeric:
    case crd_type::vkNumeric:
        return std::make_unique<CrdIoVk>();
    case crd_type::plainview:
        return std::make_unique<CrdIOZak>();
    case crd_type::landDesktop:
        return std::make_unique<CrdIOLdd>();
    default:
        // The memory type and .dwg never have a back-end.
        return nullptr;
    }
}

} // namespace ptbank

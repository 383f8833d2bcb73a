#include "src/back_end_factory.hpp"

#include "formats/crd_draftline.hpp"
#include "ptbank/crd_file_type.hpp"

namespace ptbank {

std::unique_ptr<CrdIO> makeCrdBackEnd(int type) {
    switch (type) {
    case crd_type::numeric:
    case crd_type::alphanumeric:
        return std::make_unique<CrdIODraftline>();
    default:
        // The indexed and foreign-database formats join here when their
        // back-ends exist; the memory type and .dwg never have one.
        return nullptr;
    }
}

} // namespace ptbank

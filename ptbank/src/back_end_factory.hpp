#pragma once
// Makes the back-end of a coordinate-file type; none for a type whose
// format cannot be opened here.

#include "ptbank/crd_io.hpp"

#include <memory>

namespace ptbank {

std::unique_ptr<CrdIO> makeCrdBackEnd(int type);

} // namespace ptbank

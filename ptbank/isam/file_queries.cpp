// What an open file says about its own shape, for callers that must check a
// file against the layout they expect before they read it.

#include "isam/engine_state.hpp"

namespace ptbank {

using namespace isam;

int isamRecordLength(int fileNo) {
    isamError = 0;
    FileUse use(fileNo);
    if (use.code() != 0)
        return -fail(use.code());
    if (use.block().header.isIndex())
        return -fail(isamErr::wrongFileKind);
    return use.block().header.recordLength;
}

int isamKeyLength(int fileNo) {
    isamError = 0;
    FileUse use(fileNo);
    if (use.code() != 0)
        return -fail(use.code());
    if (!use.block().header.isIndex())
        return -fail(isamErr::wrongFileKind);
    return use.block().header.keyLength;
}

} // namespace ptbank

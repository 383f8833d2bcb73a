#include "ptbank/vault_calls.hpp"

namespace ptbank {

VaultCalls& vaultCalls() {
    static VaultCalls calls;
    return calls;
}

void resetVaultCalls() {
    vaultCalls() = VaultCalls{};
}

} // namespace ptbank

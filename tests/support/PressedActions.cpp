#include "tests/support/PressedActions.h"

#include "framework/Identifiers.h"

namespace corvane::testing {

HRESULT PressedActions::QueryInterface(const UUID& iid, void** out) {
    if (iid != IID_IActionInput)
        return E_FAIL;
    *out = static_cast<IActionInput*>(this);
    return S_OK;
}

} // namespace corvane::testing

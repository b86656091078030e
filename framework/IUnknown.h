#pragma once

#include <cstdint>

#include "framework/UUID.h"

namespace corvane {

using HRESULT = std::int32_t;

inline constexpr HRESULT S_OK = 0;
inline constexpr HRESULT E_FAIL = static_cast<HRESULT>(0x80004005u);

// The first three slots of every COM-style interface. All interfaces of one plug-in
// object share one counter and one QueryInterface; the counter never frees the object,
// which lives as long as its library.
class IUnknown {
public:
    // Slot 0: on an answered id stores the interface in *out, adds a reference, returns
    // S_OK; otherwise returns E_FAIL and leaves *out as it was.
    virtual HRESULT QueryInterface(const UUID& iid, void** out) = 0;
    // Slot 1: adds one to the shared counter; returns the new value.
    virtual std::int32_t AddRef() = 0;
    // Slot 2: subtracts one from the shared counter (also below zero); returns the new value.
    virtual std::int32_t Release() = 0;

protected:
    ~IUnknown() = default;
};

} // namespace corvane

#include "tests/viewer/FakeOverlay.h"

#include "framework/Identifiers.h"

namespace corvane::testing {

FakeOverlay::FakeOverlay(std::string name, std::vector<std::string>& log,
                         std::set<std::string> missing)
    : name(std::move(name)), log(log), missing(std::move(missing)) {}

FakeOverlay::~FakeOverlay() = default;

HRESULT FakeOverlay::QueryInterface(const UUID& iid, void** out) {
    if (iid != IID_IGuiOverlay)
        return E_FAIL;
    *out = static_cast<IGuiOverlay*>(this);
    return S_OK;
}

IGuiElement* FakeOverlay::getElement(const std::string& element) {
    if (missing.count(element) != 0)
        return nullptr;
    return &elements.try_emplace(element, name + ":" + element, log).first->second;
}

std::string FakeOverlay::text(const std::string& element) {
    const auto entry = elements.find(element);
    return entry != elements.end() ? entry->second.getText() : std::string();
}

FakeOverlay::Element::Element(std::string label, std::vector<std::string>& log)
    : label(std::move(label)), log(log) {}

FakeOverlay::Element::~Element() = default;

void FakeOverlay::Element::setText(const std::string& text) {
    current = text;
    log.push_back(label + "=" + text);
}

} // namespace corvane::testing

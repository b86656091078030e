#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

#include "framework/IGuiElement.h"
#include "framework/IGuiOverlay.h"

namespace corvane::testing {

// An overlay service for the statistics display: every text set on one of its elements is
// logged as "<service>:<element>=<text>", and the last text of each element is kept.
class FakeOverlay : public IGuiOverlay {
public:
    FakeOverlay(std::string name, std::vector<std::string>& log,
                std::set<std::string> missing = {});
    virtual ~FakeOverlay();

    HRESULT QueryInterface(const UUID& iid, void** out) override;
    std::int32_t AddRef() override { return 1; }
    std::int32_t Release() override { return 1; }
    // Null for the elements named missing.
    IGuiElement* getElement(const std::string& element) override;
    void notifyPaused() override {}
    void notifyResumed() override {}

    // The last text set on the element; empty when none was.
    std::string text(const std::string& element);

private:
    class Element : public IGuiElement {
    public:
        Element(std::string label, std::vector<std::string>& log);
        virtual ~Element();
        HRESULT QueryInterface(const UUID&, void**) override { return E_FAIL; }
        std::int32_t AddRef() override { return 1; }
        std::int32_t Release() override { return 1; }
        void setText(const std::string& text) override;
        std::string getText() override { return current; }
        bool wasClicked() override { return false; }
        void show() override {}
        void hide() override {}
        bool wasCloseClicked() override { return false; }
        bool isVisible() override { return true; }
        void setPosition(float, float) override {}
        void setSize(float, float) override {}
        void setInteractive(std::uint32_t) override {}

    private:
        std::string label;
        std::vector<std::string>& log;
        std::string current;
    };

    std::string name;
    std::vector<std::string>& log;
    std::set<std::string> missing;
    std::map<std::string, Element> elements;
};

} // namespace corvane::testing

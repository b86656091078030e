#pragma once

#include <string>

namespace corvane {

// The elements the overlay service offers, by name, and what each one is.
class ElementCatalog {
public:
    enum Kind { NONE, TEXT, BUTTON, WINDOW, PROGRESS_BAR };

    // NONE for a name the service does not offer.
    static Kind kindOf(const std::string& name);
    // The overlays that hold the elements, shown when the service attaches to the window.
    static const char* const OVERLAYS[];
};

} // namespace corvane

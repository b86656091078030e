#pragma once

#include <string>

namespace corvane::testing {

// A mesh of one triangle made in memory, for loads that need an entity's mesh without
// files: it works without a render system, over the default hardware buffer manager.
class TriangleMesh {
public:
    static void create(const std::string& name, const std::string& group);
};

} // namespace corvane::testing

#include <gtest/gtest.h>
#include <string>

#include "framework/NameSuggestion.h"

namespace corvane {
namespace {

TEST(NameSuggestion, CountsEditsWithASwapOfNeighboursAsOne) {
    const struct {
        const char* from;
        const char* to;
        std::size_t edits;
    } rows[] = {
        {"", "", 0},
        {"", "abc", 3},
        {"open", "open", 0},
        {"opne", "open", 1},
        {"postion", "position", 1},
        {"PLAYY", "PLAY", 1},
        {"kitten", "sitting", 3},
        {"ab", "ba", 1},
        {"abc", "ca", 3},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(NameSuggestion::editDistance(row.from, row.to), row.edits)
            << row.from << " -> " << row.to;
        EXPECT_EQ(NameSuggestion::editDistance(row.to, row.from), row.edits)
            << row.to << " -> " << row.from;
    }
}

// The nearest known name within a third of the name (one to three edits), or the name the
// prefix completes; nothing for names that only look alike by chance.
TEST(NameSuggestion, SuggestsOnlyANameNearEnough) {
    const std::set<std::string> known{"node_gift", "open", "position", "entity_door", "Walk"};
    const struct {
        const char* name;
        const char* prefix;
        const char* suggestion;
    } rows[] = {
        {"postion", "", " (did you mean \"position\"?)"},
        {"opne", "", " (did you mean \"open\"?)"},
        {"gift", "node_", " (did you mean \"node_gift\"?)"},
        {"entity_dor", "", " (did you mean \"entity_door\"?)"},
        {"walk", "", " (did you mean \"Walk\"?)"},
        {"run", "", ""},
        {"ab", "", ""},
        {"jump", "node_", ""},
    };
    for (const auto& row : rows)
        EXPECT_EQ(NameSuggestion::of(row.name, known, row.prefix), row.suggestion) << row.name;
}

} // namespace
} // namespace corvane

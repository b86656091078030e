#include "host/SceneScript.h"

#include <filesystem>
#include <system_error>

namespace corvane {

const char* const SceneScript::SCRIPT_NAME = "keyframes.xml";

std::string SceneScript::choose(const std::string& scene, const std::string& given) {
    if (!given.empty())
        return given;
    // Beside the scene rather than in the current folder: a scene and its script travel
    // together, while the folder a command is typed in says nothing about either.
    const std::filesystem::path beside = std::filesystem::path(scene).parent_path() / SCRIPT_NAME;
    std::error_code ignored;
    return std::filesystem::is_regular_file(beside, ignored) ? beside.string() : "";
}

} // namespace corvane

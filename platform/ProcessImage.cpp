#include "platform/ProcessImage.h"

#include <cerrno>
#include <cstring>
#include <sstream>
#include <unistd.h>

#include "platform/ProcessEnvironment.h"

namespace corvane {

std::string ProcessImage::replace(const std::string& path,
                                  const std::vector<std::string>& arguments) {
    std::vector<char*> argv;
    argv.reserve(arguments.size() + 2);
    argv.push_back(const_cast<char*>(path.c_str()));
    for (const std::string& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    ::execv(path.c_str(), argv.data());
    return std::strerror(errno);
}

std::string ProcessImage::find(const std::string& name) {
    std::istringstream folders(ProcessEnvironment::get("PATH"));
    for (std::string folder; std::getline(folders, folder, ':');) {
        // An empty entry is the current folder, as the shell takes it.
        const std::string path = (folder.empty() ? "." : folder) + "/" + name;
        if (::access(path.c_str(), X_OK) == 0)
            return path;
    }
    return {};
}

} // namespace corvane

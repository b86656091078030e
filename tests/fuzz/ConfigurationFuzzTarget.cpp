// fuzz_configuration: any text as the host configuration, read by the host; the
// environment of every plug-in it lists is then handed to both plug-ins' objects, as the
// host hands it to whichever library the entry names. A text that is no configuration is
// taken as one environment element.
#include <tinyxml.h>

#include "framework/XmlNestingDepth.h"
#include "framework/XmlReader.h"
#include "host/HostConfiguration.h"
#include "playback/PlaybackController.h"
#include "tests/fuzz/FuzzTarget.h"
#include "viewer/ViewerApplication.h"

namespace {

using namespace corvane;

void readEnvironment(const TiXmlElement* environment) {
    ViewerApplication viewer;
    viewer.parseEnvironment(environment);
    PlaybackController playback;
    playback.parseEnvironment(environment);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text = fuzz::text(data, size);
    HostConfiguration configuration;
    std::string error;
    if (configuration.parse(text, "corvane.xml", error)) {
        for (const HostConfiguration::Plugin& plugin : configuration.plugins()) {
            if (plugin.library.empty() || plugin.environment == nullptr)
                fuzz::fail("a plug-in entry without a library or an environment was accepted");
            readEnvironment(plugin.environment);
        }
        return 0;
    }
    if (error.empty())
        fuzz::fail("a configuration was refused without a reason");
    if (XmlNestingDepth::of(text) > XmlNestingDepth::LIMIT)
        return 0;
    TiXmlDocument document;
    XmlReader::parse(text, document);
    readEnvironment(document.RootElement());
    return 0;
}

// Keyframe script costs, measured side by side in one run:
//   load: our loader against a bare parse of the same file;
//   run: a whole run at 60 frames per second against recording fakes, per applied keyframe,
//        for a short and a long script of the same density;
//   memory: what the process keeps resident after the playback director started on a long
//        script, against the heap its keyframes occupy.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <sstream>
#include <tinyxml.h>

#include "platform/ProcessMemory.h"
#include "playback/KeyframeLoader.h"
#include "tests/playback/RecordingFakes.h"

namespace {

using corvane::KeyframeMap;
using corvane::testing::PlaybackRig;

constexpr float FRAME_SECONDS = 1.0f / 60.0f;
constexpr float KEYFRAME_SPACING_SECONDS = 0.1f;

// Every transform element and two actions in each keyframe; with or without the XML
// declaration that most files carry (it switches the bare parser from its byte-wise
// default to reading UTF-8, which costs it about twice the time; ours always reads bytes).
std::string script(int keyframes, bool declared = false) {
    std::ostringstream text;
    if (declared)
        text << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    text << "<keyframes>\n";
    for (int i = 0; i < keyframes; ++i)
        text << "  <keyframe entity=\"entity_door\" time=\"" << i * KEYFRAME_SPACING_SECONDS
             << "\">\n"
                "    <position x=\""
             << i % 97 << ".5\" y=\"2.25\" z=\"-3\"/>\n"
             << "    <velocity x=\"0.5\" y=\"0\" z=\"0.25\"/>\n"
                "    <velocitytarget x=\"10\" y=\"0\" z=\"5\"/>\n"
                "    <orientation w=\"1\" x=\"0\" y=\"0\" z=\"0\"/>\n"
                "    <slerp w=\"0.7071\" x=\"0\" y=\"0.7071\" z=\"0\" multiplier=\"0.5\"/>\n"
                "    <animation name=\"open\" type=\"PLAY\" value=\"1\"/>\n"
                "    <animation name=\"open\" type=\"SETWEIGHT\" value=\"0.5\"/>\n"
                "  </keyframe>\n";
    text << "</keyframes>\n";
    return text.str();
}

double seconds(const std::function<void()>& work) {
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void print(const std::string& name, double value) {
    std::printf("%s: %.4g\n", name.c_str(), value);
}

// Seconds for one whole run of the script, from the first frame to the completed run.
double wholeRun(const std::string& keyframes) {
    PlaybackRig rig;
    rig.log.keep = false; // counted only: the run's calls would not fit in memory
    rig.offerAll();
    rig.scene.add("entity_door");
    rig.start(keyframes);
    rig.click("ZORV/EscapeMenu/Resume");
    return seconds([&] {
        while (!rig.controller.getPendingKeyframes().empty())
            rig.controller.renderFrame(FRAME_SECONDS);
    });
}

// Mebibytes from bytes.
double mebibytes(double bytes) {
    return bytes / (1024.0 * 1024.0);
}

// Measured first, on a heap that no earlier measurement has grown: memory that is already
// resident would take in the parser's blocks and hide whatever stays behind.
void memoryAfterLoading(int keyframes) {
    const std::string text = script(keyframes);
    PlaybackRig rig;
    const std::size_t heapBefore = corvane::ProcessMemory::heapInUseBytes();
    const std::size_t residentBefore = corvane::ProcessMemory::residentKiB();
    rig.start(text);
    const double heap = static_cast<double>(corvane::ProcessMemory::heapInUseBytes() - heapBefore);
    const double resident =
        1024.0 * static_cast<double>(corvane::ProcessMemory::residentKiB() - residentBefore);
    const std::string prefix = "memory_" + std::to_string(keyframes);
    print(prefix + "_keyframes_heap_mib", mebibytes(heap));
    print(prefix + "_resident_growth_mib", mebibytes(resident));
    print(prefix + "_ratio_resident_to_heap", resident / heap);
}

} // namespace

int main() {
    memoryAfterLoading(100000);

    constexpr int LOAD_KEYFRAMES = 100000;
    constexpr int ROUNDS = 3;
    corvane::testing::TemporaryFolder folder;
    for (const bool declared : {false, true}) {
        const std::string file = folder.write(declared ? "declared.xml" : "keyframes.xml",
                                              script(LOAD_KEYFRAMES, declared));
        double bare = 1e9;
        double ours = 1e9;
        for (int round = 0; round < ROUNDS; ++round) {
            bare = std::min(bare, seconds([&] {
                                TiXmlDocument document;
                                document.LoadFile(file);
                            }));
            ours = std::min(ours, seconds([&] {
                                KeyframeMap keyframes;
                                corvane::KeyframeLoader::load(file, keyframes);
                            }));
        }
        const std::string suffix = declared ? "_declared" : "";
        print("load_100000" + suffix + "_bare_parse_ms", bare * 1e3);
        print("load_100000" + suffix + "_keyframes_ms", ours * 1e3);
        print("load_ratio" + suffix + "_keyframes_to_bare_parse", ours / bare);
    }

    const std::string shortScript = script(1000);
    const std::string longScript = script(100000);
    double shortRun = 1e9;
    double longRun = 1e9;
    for (int round = 0; round < ROUNDS; ++round) {
        shortRun = std::min(shortRun, wholeRun(shortScript));
        longRun = std::min(longRun, wholeRun(longScript));
    }
    const double shortPerKeyframe = shortRun / 1000 * 1e9;
    const double longPerKeyframe = longRun / 100000 * 1e9;
    print("run_1000_ns_per_applied_keyframe", shortPerKeyframe);
    print("run_100000_ns_per_applied_keyframe", longPerKeyframe);
    print("run_ratio_100000_to_1000", longPerKeyframe / shortPerKeyframe);
    return 0;
}

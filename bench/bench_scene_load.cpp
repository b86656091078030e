// Scene loading speed: our loader against the engine's own dotScene loader on the same
// text in the same process, the parser's share, the number reader, and the growth of the
// time per node with the size of the scene. Prints one "name: value" line per figure.

#include <OgreDefaultHardwareBufferManager.h>
#include <OgreDotSceneLoader.h>
#include <OgreLogManager.h>
#include <OgreMaterialManager.h>
#include <OgreRoot.h>
#include <OgreSceneManager.h>
#include <OgreStringConverter.h>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <random>
#include <string>
#include <tinyxml.h>
#include <unistd.h>
#include <vector>

#include "tests/viewer/scene/TriangleMesh.h"
#include "viewer/ResourceGroup.h"
#include "viewer/scene/RealReader.h"
#include "viewer/scene/SceneLoader.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr const char* MESH = "bench.mesh";

double secondsOf(const std::function<void()>& work) {
    const Clock::time_point start = Clock::now();
    work();
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// `nodes` nodes with a full transform and one entity each; one node in a hundred also
// carries a light. Today's spellings, which both loaders read.
std::string makeScene(int nodes) {
    std::mt19937 random(7);
    std::uniform_real_distribution<float> spread(-500.0f, 500.0f);
    auto number = [&] { return std::to_string(spread(random)); };
    std::string text = "<scene formatVersion=\"1.1\">\n<environment>\n"
                       "<colourAmbient r=\"0.2\" g=\"0.2\" b=\"0.2\"/>\n</environment>\n<nodes>\n";
    for (int i = 0; i < nodes; ++i) {
        const std::string name = "n" + std::to_string(i);
        text += "<node name=\"" + name + "\">\n<position x=\"" + number() + "\" y=\"" + number() +
                "\" z=\"" + number() + "\"/>\n" +
                "<rotation qx=\"0.1825742\" qy=\"0.3651484\" qz=\"0.5477226\" qw=\"0.7302967\"/>\n"
                "<scale x=\"1.5\" y=\"1.5\" z=\"1.5\"/>\n<entity name=\"" +
                name + "\" meshFile=\"" + MESH + "\"/>\n";
        if (i % 100 == 0)
            text += "<light name=\"lamp" + std::to_string(i) +
                    "\" type=\"point\">\n<colourDiffuse r=\"1\" g=\"0.9\" b=\"0.8\"/>\n"
                    "<lightAttenuation range=\"100\" constant=\"1\" linear=\"0.05\" "
                    "quadratic=\"0\"/>\n</light>\n";
        text += "</node>\n";
    }
    return text + "</nodes>\n</scene>\n";
}

std::string sceneName(int nodes) {
    return "bench_" + std::to_string(nodes) + ".scene";
}

// One load into a fresh scene manager; the scene manager goes afterwards, untimed. A load
// that built less than the whole scene would make the comparison meaningless.
double loadOnce(int nodes, const std::function<void(Ogre::SceneManager*)>& load) {
    Ogre::SceneManager* scene = Ogre::Root::getSingleton().createSceneManager();
    const double seconds = secondsOf([&] { load(scene); });
    const std::size_t entities = scene->getMovableObjects("Entity").size();
    const std::size_t lights = scene->getMovableObjects("Light").size();
    Ogre::Root::getSingleton().destroySceneManager(scene);
    if (entities != static_cast<std::size_t>(nodes) ||
        lights != static_cast<std::size_t>((nodes + 99) / 100))
        OGRE_EXCEPT(Ogre::Exception::ERR_INTERNAL_ERROR,
                    "a load built " + std::to_string(entities) + " entities and " +
                        std::to_string(lights) + " lights of " + sceneName(nodes),
                    "loadOnce");
    return seconds;
}

double oursOnce(int nodes) {
    corvane::SceneLoader loader;
    return loadOnce(nodes, [&](Ogre::SceneManager* scene) {
        loader.load(sceneName(nodes), scene, nullptr, false, nullptr);
    });
}

double enginesOnce(int nodes) {
    return loadOnce(nodes, [&](Ogre::SceneManager* scene) {
        Ogre::DataStreamPtr stream = Ogre::ResourceGroupManager::getSingleton().openResource(
            sceneName(nodes), corvane::VIEWER_RESOURCE_GROUP);
        Ogre::DotSceneLoader loader;
        loader.load(stream, corvane::VIEWER_RESOURCE_GROUP,
                    scene->getRootSceneNode()->createChildSceneNode());
    });
}

// The best of `runs` alternating runs of each, so both see the same machine state.
std::pair<double, double> bestOf(int runs, const std::function<double()>& first,
                                 const std::function<double()>& second) {
    double a = 1e30, b = 1e30;
    for (int run = 0; run < runs; ++run) {
        a = std::min(a, first());
        b = std::min(b, second());
    }
    return {a, b};
}

void print(const std::string& name, double value) {
    std::printf("%s: %.4g\n", name.c_str(), value);
}

int run() {
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("corvane-bench-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    const int sizes[] = {1000, 10000, 100000};
    std::map<int, std::string> texts;
    for (int nodes : sizes) {
        texts[nodes] = makeScene(nodes);
        std::ofstream(folder / sceneName(nodes), std::ios::binary) << texts[nodes];
    }
    const auto parseOnce = [&](int nodes) {
        return secondsOf([&] {
            TiXmlDocument document;
            document.Parse(texts[nodes].c_str());
        });
    };

    Ogre::LogManager* log = OGRE_NEW Ogre::LogManager();
    log->createLog("bench.log", true, false, true);
    Ogre::Root* root = OGRE_NEW Ogre::Root("", "", "bench.log");
    auto* buffers = OGRE_NEW Ogre::DefaultHardwareBufferManager();
    Ogre::MaterialManager::getSingleton().initialise();
    Ogre::ResourceGroupManager::getSingleton().addResourceLocation(folder.string(), "FileSystem",
                                                                   corvane::VIEWER_RESOURCE_GROUP);
    corvane::testing::TriangleMesh::create(MESH, corvane::VIEWER_RESOURCE_GROUP);

    // The loader writes the scene names on the diagnostic channel at every load.
    const int savedError = ::dup(STDERR_FILENO);
    std::freopen("/dev/null", "w", stderr);

    // The parser alone, on the same text, in the same rounds as the two loads.
    double ours = 1e30, engine = 1e30, parse = 1e30;
    for (int round = 0; round < 9; ++round) {
        ours = std::min(ours, oursOnce(10000));
        engine = std::min(engine, enginesOnce(10000));
        parse = std::min(parse, parseOnce(10000));
    }

    const auto [small, large] = bestOf(
        5,
        [] {
            return std::min({oursOnce(1000), oursOnce(1000), oursOnce(1000)});
        },
        [] { return oursOnce(100000); });
    // The parser's own share of the growth.
    const auto [smallParse, largeParse] = bestOf(
        5,
        [&] {
            return std::min({parseOnce(1000), parseOnce(1000), parseOnce(1000)});
        },
        [&] { return parseOnce(100000); });

    // The number reader on texts of the shape that the generated scenes hold.
    std::vector<std::string> numbers;
    std::mt19937 random(11);
    std::uniform_real_distribution<float> spread(-500.0f, 500.0f);
    for (int i = 0; i < 100000; ++i)
        numbers.push_back(std::to_string(spread(random)));
    float sink = 0;
    const auto [engineReal, ourReal] = bestOf(
        3,
        [&] {
            return secondsOf([&] {
                for (const std::string& text : numbers)
                    sink += Ogre::StringConverter::parseReal(text);
            });
        },
        [&] {
            return secondsOf([&] {
                for (const std::string& text : numbers)
                    sink += corvane::RealReader::parse(text.c_str());
            });
        });

    ::dup2(savedError, STDERR_FILENO);
    print("scene_load_10000_ours_ms", ours * 1e3);
    print("scene_load_10000_engine_ms", engine * 1e3);
    print("scene_load_10000_ours_to_engine_ratio", ours / engine);
    print("tinyxml_parse_10000_ms", parse * 1e3);
    print("tinyxml_parse_to_engine_load_ratio", parse / engine);
    print("scene_build_after_parse_to_engine_load_ratio", (ours - parse) / engine);
    print("scene_load_per_node_1000_us", small / 1000 * 1e6);
    print("scene_load_per_node_100000_us", large / 100000 * 1e6);
    print("scene_load_per_node_100000_to_1000_ratio", (large / 100000) / (small / 1000));
    print("tinyxml_parse_per_node_100000_to_1000_ratio",
          (largeParse / 100000) / (smallParse / 1000));
    print("parse_real_engine_ns", engineReal / numbers.size() * 1e9);
    print("parse_real_ours_ns", ourReal / numbers.size() * 1e9);
    print("parse_real_engine_to_ours_ratio", engineReal / ourReal);
    if (sink == 12345.0f)
        std::printf("\n");

    OGRE_DELETE root;
    OGRE_DELETE buffers;
    OGRE_DELETE log;
    std::filesystem::remove_all(folder);
    return 0;
}

} // namespace

int main() {
    try {
        return run();
    } catch (const Ogre::Exception& error) {
        std::fprintf(stderr, "bench_scene_load: %s\n", error.getDescription().c_str());
        return 1;
    }
}

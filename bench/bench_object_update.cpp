// bench_object_update: the cost of one update pass of the scene object registry over many
// controlled figures, against a loop that makes the same engine calls directly on the
// same entities. Prints one "name: value" line per figure.
//
// Each figure plays "Walk" (no stop time) and "Wave" (with a stop time), slides the weight
// of "Walk", moves towards a far target and turns slowly; frames are short enough that no
// stop, target or turn end is reached while measuring, so every pass does the same work.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include <OgreAnimationState.h>
#include <OgreEntity.h>
#include <OgreRoot.h>
#include <OgreSceneManager.h>
#include <OgreSceneNode.h>

#include "tools/HeadlessMediaEngine.h"
#include "viewer/control/SceneObjectRegistry.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr double FRAME_SECONDS = 1e-5;
constexpr float WAVE_STOP = 1.9f;
constexpr float WEIGHT_RATE = 0.1f;
constexpr float SLERP_RATE = 0.5f;
const Ogre::Vector3 VELOCITY(1, 0, 0);
const Ogre::Vector3 TARGET(1e6f, 0, 0);
const Ogre::Quaternion TURN_FROM = Ogre::Quaternion::IDENTITY;
const Ogre::Quaternion TURN_TO(Ogre::Degree(90), Ogre::Vector3::UNIT_Y);

// N figures in a scene manager of their own, each with its control set going.
class Crowd {
public:
    Crowd(Ogre::Root& root, int size) : scene(root.createSceneManager()) {
        for (int index = 0; index < size; ++index) {
            const std::string name = "figure" + std::to_string(index);
            Ogre::Entity* entity = scene->createEntity("entity_" + name, "figure.mesh",
                                                       corvane::tools::HeadlessMediaEngine::GROUP);
            scene->getRootSceneNode()->createChildSceneNode("node_" + name)->attachObject(entity);
            entities.push_back(entity);

            corvane::SceneObjectControl* control = registry.find(scene, entity->getName());
            control->setAnimationRate("Walk", 1.0);
            control->setAnimationRate("Wave", 1.0);
            control->setAnimationLoop("Wave", false);
            control->setAnimationStopTime("Wave", WAVE_STOP);
            control->setWeightSlideRate("Walk", WEIGHT_RATE);
            control->setVelocity({VELOCITY.x, VELOCITY.y, VELOCITY.z});
            control->setMoveTarget({TARGET.x, TARGET.y, TARGET.z});
            control->startRotationSlerp(SLERP_RATE, {1, 0, 0, 0},
                                        {TURN_TO.w, TURN_TO.x, TURN_TO.y, TURN_TO.z});
        }
        directProgress.assign(entities.size(), 0.0f);
    }
    ~Crowd() { Ogre::Root::getSingleton().destroySceneManager(scene); }

    void updatePass() { registry.update(FRAME_SECONDS); }

    // The same engine calls, made directly on the same entities.
    void directPass() {
        for (std::size_t index = 0; index < entities.size(); ++index) {
            Ogre::Entity* entity = entities[index];
            const auto step = static_cast<float>(FRAME_SECONDS);
            entity->getAnimationState("Walk")->addTime(step);
            Ogre::AnimationState* wave = entity->getAnimationState("Wave");
            if (wave->getTimePosition() + step > WAVE_STOP)
                wave->setTimePosition(WAVE_STOP);
            else
                wave->addTime(step);
            Ogre::AnimationState* walk = entity->getAnimationState("Walk");
            walk->setWeight(static_cast<float>(WEIGHT_RATE * FRAME_SECONDS + walk->getWeight()));

            Ogre::Node* node = entity->getParentNode();
            const Ogre::Vector3 move = VELOCITY * step;
            if (move.squaredLength() < (TARGET - node->getPosition()).squaredLength())
                node->translate(move, Ogre::Node::TS_PARENT);
            float& progress = directProgress[index];
            progress = static_cast<float>(SLERP_RATE * FRAME_SECONDS + progress);
            node->setOrientation(Ogre::Quaternion::Slerp(progress, TURN_FROM, TURN_TO, true));
        }
    }

    std::size_t size() const { return entities.size(); }

private:
    Ogre::SceneManager* scene;
    corvane::SceneObjectRegistry registry;
    std::vector<Ogre::Entity*> entities;
    std::vector<float> directProgress;
};

// Nanoseconds of one pass of `work`, averaged over `passes` passes in a row.
template <class Work>
double nanosecondsPerPass(Work&& work, int passes) {
    const auto start = Clock::now();
    for (int pass = 0; pass < passes; ++pass)
        work();
    return std::chrono::duration<double, std::nano>(Clock::now() - start).count() / passes;
}

void print(const char* name, double value) {
    std::printf("%s: %.3f\n", name, value);
}

} // namespace

int main() {
    corvane::tools::HeadlessMediaEngine engine;
    constexpr int ROUNDS = 11;

    // The update pass against the direct calls, rounds taken in turn so that both see the
    // same machine; the best round of each counts.
    double update = 1e300, direct = 1e300;
    {
        Crowd crowd(engine.root(), 1000);
        for (int round = 0; round < ROUNDS; ++round) {
            update = std::min(update, nanosecondsPerPass([&] { crowd.updatePass(); }, 200));
            direct = std::min(direct, nanosecondsPerPass([&] { crowd.directPass(); }, 200));
        }
    }
    print("object_update_1000_objects_ns_per_pass", update);
    print("direct_calls_1000_objects_ns_per_pass", direct);
    print("object_update_vs_direct_ratio", update / direct);

    // Growth: the cost per object with 10,000 objects against 100, beside the same figure
    // for the direct calls: the engine's own objects outgrow the processor's caches too.
    double small = 1e300, large = 1e300, directSmall = 1e300, directLarge = 1e300;
    {
        Crowd few(engine.root(), 100);
        Crowd many(engine.root(), 10000);
        for (int round = 0; round < ROUNDS; ++round) {
            small = std::min(small, nanosecondsPerPass([&] { few.updatePass(); }, 2000) / 100);
            large = std::min(large, nanosecondsPerPass([&] { many.updatePass(); }, 20) / 10000);
            directSmall =
                std::min(directSmall, nanosecondsPerPass([&] { few.directPass(); }, 2000) / 100);
            directLarge =
                std::min(directLarge, nanosecondsPerPass([&] { many.directPass(); }, 20) / 10000);
        }
    }
    print("object_update_100_objects_ns_per_object", small);
    print("object_update_10000_objects_ns_per_object", large);
    print("object_update_growth_10000_vs_100", large / small);
    print("direct_calls_100_objects_ns_per_object", directSmall);
    print("direct_calls_10000_objects_ns_per_object", directLarge);
    print("direct_calls_growth_10000_vs_100", directLarge / directSmall);
    print("object_update_vs_direct_ratio_100_objects", small / directSmall);
    print("object_update_vs_direct_ratio_10000_objects", large / directLarge);
    return 0;
}

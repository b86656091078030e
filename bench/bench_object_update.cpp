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

// Two kinds of pass timed side by side: in every round both run back to back, in turns
// first, so that both meet the same load of a shared machine. The times are the best
// rounds; the ratio is the median of the rounds' own ratios.
struct SideBySide {
    double first = 1e300;
    double second = 1e300;
    double ratio = 0;
};

template <class First, class Second>
SideBySide sideBySide(First&& first, Second&& second, int passes) {
    constexpr int ROUNDS = 15;
    SideBySide result;
    std::vector<double> ratios;
    for (int round = 0; round < ROUNDS; ++round) {
        double a, b;
        if (round % 2 == 0) {
            a = nanosecondsPerPass(first, passes);
            b = nanosecondsPerPass(second, passes);
        } else {
            b = nanosecondsPerPass(second, passes);
            a = nanosecondsPerPass(first, passes);
        }
        result.first = std::min(result.first, a);
        result.second = std::min(result.second, b);
        ratios.push_back(a / b);
    }
    std::sort(ratios.begin(), ratios.end());
    result.ratio = ratios[ratios.size() / 2];
    return result;
}

void print(const char* name, double value) {
    std::printf("%s: %.3f\n", name, value);
}

} // namespace

int main() {
    corvane::tools::HeadlessMediaEngine engine;

    // One update pass over 1,000 figures against the same engine calls made directly.
    SideBySide thousand;
    {
        Crowd crowd(engine.root(), 1000);
        thousand = sideBySide([&] { crowd.updatePass(); }, [&] { crowd.directPass(); }, 200);
    }
    print("object_update_1000_objects_ns_per_pass", thousand.first);
    print("direct_calls_1000_objects_ns_per_pass", thousand.second);
    print("object_update_vs_direct_ratio", thousand.ratio);

    // Growth: the cost per object with 10,000 objects against 100, beside the same figure
    // for the direct calls: the engine's own objects outgrow the processor's caches too.
    SideBySide growth, directGrowth;
    {
        Crowd few(engine.root(), 100);
        Crowd many(engine.root(), 10000);
        // 100 passes over 100 objects against one over 10,000: the same objects updated.
        const auto fewPasses = [&] {
            for (int pass = 0; pass < 100; ++pass)
                few.updatePass();
        };
        const auto fewDirectPasses = [&] {
            for (int pass = 0; pass < 100; ++pass)
                few.directPass();
        };
        growth = sideBySide([&] { many.updatePass(); }, fewPasses, 20);
        directGrowth = sideBySide([&] { many.directPass(); }, fewDirectPasses, 20);
    }
    print("object_update_100_objects_ns_per_object", growth.second / 10000);
    print("object_update_10000_objects_ns_per_object", growth.first / 10000);
    print("object_update_growth_10000_vs_100", growth.ratio);
    print("direct_calls_100_objects_ns_per_object", directGrowth.second / 10000);
    print("direct_calls_10000_objects_ns_per_object", directGrowth.first / 10000);
    print("direct_calls_growth_10000_vs_100", directGrowth.ratio);
    return 0;
}

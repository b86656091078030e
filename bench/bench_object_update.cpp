// bench_object_update: the cost of one update pass of the scene object registry over many
// controlled figures, against a loop that does the same frame directly on the same entities,
// and against the engine's calls of the pass alone. Prints one "name: value" line per figure.
//
// Each figure plays "Walk" (no stop time) and "Wave" (with a stop time), slides the weight
// of "Walk", moves towards a far target and turns slowly; frames are short enough that no
// stop, target or turn end is reached while measuring, so every pass does the same work.
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <optional>
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
const std::string WALK = "Walk";
const std::string WAVE = "Wave";
constexpr float WAVE_STOP = 1.9f;
constexpr float WEIGHT_RATE = 0.1f;
constexpr float SLERP_RATE = 0.5f;
const Ogre::Vector3 VELOCITY(1, 0, 0);
const Ogre::Vector3 TARGET(1e6f, 0, 0);
const Ogre::Quaternion TURN_FROM = Ogre::Quaternion::IDENTITY;
const Ogre::Quaternion TURN_TO(Ogre::Degree(90), Ogre::Vector3::UNIT_Y);

// What the direct loop keeps of one figure: the values a control stores, as plain fields.
struct Figure {
    Ogre::Entity* entity = nullptr;
    float walkRate = 1.0f;
    float walkSlideRate = WEIGHT_RATE;
    std::optional<float> walkWeightTarget;
    float waveRate = 1.0f;
    std::optional<float> waveStop = WAVE_STOP;
    Ogre::Vector3 velocity = VELOCITY;
    Ogre::Vector3 target = TARGET;
    float slerpRate = SLERP_RATE;
    float slerpProgress = 0.0f;
    Ogre::Quaternion slerpFrom = TURN_FROM;
    Ogre::Quaternion slerpTo = TURN_TO;
};

bool isFinite(const Ogre::Vector3& vector) {
    return std::isfinite(vector.x) && std::isfinite(vector.y) && std::isfinite(vector.z);
}

// N figures in a scene manager of their own, each with its control set going.
class Crowd {
public:
    Crowd(Ogre::Root& root, int size) : scene(root.createSceneManager()) {
        std::vector<Ogre::Entity*> entities;
        for (int index = 0; index < size; ++index) {
            const std::string name = "figure" + std::to_string(index);
            Ogre::Entity* entity = scene->createEntity("entity_" + name, "figure.mesh",
                                                       corvane::tools::HeadlessMediaEngine::GROUP);
            scene->getRootSceneNode()->createChildSceneNode("node_" + name)->attachObject(entity);
            entities.push_back(entity);

            corvane::SceneObjectControl* control = registry.find(scene, entity->getName());
            control->setAnimationRate(WALK, 1.0);
            control->setAnimationRate(WAVE, 1.0);
            control->setAnimationLoop(WAVE, false);
            control->setAnimationStopTime(WAVE, WAVE_STOP);
            control->setWeightSlideRate(WALK, WEIGHT_RATE);
            control->setVelocity({VELOCITY.x, VELOCITY.y, VELOCITY.z});
            control->setMoveTarget({TARGET.x, TARGET.y, TARGET.z});
            control->startRotationSlerp(SLERP_RATE, {1, 0, 0, 0},
                                        {TURN_TO.w, TURN_TO.x, TURN_TO.y, TURN_TO.z});
        }
        // The pass's order.
        std::sort(entities.begin(), entities.end(),
                  [](Ogre::Entity* a, Ogre::Entity* b) { return a->getName() < b->getName(); });
        for (Ogre::Entity* entity : entities) {
            figures.emplace_back();
            figures.back().entity = entity;
        }
        engineCallsProgress.assign(entities.size(), 0.0f);
    }
    ~Crowd() { Ogre::Root::getSingleton().destroySceneManager(scene); }

    void updatePass() { registry.update(FRAME_SECONDS); }

    // The pass's frame done directly: its engine calls, in its order and with its one lookup
    // of each animation state by name, after the same decisions on the stored values and the
    // same checks of what goes to the engine (a finite step and weight, a finite place of a
    // node that carries nothing under the scene's root, a turn that is a rotation), written
    // for these two animations on plain values. What it does without is the registry, the
    // controls and their lists of animations of any names.
    void directPass() {
        const double seconds = FRAME_SECONDS;
        const Ogre::Node* const root = scene->getRootSceneNode();
        for (Figure& figure : figures) {
            Ogre::Entity* const entity = figure.entity;
            if (!entity)
                continue;
            if (const Ogre::AnimationStateSet* set = entity->getAllAnimationStates()) {
                const Ogre::AnimationStateMap& states = set->getAnimationStates();
                if (figure.walkRate != 0.0f || figure.walkSlideRate != 0.0f)
                    if (const auto found = states.find(WALK); found != states.end()) {
                        Ogre::AnimationState* const walk = found->second;
                        const auto step = static_cast<float>(figure.walkRate * seconds);
                        if (figure.walkRate != 0.0f && std::isfinite(step))
                            walk->addTime(step);
                        const auto weight =
                            static_cast<float>(figure.walkSlideRate * seconds + walk->getWeight());
                        if (std::isfinite(weight) &&
                            (!figure.walkWeightTarget || weight < *figure.walkWeightTarget))
                            walk->setWeight(weight);
                    }
                if (figure.waveRate != 0.0f)
                    if (const auto found = states.find(WAVE); found != states.end()) {
                        Ogre::AnimationState* const wave = found->second;
                        const auto step = static_cast<float>(figure.waveRate * seconds);
                        if (!std::isfinite(step))
                            figure.waveRate = 0.0f;
                        else if (!figure.waveStop)
                            wave->addTime(step);
                        else if (wave->getTimePosition() + step > *figure.waveStop)
                            wave->setTimePosition(*figure.waveStop);
                        else
                            wave->addTime(step);
                    }
            }
            Ogre::Node* const node = entity->getParentNode();
            if (!node)
                continue;
            if (figure.velocity != Ogre::Vector3::ZERO) {
                const Ogre::Vector3 step = figure.velocity * static_cast<float>(seconds);
                if (figure.target == Ogre::Vector3::ZERO ||
                    step.squaredLength() < (figure.target - node->getPosition()).squaredLength()) {
                    const Ogre::Vector3 position = node->getPosition();
                    node->translate(step, Ogre::Node::TS_PARENT);
                    if (!isFinite(node->getPosition()) || !node->getChildren().empty() ||
                        node->getParent() != root)
                        node->setPosition(position);
                }
            }
            if (figure.slerpRate > 0.0f) {
                figure.slerpProgress =
                    static_cast<float>(figure.slerpRate * seconds + figure.slerpProgress);
                const Ogre::Quaternion turn = Ogre::Quaternion::Slerp(
                    figure.slerpProgress, figure.slerpFrom, figure.slerpTo, true);
                const float squaredLength = turn.Dot(turn);
                if (squaredLength > 0.0f && std::isfinite(squaredLength) &&
                    node->getChildren().empty())
                    node->setOrientation(turn);
            }
        }
    }

    // The engine's calls of the pass and nothing else, on the same entities in the same
    // order: what the share of the pass outside them is measured against.
    void engineCallsPass() {
        const auto step = static_cast<float>(FRAME_SECONDS);
        for (std::size_t index = 0; index < figures.size(); ++index) {
            Ogre::Entity* const entity = figures[index].entity;
            const Ogre::AnimationStateMap& states =
                entity->getAllAnimationStates()->getAnimationStates();
            Ogre::AnimationState* const walk = states.find(WALK)->second;
            walk->addTime(step);
            walk->setWeight(static_cast<float>(WEIGHT_RATE * FRAME_SECONDS + walk->getWeight()));
            Ogre::AnimationState* const wave = states.find(WAVE)->second;
            if (wave->getTimePosition() + step > WAVE_STOP)
                wave->setTimePosition(WAVE_STOP);
            else
                wave->addTime(step);

            Ogre::Node* const node = entity->getParentNode();
            const Ogre::Vector3 move = VELOCITY * step;
            if (move.squaredLength() < (TARGET - node->getPosition()).squaredLength())
                node->translate(move, Ogre::Node::TS_PARENT);
            float& progress = engineCallsProgress[index];
            progress = static_cast<float>(SLERP_RATE * FRAME_SECONDS + progress);
            node->setOrientation(Ogre::Quaternion::Slerp(progress, TURN_FROM, TURN_TO, true));
        }
    }

private:
    Ogre::SceneManager* scene;
    corvane::SceneObjectRegistry registry;
    std::vector<Figure> figures;
    std::vector<float> engineCallsProgress;
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

    // One update pass over 1,000 figures against the same frame done directly, and against
    // the engine's calls alone.
    SideBySide thousand, engineCalls;
    {
        Crowd crowd(engine.root(), 1000);
        thousand = sideBySide([&] { crowd.updatePass(); }, [&] { crowd.directPass(); }, 200);
        engineCalls =
            sideBySide([&] { crowd.updatePass(); }, [&] { crowd.engineCallsPass(); }, 200);
    }
    print("object_update_1000_objects_ns_per_pass", thousand.first);
    print("direct_calls_1000_objects_ns_per_pass", thousand.second);
    print("object_update_vs_direct_ratio", thousand.ratio);
    print("engine_calls_1000_objects_ns_per_pass", engineCalls.second);
    print("object_update_share_outside_engine", 1.0 - 1.0 / engineCalls.ratio);

    // Growth: the cost per object with 10,000 objects against 100, beside the same figure
    // for the direct loop: the engine's own objects outgrow the processor's caches too.
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
    print("object_update_growth_vs_direct_growth", growth.ratio / directGrowth.ratio);
    return 0;
}

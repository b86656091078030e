#pragma once

#include <map>
#include <string>

class TiXmlElement;

namespace Ogre {
class Animation;
class SceneManager;
class SceneNode;
} // namespace Ogre

namespace corvane {

class SceneReport;

// The animations that today's exporters write on a node, for doors, platforms and cameras:
//   <animations>
//     <animation name="open" length="2" enable="false" loop="false"
//                interpolationMode="linear|spline" rotationInterpolationMode="linear|spherical">
//       <keyframe time="0"><position|translation/><rotation|quaternion/><scale/></keyframe>
//     </animation>
//   </animations>
// Each becomes one of the engine's node animations, "NODE/NAME" (node_door/open), with an
// animation state of that name: enabled as "enable" says (absent: false), looping as
// "loop" says (absent: false). Keys give the node's place within its parent, as its own
// "position", "rotation" and "scale" do; a part a key lacks is the node's own. Keys that
// are relative to the node's place (as one exporter writes them: the first key at no offset,
// no turn and unit size while the node itself is elsewhere) are applied as such, with one
// line saying so. An animation without a name or a usable length, or named twice, and a key
// whose time or values cannot be used, are one line each and skipped.
class NodeAnimationReader {
public:
    // Reads the "animations" element of `node`, whose own transform is complete.
    static void read(const TiXmlElement& animations, Ogre::SceneManager& sceneManager,
                     Ogre::SceneNode& node, const SceneReport& report);

    // The engine's name of the animation `name` of the node `node`.
    static std::string engineName(const std::string& node, const std::string& name);
    // Every node animation of `sceneManager` made here: by node name, the animations by
    // their names in the file.
    static std::map<std::string, std::map<std::string, Ogre::Animation*>>
    of(Ogre::SceneManager& sceneManager);
};

} // namespace corvane

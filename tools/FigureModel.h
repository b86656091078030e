#pragma once

#include <OgreMesh.h>
#include <OgreSkeleton.h>

namespace corvane::tools {

// A jointed figure 18 units tall, standing on its origin and facing +Z: one box per limb,
// each skinned to its bone. Its left side (".L") is at +X. Animations: "Walk" (1 second,
// a looping gait of legs and arms) and "Wave" (2 seconds, the right arm raised and the
// right hand waving), which touch different bones where they can so that they blend.
class FigureModel {
public:
    static Ogre::SkeletonPtr makeSkeleton();
    static Ogre::MeshPtr makeMesh(Ogre::SkeletonPtr skeleton);
};

} // namespace corvane::tools

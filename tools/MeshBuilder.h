#pragma once

#include <string>
#include <vector>

#include <OgreAxisAlignedBox.h>
#include <OgreColourValue.h>
#include <OgreMesh.h>
#include <OgreSkeleton.h>
#include <OgreVector.h>

namespace corvane::tools {

// Collects the faces of one mesh, sub-mesh by sub-mesh, and makes an engine mesh of them
// with positions, normals, texture coordinates and, when asked for, vertex colours.
// Vertices can be tied to one bone each, with full weight.
class MeshBuilder {
public:
    // `vertexColours`: the mesh carries a diffuse colour per vertex, for unlit materials.
    explicit MeshBuilder(bool vertexColours = false);

    // Starts a sub-mesh drawn with `material`; the faces that follow go into it.
    void beginSubMesh(const std::string& material);
    // The bone that the vertices that follow are tied to; NO_BONE ties them to none.
    void setBone(unsigned short bone);
    // The colour of the vertices that follow (used with vertex colours only).
    void setColour(const Ogre::ColourValue& colour);

    // A rectangle around `centre` spanned by the half-edges `right` and `up`, facing
    // right x up, with the texture repeated `repeat` times along each edge.
    void addQuad(const Ogre::Vector3& centre, const Ogre::Vector3& right, const Ogre::Vector3& up,
                 float repeat = 1.0f);
    // An axis-aligned box between two corners, every face with its own normal and the
    // whole texture.
    void addBox(const Ogre::Vector3& minimum, const Ogre::Vector3& maximum);
    // Widens the bounds beyond the vertices, for parts that an animation moves.
    void includeInBounds(const Ogre::AxisAlignedBox& box);

    // The mesh, made in the engine's default resource group under `name`, linked to
    // `skeleton` when one is given.
    Ogre::MeshPtr build(const std::string& name, Ogre::SkeletonPtr skeleton = {}) const;

    static constexpr unsigned short NO_BONE = 0xFFFF;

private:
    struct Vertex {
        Ogre::Vector3 position;
        Ogre::Vector3 normal;
        Ogre::Vector2 textureCoordinates;
        Ogre::ColourValue colour;
        unsigned short bone;
    };
    struct Part {
        std::string material;
        std::vector<Vertex> vertices;
        std::vector<Ogre::uint16> indices;
    };

    void fillSubMesh(Ogre::SubMesh* subMesh, const Part& part) const;

    bool vertexColours;
    std::vector<Part> parts;
    unsigned short bone = NO_BONE;
    Ogre::ColourValue colour = Ogre::ColourValue::White;
    Ogre::AxisAlignedBox bounds;
};

} // namespace corvane::tools

#include "tools/MeshBuilder.h"

#include <OgreDefaultHardwareBufferManager.h>
#include <OgreException.h>
#include <OgreHardwareBufferManager.h>
#include <OgreMaterialManager.h>
#include <OgreMeshManager.h>
#include <OgreResourceGroupManager.h>
#include <OgreSubMesh.h>
#include <OgreVertexBoneAssignment.h>

#include <algorithm>
#include <cstring>
#include <limits>

namespace corvane::tools {

MeshBuilder::MeshBuilder(bool vertexColours) : vertexColours(vertexColours) {}

void MeshBuilder::beginSubMesh(const std::string& material) {
    parts.push_back(Part{material, {}, {}});
}

void MeshBuilder::setBone(unsigned short newBone) {
    bone = newBone;
}

void MeshBuilder::setColour(const Ogre::ColourValue& newColour) {
    colour = newColour;
}

void MeshBuilder::addQuad(const Ogre::Vector3& centre, const Ogre::Vector3& right,
                          const Ogre::Vector3& up, float repeat) {
    if (parts.empty())
        OGRE_EXCEPT(Ogre::Exception::ERR_INVALIDPARAMS, "a face before any sub-mesh",
                    "MeshBuilder::addQuad");
    Part& part = parts.back();
    // 16-bit indices: a sub-mesh holds at most 65536 vertices.
    if (part.vertices.size() + 4 > std::numeric_limits<Ogre::uint16>::max() + 1u)
        OGRE_EXCEPT(Ogre::Exception::ERR_INVALIDPARAMS, "too many vertices in one sub-mesh",
                    "MeshBuilder::addQuad");

    const Ogre::Vector3 normal = right.crossProduct(up).normalisedCopy();
    const auto first = static_cast<Ogre::uint16>(part.vertices.size());
    // Counter-clockwise seen from the front: bottom left, bottom right, top right, top left.
    const Ogre::Vector3 corners[4] = {centre - right - up, centre + right - up, centre + right + up,
                                      centre - right + up};
    const Ogre::Vector2 textureCorners[4] = {
        {0.0f, repeat}, {repeat, repeat}, {repeat, 0.0f}, {0.0f, 0.0f}};
    for (int corner = 0; corner < 4; ++corner) {
        part.vertices.push_back(
            Vertex{corners[corner], normal, textureCorners[corner], colour, bone});
        bounds.merge(corners[corner]);
    }
    for (const int offset : {0, 1, 2, 0, 2, 3})
        part.indices.push_back(static_cast<Ogre::uint16>(first + offset));
}

void MeshBuilder::addBox(const Ogre::Vector3& minimum, const Ogre::Vector3& maximum) {
    const Ogre::Vector3 centre = (minimum + maximum) * 0.5f;
    const Ogre::Vector3 half = (maximum - minimum) * 0.5f;
    const Ogre::Vector3 x(half.x, 0, 0);
    const Ogre::Vector3 y(0, half.y, 0);
    const Ogre::Vector3 z(0, 0, half.z);
    // Each face's right x up points out of the box.
    addQuad(centre + x, -z, y);
    addQuad(centre - x, z, y);
    addQuad(centre + y, x, -z);
    addQuad(centre - y, x, z);
    addQuad(centre + z, x, y);
    addQuad(centre - z, -x, y);
}

void MeshBuilder::includeInBounds(const Ogre::AxisAlignedBox& box) {
    bounds.merge(box);
}

Ogre::MeshPtr MeshBuilder::build(const std::string& name, Ogre::SkeletonPtr skeleton) const {
    Ogre::MeshPtr mesh = Ogre::MeshManager::getSingleton().createManual(
        name, Ogre::ResourceGroupManager::DEFAULT_RESOURCE_GROUP_NAME);
    if (skeleton)
        mesh->_notifySkeleton(skeleton);
    for (const Part& part : parts)
        fillSubMesh(mesh->createSubMesh(), part);
    mesh->_setBounds(bounds, false);
    mesh->_setBoundingSphereRadius(
        std::max(bounds.getMinimum().length(), bounds.getMaximum().length()));
    // A manual mesh without a loader: marks it as loaded so that entities can use it.
    mesh->load();
    return mesh;
}

void MeshBuilder::fillSubMesh(Ogre::SubMesh* subMesh, const Part& part) const {
    // The sub-mesh keeps a material, not its name: a stand-in of that name lets the
    // serializer write the name, and the scripts define the real one.
    Ogre::MaterialManager& materials = Ogre::MaterialManager::getSingleton();
    const std::string& group = Ogre::ResourceGroupManager::DEFAULT_RESOURCE_GROUP_NAME;
    if (!materials.resourceExists(part.material, group))
        materials.create(part.material, group);
    subMesh->setMaterialName(part.material, group);
    subMesh->useSharedVertices = false;
    subMesh->vertexData = OGRE_NEW Ogre::VertexData();
    subMesh->vertexData->vertexCount = part.vertices.size();

    Ogre::VertexDeclaration* declaration = subMesh->vertexData->vertexDeclaration;
    std::size_t offset = 0;
    offset += declaration->addElement(0, offset, Ogre::VET_FLOAT3, Ogre::VES_POSITION).getSize();
    offset += declaration->addElement(0, offset, Ogre::VET_FLOAT3, Ogre::VES_NORMAL).getSize();
    if (vertexColours)
        offset +=
            declaration->addElement(0, offset, Ogre::VET_COLOUR_ABGR, Ogre::VES_DIFFUSE).getSize();
    offset += declaration->addElement(0, offset, Ogre::VET_FLOAT2, Ogre::VES_TEXTURE_COORDINATES)
                  .getSize();

    std::vector<unsigned char> bytes(offset * part.vertices.size());
    unsigned char* cursor = bytes.data();
    const auto put = [&cursor](const void* value, std::size_t size) {
        std::memcpy(cursor, value, size);
        cursor += size;
    };
    for (const Vertex& vertex : part.vertices) {
        put(vertex.position.ptr(), 3 * sizeof(float));
        put(vertex.normal.ptr(), 3 * sizeof(float));
        if (vertexColours) {
            const Ogre::uint32 packed =
                Ogre::VertexElement::convertColourValue(vertex.colour, Ogre::VET_COLOUR_ABGR);
            put(&packed, sizeof(packed));
        }
        put(vertex.textureCoordinates.ptr(), 2 * sizeof(float));
    }

    Ogre::HardwareBufferManager& buffers = Ogre::HardwareBufferManager::getSingleton();
    Ogre::HardwareVertexBufferSharedPtr vertexBuffer = buffers.createVertexBuffer(
        offset, part.vertices.size(), Ogre::HardwareBuffer::HBU_STATIC_WRITE_ONLY);
    vertexBuffer->writeData(0, bytes.size(), bytes.data(), true);
    subMesh->vertexData->vertexBufferBinding->setBinding(0, vertexBuffer);

    Ogre::HardwareIndexBufferSharedPtr indexBuffer =
        buffers.createIndexBuffer(Ogre::HardwareIndexBuffer::IT_16BIT, part.indices.size(),
                                  Ogre::HardwareBuffer::HBU_STATIC_WRITE_ONLY);
    indexBuffer->writeData(0, part.indices.size() * sizeof(Ogre::uint16), part.indices.data(),
                           true);
    subMesh->indexData->indexBuffer = indexBuffer;
    subMesh->indexData->indexStart = 0;
    subMesh->indexData->indexCount = part.indices.size();

    for (std::size_t index = 0; index < part.vertices.size(); ++index) {
        if (part.vertices[index].bone == NO_BONE)
            continue;
        Ogre::VertexBoneAssignment assignment;
        assignment.vertexIndex = static_cast<unsigned int>(index);
        assignment.boneIndex = part.vertices[index].bone;
        assignment.weight = 1.0f;
        subMesh->addBoneAssignment(assignment);
    }
}

} // namespace corvane::tools

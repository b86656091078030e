#include "tests/viewer/scene/TriangleMesh.h"

#include <OgreHardwareBufferManager.h>
#include <OgreMesh.h>
#include <OgreMeshManager.h>
#include <OgreSubMesh.h>

namespace corvane::testing {

void TriangleMesh::create(const std::string& name, const std::string& group) {
    Ogre::MeshPtr mesh = Ogre::MeshManager::getSingleton().createManual(name, group);
    Ogre::SubMesh* sub = mesh->createSubMesh();
    sub->useSharedVertices = false;
    sub->vertexData = OGRE_NEW Ogre::VertexData();
    sub->vertexData->vertexCount = 3;
    sub->vertexData->vertexDeclaration->addElement(0, 0, Ogre::VET_FLOAT3, Ogre::VES_POSITION);
    const float corners[] = {0, 0, 0, 1, 0, 0, 0, 1, 0};
    Ogre::HardwareVertexBufferSharedPtr buffer =
        Ogre::HardwareBufferManager::getSingleton().createVertexBuffer(
            3 * sizeof(float), 3, Ogre::HardwareBuffer::HBU_STATIC_WRITE_ONLY);
    buffer->writeData(0, sizeof(corners), corners);
    sub->vertexData->vertexBufferBinding->setBinding(0, buffer);
    mesh->_setBounds(Ogre::AxisAlignedBox(0, 0, 0, 1, 1, 0));
    mesh->load();
}

} // namespace corvane::testing

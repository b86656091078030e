// Separately built plug-ins call each other through tables of virtual operations, so the
// position of every operation is part of the binary contract.
#include <gtest/gtest.h>

#include "framework/IActionInput.h"
#include "framework/ICameraControl.h"
#include "framework/IFrameSource.h"
#include "framework/IGuiElement.h"
#include "framework/IGuiOverlay.h"
#include "framework/IGuiProgressBar.h"
#include "framework/IOutputStatus.h"
#include "framework/IPlaybackStaging.h"
#include "framework/IPlaybackStatus.h"
#include "framework/IPlaybackTimeline.h"
#include "framework/ISceneAccess.h"
#include "framework/ISceneObject.h"
#include "framework/ISceneTimeline.h"
#include "framework/ISound.h"
#include "framework/ISoundBank.h"
#include "framework/ISoundSeek.h"
#include "framework/ISoundTrack.h"
#include "framework/IViewerCore.h"
#include "tests/support/VirtualSlot.h"

namespace corvane {
namespace {

using testing::virtualSlot;

TEST(InterfaceSlots, EveryComStyleInterfaceStartsWithTheSameThree) {
    EXPECT_EQ(virtualSlot(&IUnknown::QueryInterface), 0);
    EXPECT_EQ(virtualSlot(&IUnknown::AddRef), 1);
    EXPECT_EQ(virtualSlot(&IUnknown::Release), 2);
}

TEST(InterfaceSlots, ViewerInterfaces) {
    EXPECT_EQ(virtualSlot(&IViewerCore::getRenderWindow), 3);
    EXPECT_EQ(virtualSlot(&IViewerCore::getSceneManager), 4);

    EXPECT_EQ(virtualSlot(&ICameraControl::setLocalVelocity), 3);
    EXPECT_EQ(virtualSlot(&ICameraControl::setCameraPosition), 4);
    EXPECT_EQ(virtualSlot(&ICameraControl::setWorldVelocity), 5);
    EXPECT_EQ(virtualSlot(&ICameraControl::setMoveTarget), 6);
    EXPECT_EQ(virtualSlot(&ICameraControl::rotateDegrees), 7);
    EXPECT_EQ(virtualSlot(&ICameraControl::setOrientation), 8);
    EXPECT_EQ(virtualSlot(&ICameraControl::getPosition), 9);
    EXPECT_EQ(virtualSlot(&ICameraControl::getOrientation), 10);
    EXPECT_EQ(virtualSlot(&ICameraControl::startRotationSlerp), 11);

    EXPECT_EQ(virtualSlot(&ISceneAccess::getSceneObject), 3);
    EXPECT_EQ(virtualSlot(&ISceneAccess::setTimeScale), 4);
    EXPECT_EQ(virtualSlot(&ISceneAccess::getWindowWidth), 5);
    EXPECT_EQ(virtualSlot(&ISceneAccess::getWindowHeight), 6);

    EXPECT_EQ(virtualSlot(&ISceneTimeline::restoreLoadedScene), 3);
    EXPECT_EQ(virtualSlot(&ISceneTimeline::advanceScene), 4);

    EXPECT_EQ(virtualSlot(&IFrameSource::openTarget), 3);
    EXPECT_EQ(virtualSlot(&IFrameSource::showOverlayElement), 4);
    EXPECT_EQ(virtualSlot(&IFrameSource::setDrawing), 5);
    EXPECT_EQ(virtualSlot(&IFrameSource::readFrame), 6);
    EXPECT_EQ(virtualSlot(&IFrameSource::getTargetWidth), 7);
    EXPECT_EQ(virtualSlot(&IFrameSource::getTargetHeight), 8);
}

TEST(InterfaceSlots, SceneObjectIsPlainWithTheDestructorLast) {
    EXPECT_EQ(virtualSlot(&ISceneObject::setAnimationRate), 0);
    EXPECT_EQ(virtualSlot(&ISceneObject::setAnimationStopTime), 1);
    EXPECT_EQ(virtualSlot(&ISceneObject::stopAnimation), 2);
    EXPECT_EQ(virtualSlot(&ISceneObject::setAnimationEnabled), 3);
    EXPECT_EQ(virtualSlot(&ISceneObject::setAnimationLoop), 4);
    EXPECT_EQ(virtualSlot(&ISceneObject::setAnimationWeight), 5);
    EXPECT_EQ(virtualSlot(&ISceneObject::setWeightSlideRate), 6);
    EXPECT_EQ(virtualSlot(&ISceneObject::setWeightSlideTarget), 7);
    EXPECT_EQ(virtualSlot(&ISceneObject::setAnimationTimePosition), 8);
    EXPECT_EQ(virtualSlot(&ISceneObject::getPosition), 9);
    EXPECT_EQ(virtualSlot(&ISceneObject::getWorldPosition), 10);
    EXPECT_EQ(virtualSlot(&ISceneObject::translate), 11);
    EXPECT_EQ(virtualSlot(&ISceneObject::setPosition), 12);
    EXPECT_EQ(virtualSlot(&ISceneObject::setVelocity), 13);
    EXPECT_EQ(virtualSlot(&ISceneObject::getVelocity), 14);
    EXPECT_EQ(virtualSlot(&ISceneObject::setMoveTarget), 15);
    EXPECT_EQ(virtualSlot(&ISceneObject::getOrientation), 16);
    EXPECT_EQ(virtualSlot(&ISceneObject::setOrientationDegrees), 17);
    EXPECT_EQ(virtualSlot(&ISceneObject::setOrientation), 18);
    EXPECT_EQ(virtualSlot(&ISceneObject::rotateDegrees), 19);
    EXPECT_EQ(virtualSlot(&ISceneObject::rotate), 20);
    EXPECT_EQ(virtualSlot(&ISceneObject::startRotationSlerp), 21);
    EXPECT_EQ(virtualSlot(&ISceneObject::printTransform), 22);
    EXPECT_EQ(virtualSlot(&ISceneObject::attachToBone), 23);
    EXPECT_EQ(virtualSlot(&ISceneObject::detachFromBone), 24);
    EXPECT_EQ(virtualSlot(&ISceneObject::attachToSceneNode), 25);
    EXPECT_EQ(virtualSlot(&ISceneObject::getName), 26);
}

TEST(InterfaceSlots, PlaybackStatusAndTimeline) {
    EXPECT_EQ(virtualSlot(&IPlaybackStatus::isMenuOrAutoCamera), 3);

    EXPECT_EQ(virtualSlot(&IPlaybackTimeline::getTime), 3);
    EXPECT_EQ(virtualSlot(&IPlaybackTimeline::getLength), 4);
    EXPECT_EQ(virtualSlot(&IPlaybackTimeline::seekTo), 5);
    EXPECT_EQ(virtualSlot(&IPlaybackTimeline::setSpeed), 6);
    EXPECT_EQ(virtualSlot(&IPlaybackTimeline::getSpeed), 7);
    EXPECT_EQ(virtualSlot(&IPlaybackTimeline::stepFrames), 8);

    EXPECT_EQ(virtualSlot(&IPlaybackStaging::getScriptVersion), 3);
    EXPECT_EQ(virtualSlot(&IPlaybackStaging::getMarkerCount), 4);
    EXPECT_EQ(virtualSlot(&IPlaybackStaging::getMarker), 5);
    EXPECT_EQ(virtualSlot(&IPlaybackStaging::setInPoint), 6);
    EXPECT_EQ(virtualSlot(&IPlaybackStaging::setOutPoint), 7);
    EXPECT_EQ(virtualSlot(&IPlaybackStaging::clearRange), 8);
    EXPECT_EQ(virtualSlot(&IPlaybackStaging::getRange), 9);
    EXPECT_EQ(virtualSlot(&IPlaybackStaging::recordCameraKey), 10);
    EXPECT_EQ(virtualSlot(&IPlaybackStaging::requestExit), 11);
}

TEST(InterfaceSlots, OverlayService) {
    EXPECT_EQ(virtualSlot(&IGuiOverlay::getElement), 3);
    EXPECT_EQ(virtualSlot(&IGuiOverlay::notifyPaused), 4);
    EXPECT_EQ(virtualSlot(&IGuiOverlay::notifyResumed), 5);

    EXPECT_EQ(virtualSlot(&IGuiElement::setText), 3);
    EXPECT_EQ(virtualSlot(&IGuiElement::getText), 4);
    EXPECT_EQ(virtualSlot(&IGuiElement::wasClicked), 5);
    EXPECT_EQ(virtualSlot(&IGuiElement::show), 6);
    EXPECT_EQ(virtualSlot(&IGuiElement::hide), 7);
    EXPECT_EQ(virtualSlot(&IGuiElement::wasCloseClicked), 8);
    EXPECT_EQ(virtualSlot(&IGuiElement::isVisible), 9);
    EXPECT_EQ(virtualSlot(&IGuiElement::setPosition), 10);
    EXPECT_EQ(virtualSlot(&IGuiElement::setSize), 11);
    EXPECT_EQ(virtualSlot(&IGuiElement::setInteractive), 12);

    EXPECT_EQ(virtualSlot(&IGuiProgressBar::getProgress), 3);
    EXPECT_EQ(virtualSlot(&IGuiProgressBar::setCaption), 4);
    EXPECT_EQ(virtualSlot(&IGuiProgressBar::setProgress), 5);
}

TEST(InterfaceSlots, InputSoundAndOutput) {
    EXPECT_EQ(virtualSlot(&IActionInput::getActionValue), 3);
    EXPECT_EQ(virtualSlot(&IOutputStatus::getOutputStatus), 3);
    EXPECT_EQ(virtualSlot(&ISoundBank::findSound), 3);
    EXPECT_EQ(virtualSlot(&ISound::play), 3);
    EXPECT_EQ(virtualSlot(&ISound::stop), 4);
    EXPECT_EQ(virtualSlot(&ISound::isPlaying), 5);
    EXPECT_EQ(virtualSlot(&ISoundSeek::playFrom), 3);
    EXPECT_EQ(virtualSlot(&ISoundTrack::getSampleRate), 3);
    EXPECT_EQ(virtualSlot(&ISoundTrack::getChannelCount), 4);
    EXPECT_EQ(virtualSlot(&ISoundTrack::takeSamples), 5);
}

// A call through the raw table by index reaches the operation the header names there.
class RecordingSound final : public ISound {
public:
    HRESULT QueryInterface(const UUID&, void**) override { return E_FAIL; }
    std::int32_t AddRef() override { return 0; }
    std::int32_t Release() override { return 0; }
    void play() override { calls += "play "; }
    void stop() override { calls += "stop "; }
    bool isPlaying() override { return true; }
    std::string calls;
};

TEST(InterfaceSlots, RawTableCallsReachTheNamedOperation) {
    RecordingSound sound;
    using Call = void (*)(ISound*);
    void** table = *reinterpret_cast<void***>(static_cast<ISound*>(&sound));
    reinterpret_cast<Call>(table[4])(&sound);
    reinterpret_cast<Call>(table[3])(&sound);
    EXPECT_EQ(sound.calls, "stop play ");
}

} // namespace
} // namespace corvane

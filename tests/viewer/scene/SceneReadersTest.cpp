#include <OgreMath.h>
#include <OgreStringConverter.h>
#include <cstdint>
#include <cstring>
#include <gtest/gtest.h>
#include <random>
#include <tinyxml.h>

#include "viewer/scene/RealReader.h"
#include "viewer/scene/SceneLoader.h"

namespace corvane {
namespace {

std::uint32_t bits(float value) {
    std::uint32_t out;
    std::memcpy(&out, &value, sizeof(out));
    return out;
}

void expectSameAsEngine(const std::string& text) {
    EXPECT_EQ(bits(RealReader::parse(text.c_str())), bits(Ogre::StringConverter::parseReal(text)))
        << '"' << text << '"';
}

TEST(RealReader, ReadsEveryTextExactlyAsTheEngineDoes) {
    for (const char* text : {"",
                             " ",
                             "1",
                             "  1.5",
                             " \t\n\v\f\r2",
                             "+2",
                             "-3",
                             "-0",
                             "+-1",
                             "--1",
                             "-",
                             "+",
                             ".",
                             ".5",
                             "5.",
                             "-.5",
                             "1e5",
                             "1E-5",
                             "1e+5",
                             "1e",
                             "1e+",
                             "1ex",
                             "e5",
                             ".e5",
                             "1.2.3",
                             "1,5",
                             " 1 2",
                             "1f",
                             "abc",
                             "0x10",
                             "0X1p3",
                             "-0x10",
                             "nan",
                             "NaN",
                             "-nan",
                             "inf",
                             "-inf",
                             "Infinity",
                             "1e50",
                             "-1e50",
                             "3.4028236e38",
                             "1e308",
                             "1e309",
                             "1e-50",
                             "1e-40",
                             "1e-400",
                             "0000.25",
                             "0.1",
                             "1.00000005960464477539062500001",
                             "0.000000000000000000000000000000000000000000001",
                             "12345678901234567890123"})
        expectSameAsEngine(text);

    // Many decimals of every shape, with white space before and characters after.
    std::mt19937 random(3);
    const char* const tails[] = {"", " ", "x", "e", "e+", " 7", ".", ","};
    for (int i = 0; i < 20000; ++i) {
        std::string text(random() % 3, ' ');
        text += "+-"[random() % 2];
        const int digits = 1 + random() % 24;
        const int point = random() % (digits + 2);
        for (int d = 0; d < digits; ++d) {
            if (d == point)
                text += '.';
            text += static_cast<char>('0' + random() % 10);
        }
        if (random() % 2)
            text += "e" + std::to_string(static_cast<int>(random() % 100) - 50);
        text += tails[random() % 8];
        expectSameAsEngine(random() % 3 == 0 ? text.substr(1) : text);
    }
}

class SceneReaders : public ::testing::Test {
protected:
    const TiXmlElement* element(const char* text) {
        document.Clear();
        document.Parse(text);
        return document.RootElement();
    }
    TiXmlDocument document;
};

TEST_F(SceneReaders, VectorsAndColoursTakeTheirDefaultsAndReadAbsentComponentsAsZero) {
    EXPECT_EQ(SceneLoader::readPosition(nullptr), Ogre::Vector3::ZERO);
    EXPECT_EQ(SceneLoader::readScale(nullptr), Ogre::Vector3::UNIT_SCALE);
    EXPECT_EQ(SceneLoader::readDirection(nullptr), Ogre::Vector3::UNIT_Z);
    EXPECT_EQ(SceneLoader::readScale(element("<s x='2'/>")), Ogre::Vector3(2, 0, 0));
    EXPECT_EQ(SceneLoader::readDirection(element("<n x='0' y='0' z='0'/>")), Ogre::Vector3::ZERO);
    EXPECT_EQ(SceneLoader::readColour(element("<c r='1' g='0.5' b='0' a='0.2'/>")),
              Ogre::ColourValue(1, 0.5f, 0, 1));
    EXPECT_EQ(SceneLoader::readColour(element("<c r='2.5' g='-1'/>")),
              Ogre::ColourValue(2.5f, -1, 0, 1));

    float values[4];
    SceneLoader::readAttenuation(element("<a quadratic='4' linear='3' constant='2' range='1'/>"),
                                 values[0], values[1], values[2], values[3]);
    EXPECT_EQ(std::vector<float>(values, values + 4), (std::vector<float>{1, 2, 3, 4}));
    SceneLoader::readSpotlightRange(element("<r falloff='3' outer='40' inner='30'/>"), values[0],
                                    values[1], values[2]);
    EXPECT_EQ(std::vector<float>(values, values + 3), (std::vector<float>{30, 40, 3}));
}

TEST_F(SceneReaders, OrientationFormsAreChosenByTheirFirstNonEmptyAttribute) {
    using Ogre::Quaternion;
    EXPECT_EQ(SceneLoader::readOrientation(nullptr), Quaternion::IDENTITY);
    EXPECT_EQ(SceneLoader::readOrientation(element("<r qx='0' qy='0' qz='0' qw='2' axisx='1'/>")),
              Quaternion(2, 0, 0, 0));
    EXPECT_EQ(SceneLoader::readOrientation(element("<r qx='1' qy='0'/>")), Quaternion(0, 1, 0, 0));
    EXPECT_EQ(SceneLoader::readOrientation(element("<r qx='' qw='5'/>")), Quaternion::IDENTITY);
    EXPECT_EQ(SceneLoader::readOrientation(element("<r angle='90'/>")), Quaternion::IDENTITY);

    const Quaternion quarter = SceneLoader::readOrientation(
        element("<r qx='' anglex='0' angley='1' anglez='0' angle='90'/>"));
    EXPECT_TRUE(
        quarter.equals(Quaternion(Ogre::Degree(90), Ogre::Vector3::UNIT_Y), Ogre::Radian(1e-3f)));
    EXPECT_TRUE((quarter * Ogre::Vector3::UNIT_Z).positionEquals(Ogre::Vector3::UNIT_X, 1e-6f));

    // The axes form turns (0, 0, 1) onto its direction, also onto its opposite; a zero
    // direction turns nothing.
    const std::pair<const char*, Ogre::Vector3> directions[] = {
        {"<r axisx='3' axisy='0' axisz='0'/>", Ogre::Vector3::UNIT_X},
        {"<r axisx='0' axisz='-2'/>", Ogre::Vector3::NEGATIVE_UNIT_Z}};
    for (const auto& [text, direction] : directions) {
        const Quaternion turn = SceneLoader::readOrientation(element(text));
        EXPECT_NEAR(turn.Norm(), 1.0f, 1e-6f) << text;
        EXPECT_TRUE((turn * Ogre::Vector3::UNIT_Z).positionEquals(direction, 1e-6f)) << text;
    }
    EXPECT_EQ(SceneLoader::readOrientation(element("<r axisx='0' axisy='0' axisz='0'/>")),
              Quaternion::IDENTITY);
}

TEST_F(SceneReaders, AttributeReadersLeaveTheirOutputAloneWhenTheAttributeIsAbsent) {
    const TiXmlElement* light = element("<light name='' visible='false' on='yes'/>");
    std::string text = "kept";
    EXPECT_TRUE(SceneLoader::getAttribute(light, "name", text));
    EXPECT_EQ(text, "");
    text = "kept";
    EXPECT_FALSE(SceneLoader::getAttribute(light, "type", text));
    EXPECT_EQ(text, "kept");

    bool flag = true;
    EXPECT_TRUE(SceneLoader::getAttributeBool(light, "visible", flag));
    EXPECT_FALSE(flag);
    EXPECT_TRUE(SceneLoader::getAttributeBool(light, "on", flag));
    EXPECT_TRUE(flag);
    flag = false;
    EXPECT_FALSE(SceneLoader::getAttributeBool(light, "static", flag));
    EXPECT_FALSE(flag);
}

TEST(AutoName, CountsUpInPlainDecimalAcrossCalls) {
    const std::uint32_t first = SceneLoader::nextAutoNameNumber();
    EXPECT_EQ(SceneLoader::makeAutoName(), "dsl_autoname_" + std::to_string(first));
    EXPECT_EQ(SceneLoader::makeAutoName(), "dsl_autoname_" + std::to_string(first + 1));
    EXPECT_EQ(SceneLoader::nextAutoNameNumber(), first + 2);
}

} // namespace
} // namespace corvane

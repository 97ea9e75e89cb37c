// The value rules of the small settings dialogs: sound velocity, image rotation, user
// text, profile setup and the read-only playback settings.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/SonarState.h"
#include "settings/DialogEntries.h"

namespace tidemar {
namespace {

const MessageText MetresRefused{"Sound Velocity", "Speed of Sound is out of range!\nUse 750.0 to 2250.0 m/s."};
const MessageText FeetRefused{"Sound Velocity", "Speed of Sound is out of range!\nUse 2460.7 to 7381.8 ft/s."};

TEST(SoundVelocity, LimitsInMetres) {
    SonarState state;
    EXPECT_EQ(AcceptSoundVelocity(state, 749.9f), MetresRefused);
    EXPECT_EQ(AcceptSoundVelocity(state, 2250.1f), MetresRefused);
    EXPECT_EQ(state.SoundVelocityMeters, 1500.0f) << "a refusal stores nothing";
    EXPECT_FALSE(AcceptSoundVelocity(state, 750.0f));
    EXPECT_EQ(state.SoundVelocityMeters, 750.0f);
    EXPECT_FALSE(AcceptSoundVelocity(state, 2250.0f));
    EXPECT_EQ(state.SoundVelocityMeters, 2250.0f);
}

TEST(SoundVelocity, LimitsInFeet) {
    SonarState state;
    state.Units = 1;
    EXPECT_EQ(AcceptSoundVelocity(state, SoundVelocityFromText("2460.6")), FeetRefused)
        << "below 750 m/s although the message names 2460.7";
    EXPECT_EQ(AcceptSoundVelocity(state, 7381.9f), FeetRefused);
    EXPECT_FALSE(AcceptSoundVelocity(state, SoundVelocityFromText("2460.65")));
    EXPECT_NEAR(state.SoundVelocityMeters, 750.0f, 0.01f);
    EXPECT_FALSE(AcceptSoundVelocity(state, 7381.8f));
    EXPECT_NEAR(state.SoundVelocityMeters, 2249.97f, 0.01f);
}

TEST(SoundVelocity, StartDefaultAndTexts) {
    SonarState state;
    EXPECT_EQ(SoundVelocityStart(state), 1500.0f);
    EXPECT_EQ(SoundVelocityText(1500.0f), "1500.0");
    EXPECT_EQ(SoundVelocityText(750.0f), "0750.0");
    EXPECT_EQ(SoundVelocityUnitLabel(0), "m/s");
    state.Units = 1;
    EXPECT_NEAR(SoundVelocityStart(state), 4921.26f, 0.01f);
    EXPECT_EQ(SoundVelocityText(SoundVelocityDefault(1)), "4921.3");
    EXPECT_EQ(SoundVelocityUnitLabel(1), "ft/s");
    EXPECT_EQ(SoundVelocityFromText("1234.5"), 1234.5f);
    EXPECT_EQ(SoundVelocityFromText("abc"), 0.0f);
}

TEST(SoundVelocity, ArrowsStopAtLimitsThatOkAccepts) {
    EXPECT_EQ(StepSoundVelocity(2249.95f, 1, 0), 2250.0f);
    EXPECT_EQ(StepSoundVelocity(750.05f, -1, 0), 750.0f);
    EXPECT_NEAR(StepSoundVelocity(1500.0f, 1, 0), 1500.1f, 1e-3);

    SonarState state;
    state.Units = 1;
    const float low = StepSoundVelocity(2460.7f, -1, 1);
    EXPECT_EQ(StepSoundVelocity(low, -1, 1), low) << "held at the lower limit";
    EXPECT_FALSE(AcceptSoundVelocity(state, low)) << "the arrows' lower limit must be accepted";
    const float high = StepSoundVelocity(7381.8f, 1, 1);
    EXPECT_EQ(StepSoundVelocity(high, 1, 1), high);
    EXPECT_FALSE(AcceptSoundVelocity(state, high));
}

TEST(OffsetAngle, LimitsStepsAndTexts) {
    SonarState state;
    const MessageText refused{"Rotate Sonar Image", "Angle is out of range!\nUse -180.0 to 180.0 Deg"};
    EXPECT_EQ(AcceptOffsetAngle(state, 180.1f), refused);
    EXPECT_EQ(AcceptOffsetAngle(state, -180.1f), refused);
    EXPECT_EQ(state.ImageRotation, 0.0f);
    EXPECT_FALSE(AcceptOffsetAngle(state, -180.0f));
    EXPECT_EQ(state.ImageRotation, -180.0f);
    EXPECT_FALSE(AcceptOffsetAngle(state, OffsetAngleFromText("-179.9")));
    EXPECT_NEAR(state.ImageRotation, -179.9f, 1e-4) << "the whole box is read";

    EXPECT_EQ(StepOffsetAngle(179.95f, 1), 180.0f);
    EXPECT_EQ(StepOffsetAngle(-180.0f, -1), -180.0f);
    EXPECT_EQ(OffsetAngleText(0.0f), "  0.0");
    EXPECT_EQ(OffsetAngleText(-12.34f), "-12.3");
}

TEST(UserText, StoredAsWindows1252OrRefused) {
    const std::string Refusal = "The user text cannot hold ";
    const std::string Hint = ".\nUse the letters, digits and signs of Western European text (Windows-1252).";
    const struct {
        const char* Typed;  // UTF-8, as the box gives it
        std::string Stored;
        std::string Message;  // empty: accepted
        const char* Legend;
    } rows[] = {
        {"0123456789012345678901234567890123456789", "01234567890123456789012345678", "", "the first 29 kept"},
        {"Harbour survey", "Harbour survey", "", "plain text"},
        {"", "", "", "empty"},
        {"5° Ørsted “€”", "5\xB0 \xD8rsted \x93\x80\x94", "", "one byte a character"},
        {"ØØØØØØØØØØØØØØØØØØØØØØØØØØØØØØØØ", std::string(29, '\xD8'), "", "29 characters, not 29 UTF-8 bytes"},
        {"Pier 漢", "", Refusal + "\"漢\" (U+6F22)" + Hint, "outside the code page"},
        {"漢字漢 😀", "", Refusal + "\"漢\" (U+6F22), \"字\" (U+5B57), \"😀\" (U+1F600)" + Hint, "each named once"},
        {"a\tb\nc\u0081", "", Refusal + "U+0009, U+000A, U+0081" + Hint, "control characters by number"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.Legend);
        SonarState state;
        state.UserText = "before";
        const auto refusal = AcceptUserText(state, row.Typed);
        if (row.Message.empty()) {
            EXPECT_FALSE(refusal);
            EXPECT_EQ(state.UserText, row.Stored);
        } else {
            EXPECT_EQ(refusal, (MessageText{"User Text", row.Message}));
            EXPECT_EQ(state.UserText, "before");
        }
    }
}

TEST(ProfileSetup, OpeningResetsARangeBeyondTheUnitsLimit) {
    SonarState state;
    state.ProfileMinimumRange = 25.0f;
    OpenProfileSetup(state);
    EXPECT_EQ(state.ProfileMinimumRange, 25.0f);
    state.ProfileMinimumRange = 25.1f;
    OpenProfileSetup(state);
    EXPECT_EQ(state.ProfileMinimumRange, 0.0f);

    state.Units = 1;
    state.ProfileMinimumRange = 82.0f;
    OpenProfileSetup(state);
    EXPECT_EQ(state.ProfileMinimumRange, 82.0f);
    state.ProfileMinimumRange = 90.0f;
    OpenProfileSetup(state);
    EXPECT_EQ(state.ProfileMinimumRange, 0.0f);
    EXPECT_EQ(ProfileMinimumRangeText(state.ProfileMinimumRange), " 0.0");
}

TEST(ProfileSetup, OkChecksRangeThenLevelAndStoresOnlyWhenBothPass) {
    const MessageText rangeMetres{"Profile Setup", "Minimum Range is out of range!\nUse 0 to 25 Meters."};
    const MessageText rangeFeet{"Profile Setup", "Minimum Range is out of range!\nUse 0 to 82 Feet."};
    const MessageText level{"Profile Setup", "Minimum Level is out of range!\nUse 10 to 90 Percent."};
    SonarState state;
    EXPECT_EQ(AcceptProfileSetup(state, "25.1", "50"), std::vector<MessageText>{rangeMetres});
    EXPECT_EQ(AcceptProfileSetup(state, "-0.1", "9"), (std::vector<MessageText>{rangeMetres, level}));
    EXPECT_EQ(AcceptProfileSetup(state, "5", "91"), std::vector<MessageText>{level});
    EXPECT_EQ(AcceptProfileSetup(state, "5", "x"), std::vector<MessageText>{level});
    EXPECT_EQ(state.ProfileMinimumRange, 0.0f);
    EXPECT_EQ(state.ProfileMinimumLevel, 70) << "nothing stored while anything is refused";

    EXPECT_TRUE(AcceptProfileSetup(state, "12.5", "10").empty());
    EXPECT_EQ(state.ProfileMinimumRange, 12.5f);
    EXPECT_EQ(state.ProfileMinimumLevel, 10);
    EXPECT_TRUE(AcceptProfileSetup(state, " 0.0", "90").empty());

    state.Units = 1;
    EXPECT_EQ(AcceptProfileSetup(state, "82.1", "50"), std::vector<MessageText>{rangeFeet});
    EXPECT_TRUE(AcceptProfileSetup(state, "82", "50").empty());
    EXPECT_EQ(state.ProfileMinimumRange, 82.0f);
}

TEST(ProfileSetup, ArrowsAndControlStates) {
    EXPECT_EQ(StepProfileMinimumRange(24.95f, 1, 0), 25.0f);
    EXPECT_EQ(StepProfileMinimumRange(25.0f, 1, 1), 25.1f);
    EXPECT_EQ(StepProfileMinimumRange(0.0f, -1, 0), 0.0f);
    EXPECT_EQ(StepProfileMinimumLevel(90, 1), 90);
    EXPECT_EQ(StepProfileMinimumLevel(10, -1), 10);
    EXPECT_EQ(StepProfileMinimumLevel(50, 1), 51);

    SonarState state;
    ProfileSetupControls controls = ProfileSetupControlStates(state);
    EXPECT_TRUE(controls.RangeEditable);
    EXPECT_FALSE(controls.LevelEditable);
    EXPECT_FALSE(controls.DetectionEnabled);
    state.RunMode = DataSource::File;
    EXPECT_FALSE(ProfileSetupControlStates(state).RangeEditable) << "head-reported ranges in playback";
    state.ProfileDigitizationSource = 1;
    controls = ProfileSetupControlStates(state);
    EXPECT_TRUE(controls.RangeEditable);
    EXPECT_TRUE(controls.LevelEditable);
    EXPECT_TRUE(controls.DetectionEnabled);
}

TEST(PlaybackSettings, TextsOfThePingShown) {
    SonarState state;
    state.ReturnHeadID = 17;
    state.Frequency = 675;
    state.FileFrequency = 310;
    state.Absorption = 20;
    state.PulseLength = 530;
    PlaybackSettingsTexts texts = PlaybackSettingsTextsOf(state);
    EXPECT_EQ(texts.HeadId, "2");
    EXPECT_EQ(texts.Frequency, "675 kHz") << "live: the frequency in force";
    EXPECT_EQ(texts.Absorption, "0.20 dB/m");
    EXPECT_EQ(texts.PulseLength, "530 usec");

    state.RunMode = DataSource::File;
    state.Units = 1;
    texts = PlaybackSettingsTextsOf(state);
    EXPECT_EQ(texts.Frequency, "310 kHz") << "playback: the played record's frequency";
    EXPECT_EQ(texts.Absorption, "0.06096") << "feet: the number only";
}

}  // namespace
}  // namespace tidemar

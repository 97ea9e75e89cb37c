// Copying the played records into a second file.
#include <gtest/gtest.h>

#include <filesystem>

#include "FilesTestSupport.h"
#include "files/DataFileCheck.h"
#include "files/Playback.h"

namespace tidemar {
namespace {

using filestest::Bytes;
using filestest::ReadAll;
using filestest::TempDir;

// Stands in for the surface detection, which replaces the profile range of the reply.
class SurfaceTarget : public filestest::CountingTarget {
public:
    explicit SurfaceTarget(SonarState& state) : CountingTarget(state), state_(state) {}
    void PlotSectorPing() override {
        state_.ReceiveBuffer[8] = 0x33;
        state_.ReceiveBuffer[9] = 0x04;
    }

private:
    SonarState& state_;
};

struct CopyFixture : ::testing::Test {
    TempDir dir;
    ScriptedPrompts prompts;
    RecordedChrome chrome;
    Playback playback{prompts, chrome};
    SonarState state = filestest::PlaybackState();
    SurfaceTarget target{state};
    ManualClock clock;
    std::string source = dir.File("Source.K7T");
    std::string copy = dir.File("Copy.K7T");

    void SetUp() override {
        filestest::MakeRecordedFile(source, 4);
        ASSERT_TRUE(playback.OpenPlaybackFile(source, state, target));
    }
    void Steps(int n) {
        for (int i = 0; i < n; ++i) playback.PlaybackStep(state, clock, target);
    }
    int StartCopyTo(const std::string& name) {
        prompts.FileAnswers.push_back(name);
        return playback.StartCopy();
    }
};

TEST_F(CopyFixture, StartAndStopSetTitleAndMenu) {
    ASSERT_EQ(StartCopyTo(copy), 1);
    EXPECT_TRUE(playback.Copying());
    EXPECT_EQ(prompts.FileDialogs.at(0).Title, "Open a Sonar File For Copying");
    EXPECT_TRUE(prompts.FileDialogs.at(0).PromptOverwrite);
    EXPECT_EQ(chrome.Title, "Tidemar Digital Sonar - Copying to " + copy);
    EXPECT_EQ(chrome.MenuTexts[16], "&Copy Stop...");

    playback.StopCopy();
    EXPECT_FALSE(playback.Copying());
    ASSERT_EQ(prompts.Messages.size(), 1u);
    EXPECT_EQ(prompts.Messages[0].Caption, "Close Copy File");
    EXPECT_EQ(prompts.Messages[0].Text, copy);
    EXPECT_EQ(chrome.Title, "Tidemar Digital Sonar - Playback of " + source);
    EXPECT_EQ(chrome.MenuTexts[16], "&Copy Start...");
}

TEST_F(CopyFixture, RefusedNamesSayWhy) {
    EXPECT_EQ(StartCopyTo(dir.File("copy.bin")), 0);
    ASSERT_EQ(prompts.Messages.size(), 1u);
    EXPECT_EQ(prompts.Messages[0].Caption, "Copy a Sonar File");
    EXPECT_EQ(prompts.Messages[0].Text, "File extension must be .K7T");

    // The file being played, named in other letters' case through a link: creating it
    // would empty it.
    std::filesystem::create_symlink(source, dir.File("same.k7t"));
    EXPECT_EQ(StartCopyTo(dir.File("same.k7t")), 0);
    ASSERT_EQ(prompts.Messages.size(), 2u);
    EXPECT_EQ(prompts.Messages[1].Caption, "Copy a Sonar File");
    EXPECT_EQ(std::filesystem::file_size(source), 4u * 640);
    EXPECT_FALSE(playback.Copying());
    // The check goes with the dialog, which refuses the name before asking to replace it.
    const FileDialogRequest& asked = prompts.FileDialogs.back();
    ASSERT_TRUE(asked.Refuses);
    EXPECT_FALSE(asked.Refuses(copy));
    EXPECT_TRUE(asked.Refuses(source));
    EXPECT_EQ(prompts.Messages.size(), 3u);
}

TEST_F(CopyFixture, PlayedRecordsAreCopiedWithTheDetectedProfileRange) {
    Steps(1);  // the first record: read, not shown
    ASSERT_EQ(StartCopyTo(copy), 1);
    Steps(3);  // records 2 to 4
    EXPECT_EQ(playback.CopiedBytes(), 3 * 640);
    EXPECT_EQ(chrome.Title, "Tidemar Digital Sonar - Copying to " + copy + " - 1 kB");
    playback.StopCopy();

    const Bytes source_bytes = ReadAll(source);
    const Bytes copied = ReadAll(copy);
    ASSERT_EQ(copied.size(), 3u * 640);
    for (int i = 0; i < 3; ++i) {
        const uint8_t* from = source_bytes.data() + 640 * (i + 1);
        const uint8_t* to = copied.data() + 640 * i;
        EXPECT_EQ(to[108], 0x33) << "record " << i;
        EXPECT_EQ(to[109], 0x04);
        EXPECT_TRUE(std::equal(from, from + 108, to)) << "header and reply start as read";
        EXPECT_TRUE(std::equal(from + 110, from + 638, to + 110)) << "the rest as read";
        EXPECT_EQ(RecordBackLink(to, 640), i == 0 ? 640 : 1280) << "links of the copy's own";
    }
    DataFileReader reader;
    ASSERT_TRUE(reader.Open(copy, nullptr));
    EXPECT_TRUE(VerifyDataFile(reader).empty());
}

TEST_F(CopyFixture, NothingIsCopiedBackwards) {
    ASSERT_EQ(StartCopyTo(copy), 1);
    Steps(2);
    state.PlaybackReverse = 1;
    Steps(3);
    state.PlaybackReverse = 0;
    Steps(1);
    playback.StopCopy();
    // Forwards: records 1 and 2; backwards: 3, 2, 1 left out; forwards again: 4 (the wrap
    // went to the last record).
    const Bytes copied = ReadAll(copy);
    ASSERT_EQ(copied.size(), 3u * 640);
    const int positions[] = {100, 200, 400};
    for (int i = 0; i < 3; ++i) {
        const uint8_t* reply = copied.data() + 640 * i + 100;
        EXPECT_EQ((reply[5] & 0x7F) | ((reply[6] & 0x3F) << 7), positions[i]) << "record " << i;
    }
}

TEST_F(CopyFixture, CopyEndsAtTheEndOfTheFile) {
    ASSERT_EQ(StartCopyTo(copy), 1);
    Steps(10);  // the 4 records, the end of the file, then playback starts over
    EXPECT_FALSE(playback.Copying());
    EXPECT_EQ(ReadAll(copy).size(), 4u * 640);
    ASSERT_EQ(prompts.Messages.size(), 1u);
    EXPECT_EQ(prompts.Messages[0].Caption, "Copy a Sonar File");
    EXPECT_EQ(prompts.Messages[0].Text, "End of file: 4 records copied to " + copy + ".");
    EXPECT_EQ(chrome.Title, "Tidemar Digital Sonar - Playback of " + source);
    EXPECT_EQ(chrome.MenuTexts[16], "&Copy Start...");
}

TEST_F(CopyFixture, FailedWriteIsToldOnceAndStopsCopying) {
    const std::string full = dir.File("full.K7T");
    std::filesystem::create_symlink("/dev/full", full);
    ASSERT_EQ(StartCopyTo(full), 1);
    Steps(3);
    EXPECT_FALSE(playback.Copying());
    ASSERT_EQ(prompts.Messages.size(), 1u);
    EXPECT_EQ(prompts.Messages[0].Caption, "Copy Error");
    EXPECT_NE(prompts.Messages[0].Text.find(full), std::string::npos);
    EXPECT_EQ(chrome.Title, "Tidemar Digital Sonar - Playback of " + source);
    EXPECT_EQ(chrome.MenuTexts[16], "&Copy Start...");
    EXPECT_EQ(target.Played.size(), 2u) << "playback goes on";
}

}  // namespace
}  // namespace tidemar

// Recording through the operator's dialogs: names, messages, titles, menu texts, the kB
// counter, and what a failing disk leaves behind.
#include <gtest/gtest.h>

#include <sys/resource.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>

#include "FilesTestSupport.h"
#include "files/DataFileChoice.h"
#include "files/Recorder.h"

namespace tidemar {
namespace {

using filestest::Bytes;
using filestest::LivePing;
using filestest::ReadAll;
using filestest::TempDir;

struct RecorderFixture : ::testing::Test {
    TempDir dir;
    ScriptedPrompts prompts;
    RecordedChrome chrome;
    Recorder recorder{prompts, chrome};
};

TEST_F(RecorderFixture, StartAsksForAFileAndShowsItInTitleAndMenu) {
    const std::string name = dir.File("Survey-North.K7T");
    prompts.FileAnswers.push_back(name);
    EXPECT_EQ(recorder.StartRecording(), 1);
    EXPECT_TRUE(recorder.Recording());
    ASSERT_EQ(prompts.FileDialogs.size(), 1u);
    const FileDialogRequest& dialog = prompts.FileDialogs[0];
    EXPECT_EQ(dialog.Title, "Open a Sonar File For Recording");
    EXPECT_EQ(dialog.FilterName, "SK7T Sonar Files (*.K7T)");
    EXPECT_EQ(dialog.Pattern, "*.K7T");
    EXPECT_EQ(dialog.DefaultExtension, "K7T");
    EXPECT_EQ(dialog.InitialName, "");
    EXPECT_TRUE(dialog.PathMustExist);
    EXPECT_TRUE(dialog.PromptOverwrite);
    EXPECT_TRUE(dialog.HideReadOnly);
    EXPECT_EQ(chrome.Title, "Tidemar Digital Sonar - Recording to " + name);
    EXPECT_EQ(chrome.MenuTexts[15], "&Record Stop...");
    EXPECT_TRUE(std::filesystem::exists(name)) << "the name keeps its case";
    EXPECT_TRUE(prompts.Messages.empty());

    recorder.StopRecording();
    EXPECT_FALSE(recorder.Recording());
    ASSERT_EQ(prompts.Messages.size(), 1u);
    EXPECT_EQ(prompts.Messages[0].Caption, "Close Record File");
    EXPECT_EQ(prompts.Messages[0].Text, name);
    EXPECT_EQ(chrome.Title, "Tidemar Digital Sonar");
    EXPECT_EQ(chrome.MenuTexts[15], "&Record Start...");
}

TEST_F(RecorderFixture, ExtensionIsCheckedWithoutRegardToCase) {
    struct Case {
        const char* legend;
        const char* name;
        bool accepted;
    } cases[] = {
        {"upper case", "a.K7T", true},         {"lower case", "b.k7t", true},
        {"mixed case", "c.K7t", true},         {"other extension", "d.DAT", false},
        {"no extension", "e", false},          {"extension only on the folder", "f.K7T/g", false},
        {"longer extension", "h.K7TX", false},
    };
    for (const Case& c : cases) EXPECT_EQ(HasDataFileExtension(c.name), c.accepted) << c.legend;

    prompts.FileAnswers.push_back(dir.File("survey.dat"));
    EXPECT_EQ(recorder.StartRecording(), 0);
    EXPECT_FALSE(recorder.Recording());
    ASSERT_EQ(prompts.Messages.size(), 1u);
    EXPECT_EQ(prompts.Messages[0].Caption, "Open a Sonar File For Recording");
    EXPECT_EQ(prompts.Messages[0].Text, "File extension must be .K7T");
    EXPECT_EQ(prompts.Messages[0].Icon, MessageIcon::Exclamation);
    EXPECT_FALSE(std::filesystem::exists(dir.File("survey.dat"))) << "no file created";
    EXPECT_TRUE(chrome.TitleHistory.empty());
}

TEST_F(RecorderFixture, LowerCaseExtensionIsAcceptedAndTheNameKept) {
    const std::string name = dir.File("Harbour.k7t");
    prompts.FileAnswers.push_back(name);
    EXPECT_EQ(recorder.StartRecording(), 1);
    EXPECT_TRUE(std::filesystem::exists(name));
    EXPECT_FALSE(std::filesystem::exists(dir.File("harbour.k7t")));
    EXPECT_EQ(chrome.Title, "Tidemar Digital Sonar - Recording to " + name);
    EXPECT_TRUE(prompts.Messages.empty());
}

TEST_F(RecorderFixture, CancelChangesNothing) {
    EXPECT_EQ(recorder.StartRecording(), 0);
    EXPECT_FALSE(recorder.Recording());
    EXPECT_TRUE(prompts.Messages.empty());
    EXPECT_TRUE(chrome.TitleHistory.empty());
    EXPECT_TRUE(chrome.MenuTexts.empty());
    recorder.StopRecording();
    EXPECT_TRUE(prompts.Messages.empty()) << "stopping when not recording shows nothing";
}

TEST_F(RecorderFixture, FileThatCannotBeCreatedIsSaid) {
    prompts.FileAnswers.push_back(dir.File("missing-folder/survey.K7T"));
    EXPECT_EQ(recorder.StartRecording(), 0);
    EXPECT_FALSE(recorder.Recording());
    ASSERT_EQ(prompts.Messages.size(), 1u);
    EXPECT_EQ(prompts.Messages[0].Caption, "Open a Sonar File For Recording");
    EXPECT_NE(prompts.Messages[0].Text.find("missing-folder/survey.K7T"), std::string::npos);
    EXPECT_TRUE(chrome.MenuTexts.empty());
}

TEST_F(RecorderFixture, RecordsChainAndTheTitleCountsKilobytes) {
    const std::string name = dir.File("count.K7T");
    prompts.FileAnswers.push_back(name);
    recorder.StartRecording();
    recorder.WriteRecord(LivePing(100));
    EXPECT_EQ(recorder.RecordedBytes(), 640);
    EXPECT_EQ(chrome.TitleHistory.size(), 1u) << "still 0 kB";
    recorder.WriteRecord(LivePing(200));
    EXPECT_EQ(chrome.Title, "Tidemar Digital Sonar - Recording to " + name + " - 1 kB");
    recorder.WriteRecord(LivePing(300, 7, 'P'));
    EXPECT_EQ(chrome.TitleHistory.size(), 2u) << "1408 bytes are still 1 kB";
    recorder.WriteRecord(LivePing(400));
    EXPECT_EQ(chrome.Title, "Tidemar Digital Sonar - Recording to " + name + " - 2 kB");
    recorder.StopRecording();

    const Bytes file = ReadAll(name);
    ASSERT_EQ(file.size(), 640u + 640 + 128 + 640);
    const int links[] = {RecordBackLink(file.data(), 640), RecordBackLink(file.data() + 640, 640),
                         RecordBackLink(file.data() + 1280, 128), RecordBackLink(file.data() + 1408, 640)};
    EXPECT_EQ(links[0], 640) << "the first record links to itself";
    EXPECT_EQ(links[1], 1280);
    EXPECT_EQ(links[2], 768);
    EXPECT_EQ(links[3], 768);
}

TEST_F(RecorderFixture, StartingAgainWhileRecordingKeepsTheFile) {
    prompts.FileAnswers.push_back(dir.File("one.K7T"));
    prompts.FileAnswers.push_back(dir.File("two.K7T"));
    recorder.StartRecording();
    EXPECT_EQ(recorder.StartRecording(), 0);
    EXPECT_EQ(recorder.FileName(), dir.File("one.K7T"));
    EXPECT_EQ(prompts.FileDialogs.size(), 1u);
}

TEST_F(RecorderFixture, FullDiskIsToldOnceAndStopsRecording) {
    const std::string name = dir.File("full.K7T");
    std::filesystem::create_symlink("/dev/full", name);
    prompts.FileAnswers.push_back(name);
    ASSERT_EQ(recorder.StartRecording(), 1);
    recorder.WriteRecord(LivePing(100));
    recorder.WriteRecord(LivePing(200));
    EXPECT_FALSE(recorder.Recording());
    ASSERT_EQ(prompts.Messages.size(), 1u);
    EXPECT_EQ(prompts.Messages[0].Caption, "Record Error");
    EXPECT_NE(prompts.Messages[0].Text.find(name), std::string::npos);
    EXPECT_NE(prompts.Messages[0].Text.find("No space left on device"), std::string::npos);
    EXPECT_EQ(chrome.Title, "Tidemar Digital Sonar");
    EXPECT_EQ(chrome.MenuTexts[15], "&Record Start...");
    EXPECT_EQ(recorder.RecordedBytes(), 0);
}

// A file size limit stops the write in the middle of the third record; the file keeps the
// two whole records before it.
TEST_F(RecorderFixture, WriteCutShortLeavesOnlyWholeRecords) {
    const std::string name = dir.File("limit.K7T");
    prompts.FileAnswers.push_back(name);
    ASSERT_EQ(recorder.StartRecording(), 1);

    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    auto* previous = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limited = saved;
    limited.rlim_cur = 1500;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limited), 0);
    for (int i = 1; i <= 4; ++i) recorder.WriteRecord(LivePing(100 * i));
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previous);

    EXPECT_FALSE(recorder.Recording());
    ASSERT_EQ(prompts.Messages.size(), 1u) << "told once, not for every ping after";
    EXPECT_EQ(prompts.Messages[0].Caption, "Record Error");
    EXPECT_EQ(recorder.RecordedBytes(), 1280);
    const Bytes file = ReadAll(name);
    ASSERT_EQ(file.size(), 1280u);
    EXPECT_EQ(RecordBackLink(file.data() + 640, 640), 1280);
}

TEST_F(RecorderFixture, GpsHalvesAreRecordedWhenGpsIsOn) {
    const std::string name = dir.File("gps.K7T");
    filestest::MakeRecordedFile(name, 2, true);
    const Bytes file = ReadAll(name);
    ASSERT_EQ(file.size(), 2u * 768);
    EXPECT_EQ(RecordGpsText(file.data() + 768, 768, true), " 49.16.451 N123.11.123 W");
    EXPECT_EQ(RecordBackLink(file.data() + 768, 768), 1536);
}

}  // namespace
}  // namespace tidemar

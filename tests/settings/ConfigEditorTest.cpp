// The configuration editor's name display, extension check and Load / Save As / Default /
// Ok steps.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TempDir.h"
#include "core/SonarState.h"
#include "settings/ConfigEditor.h"
#include "settings/ConfigFile.h"

namespace tidemar {
namespace {

using testing::ReadBytes;
using testing::TempDir;
using testing::WriteBytes;

TEST(ShortConfigName, LongPathsAreShortened) {
    struct Case {
        std::string name, shown;
        const char* legend;
    };
    const Case cases[] = {
        {"Default", "Default", "short"},
        {"/home/survey/configs/a.cfg", "/home/survey/configs/a.cfg", "26 characters"},
        {std::string("/a/") + std::string(27, 'b'), std::string("/a/") + std::string(27, 'b'), "30 characters"},
        {std::string("/a/") + std::string(28, 'b'), "/a/bbbbbbb .../" + std::string(28, 'b'), "31 characters"},
        {"/home/survey/harbour/2024/north-pier.cfg", "/home/surv .../north-pier.cfg", "long"},
        {std::string(40, 'x') + ".cfg", std::string(40, 'x') + ".cfg", "long without a slash"},
        {"/home/survey/harbour/2024/north/", "/home/surv .../", "ends with a slash"},
    };
    for (const Case& c : cases) EXPECT_EQ(ShortConfigName(c.name), c.shown) << c.legend;
}

TEST(HasConfigExtension, ThreeCharactersAfterTheLastDot) {
    for (const char* good : {"a.cfg", "/x/A.CFG", "b.Cfg", "site.v2.cfg", "a.cfgx"})
        EXPECT_TRUE(HasConfigExtension(good)) << good;
    for (const char* bad : {"a.cf", "cfg", "a.txt", "/dir.cfg/file", "a.", "", ".cf"})
        EXPECT_FALSE(HasConfigExtension(bad)) << bad;
}

TEST(ConfigEditor, LoadReadsIntoTheWorkingCopy) {
    TempDir dir;
    UserConfigTable table = DefaultUserConfigTable();
    table[4] = {5, 880, 44, 60};
    ASSERT_TRUE(WriteConfigFile(dir.File("Site.CFG"), table));

    SonarState state;
    ResetUserConfig(state.UserConfig);
    std::vector<MessageText> messages;
    ASSERT_TRUE(LoadConfigFromEditor(state, dir.File("Site.CFG"), messages));
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(state.EditConfigName, dir.File("Site.CFG")) << "the name keeps its case";
    EXPECT_EQ(state.ConfigPathBuffer, dir.File("Site.CFG"));
    EXPECT_EQ(state.UserConfig.Working[4].Frequency, 880);
    EXPECT_EQ(state.UserConfig.Active[4].Frequency, 1000) << "the active table waits for Ok";
    EXPECT_EQ(CellTextsOf(state.UserConfig.Working, 0)[4], (std::array<std::string, 3>{"880", "0.44", "60"}));
}

TEST(ConfigEditor, LoadRefusals) {
    TempDir dir;
    WriteBytes(dir.File("bad.cfg"), "not a configuration");
    SonarState state;
    state.UserConfig.Working[0].Frequency = 123;
    std::vector<MessageText> messages;
    EXPECT_FALSE(LoadConfigFromEditor(state, dir.File("bad.cfg"), messages));
    EXPECT_TRUE(messages.empty()) << "an unreadable file shows nothing";
    EXPECT_EQ(state.EditConfigName, dir.File("bad.cfg"));
    EXPECT_EQ(state.UserConfig.Working[0].Frequency, 123);

    EXPECT_FALSE(LoadConfigFromEditor(state, dir.File("table.txt"), messages));
    EXPECT_EQ(messages, (std::vector<MessageText>{{"Load Configuration", "File extension must be .CFG"}}));
    EXPECT_EQ(state.EditConfigName, dir.File("table.txt"));
}

TEST(ConfigEditor, SaveAsCommitsTheCellsAndWritesTheActiveTable) {
    TempDir dir;
    SonarState state;
    ResetUserConfig(state.UserConfig);
    state.UserConfig.Working = state.UserConfig.Active;
    UserConfigCellTexts cells = CellTextsOf(state.UserConfig.Working, 0);
    cells[6] = {"452", "0.33", "75"};
    cells[7][FrequencyColumn] = "5000";  // refused silently, the cell keeps its value
    std::vector<MessageText> messages;
    ASSERT_TRUE(SaveConfigFromEditor(state, dir.File("new.cfg"), cells, messages));
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(state.EditConfigName, dir.File("new.cfg"));
    EXPECT_EQ(state.UserConfig.Active[6].Frequency, 450);

    UserConfigTable expected = DefaultUserConfigTable();
    expected[6] = {20, 450, 33, 80};
    const std::string bytes = ReadBytes(dir.File("new.cfg"));
    EXPECT_EQ(std::vector<uint8_t>(bytes.begin(), bytes.end()), ConfigFileBytes(expected));
}

TEST(ConfigEditor, SaveAsRefusals) {
    TempDir dir;
    SonarState state;
    ResetUserConfig(state.UserConfig);
    UserConfigCellTexts cells = CellTextsOf(state.UserConfig.Active, 0);
    cells[0][FrequencyColumn] = "500";
    std::vector<MessageText> messages;
    EXPECT_FALSE(SaveConfigFromEditor(state, dir.File("new.dat"), cells, messages));
    EXPECT_EQ(messages, (std::vector<MessageText>{{"Save Configuration As", "File extension must be .CFG"}}));
    EXPECT_EQ(state.UserConfig.Active[0].Frequency, 1000) << "nothing committed";

    // A file that cannot be created is reported; the editor keeps its name and nothing is
    // committed, so Ok cannot put an unsaved configuration in force under that name.
    messages.clear();
    state.EditConfigName = "Harbour.cfg";
    state.ConfigPathBuffer = "Harbour.cfg";
    EXPECT_FALSE(SaveConfigFromEditor(state, dir.File("no/dir/a.cfg"), cells, messages));
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].Caption, "Save Configuration As");
    EXPECT_EQ(messages[0].Text, "Cannot write the configuration file " + dir.File("no/dir/a.cfg") + ".");
    EXPECT_EQ(state.UserConfig.Active[0].Frequency, 1000) << "nor committed";
    EXPECT_EQ(state.EditConfigName, "Harbour.cfg");
    EXPECT_EQ(state.ConfigPathBuffer, "Harbour.cfg");
}

TEST(ConfigEditor, DefaultAndOk) {
    SonarState state;
    ResetUserConfig(state.UserConfig);
    state.UserConfig.Active[2].Frequency = 400;
    state.UserConfig.Working[2] = {99, 400, 5, 500};
    state.EditConfigName = "/a/b.cfg";
    ResetConfigInEditor(state);
    EXPECT_EQ(state.EditConfigName, "Default");
    EXPECT_EQ(state.UserConfig.Active[2].Frequency, 1000);
    EXPECT_EQ(state.UserConfig.Working[2].Frequency, 1000);
    EXPECT_EQ(state.UserConfig.Working[2].Absorption, 60);
    EXPECT_EQ(state.UserConfig.Working[2].PulseLength, 10);
    EXPECT_EQ(state.UserConfig.Working[2].RangeLabel, 99) << "labels of the working copy stay";

    state.EditConfigName = "/a/c.cfg";
    UserConfigCellTexts cells = CellTextsOf(state.UserConfig.Active, 0);
    cells[0][PulseLengthColumn] = "0";
    std::vector<MessageText> messages;
    EXPECT_FALSE(AcceptConfigEditor(state, cells, messages));
    EXPECT_EQ(state.ConfigFile, "/a/c.cfg") << "taken before the cells are checked";
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].Text, "[1 M]\nPulse Length is out of range!\nUse 10 to 1000 usec.");

    cells[0][PulseLengthColumn] = "40";
    messages.clear();
    EXPECT_TRUE(AcceptConfigEditor(state, cells, messages));
    EXPECT_EQ(state.UserConfig.Active[0].PulseLength, 40);
}

}  // namespace
}  // namespace tidemar

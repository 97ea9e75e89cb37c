// Typed transmit settings: absorption texts, the table editor's commit and the manual
// setup check, with every message text.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/SonarState.h"
#include "settings/UserConfigEntry.h"

namespace tidemar {
namespace {

TEST(AbsorptionFromText, LimitsInMetres) {
    struct Case {
        const char* text;
        std::optional<int> stored;
        const char* legend;
    };
    const Case cases[] = {
        {"0.009", std::nullopt, "lower limit itself is refused"},
        {"0", std::nullopt, "zero"},
        {"0.01", 1, "smallest"},
        {"0.2", 20, "default"},
        {"0.015", 2, "half rounds up"},
        {"0.0149", 1, "below half rounds down"},
        {"2.55", 255, "largest"},
        {"2.56", std::nullopt, "above the limit"},
        {"-1", std::nullopt, "negative"},
        {"abc", std::nullopt, "no number reads as 0"},
        {"", std::nullopt, "empty"},
        {" 0.5", 50, "leading blank"},
        {"0.5dB", 50, "text after the number"},
        {"0.20000009", 20, "only 7 characters count"},
        {"2.54999999", 255, "cut to 2.54999, which rounds to 255"},
        {"1.0000009", 100, "the 9 is beyond the seventh character"},
    };
    for (const Case& c : cases) EXPECT_EQ(AbsorptionFromText(c.text, 0), c.stored) << c.legend;
}

TEST(AbsorptionFromText, LimitsInFeet) {
    EXPECT_EQ(AbsorptionFromText("0.003048", 1), 1) << "cut to 0.00304, still above 0.009 dB/m";
    EXPECT_EQ(AbsorptionFromText("0.77724", 1), 255);
    EXPECT_EQ(AbsorptionFromText("0.06096", 1), 20);
    EXPECT_EQ(AbsorptionFromText("0.78", 1), std::nullopt);
    EXPECT_EQ(AbsorptionFromText("0.0027", 1), std::nullopt);
    EXPECT_EQ(AbsorptionFromText("0.01", 1), 3) << "0.01 dB/ft is 0.0328 dB/m";
}

TEST(AbsorptionText, ShowsTheStoredValueInTheUnits) {
    EXPECT_EQ(AbsorptionText(20, 0), "0.20");
    EXPECT_EQ(AbsorptionText(1, 0), "0.01");
    EXPECT_EQ(AbsorptionText(255, 0), "2.55");
    EXPECT_EQ(AbsorptionText(20, 1), "0.06096");
    EXPECT_EQ(AbsorptionText(1, 1), "0.00305");
    EXPECT_EQ(AbsorptionText(255, 1), "0.77724");
    EXPECT_EQ(AbsorptionUnitLabel(0), "dB/m");
    EXPECT_EQ(AbsorptionUnitLabel(1), "dB/ft");
    EXPECT_EQ(AbsorptionColumnLabel(0), "(dB/m)");
    EXPECT_EQ(AbsorptionColumnLabel(1), "(dB/ft)");
    // Every stored value shown and typed back again stays the same in both units.
    for (int units = 0; units <= 1; ++units)
        for (int stored = 1; stored <= 255; ++stored)
            ASSERT_EQ(AbsorptionFromText(AbsorptionText(stored, units), units), stored) << stored << " units " << units;
}

TEST(RowLabel, MetresAndFeet) {
    EXPECT_EQ(RowLabel(0, 0), "1 M");
    EXPECT_EQ(RowLabel(14, 0), "200 M");
    EXPECT_EQ(RowLabel(0, 1), "3 FT");
    EXPECT_EQ(RowLabel(8, 1), "120 FT");
}

UserConfigTables FreshTables() {
    UserConfigTables tables;
    ResetUserConfig(tables);
    tables.Working = tables.Active;
    return tables;
}

TEST(CommitUserConfig, UnchangedCellsCommitCleanly) {
    for (int units = 0; units <= 1; ++units) {
        UserConfigTables tables = FreshTables();
        std::vector<MessageText> messages;
        EXPECT_FALSE(CommitUserConfig(tables, CellTextsOf(tables.Active, units), units, &messages));
        EXPECT_TRUE(messages.empty());
        for (int r = 0; r < UserConfigUsedRows; ++r) {
            EXPECT_EQ(tables.Active[r].Frequency, tables.Default[r].Frequency);
            EXPECT_EQ(tables.Active[r].Absorption, tables.Default[r].Absorption);
            EXPECT_EQ(tables.Active[r].PulseLength, tables.Default[r].PulseLength);
        }
    }
}

TEST(CommitUserConfig, AcceptedValuesAreRoundedIntoTheActiveTable) {
    UserConfigTables tables = FreshTables();
    UserConfigCellTexts cells = CellTextsOf(tables.Active, 0);
    cells[0] = {"282", "0.01", "15"};
    cells[1] = {"283", "2.55", "14"};
    cells[2] = {" 1100 ", "1.234", "1000"};
    EXPECT_FALSE(CommitUserConfig(tables, cells, 0, nullptr));
    EXPECT_EQ(tables.Active[0].Frequency, 280);
    EXPECT_EQ(tables.Active[0].Absorption, 1);
    EXPECT_EQ(tables.Active[0].PulseLength, 20);
    EXPECT_EQ(tables.Active[1].Frequency, 285);
    EXPECT_EQ(tables.Active[1].Absorption, 255);
    EXPECT_EQ(tables.Active[1].PulseLength, 10);
    EXPECT_EQ(tables.Active[2].Frequency, 1100);
    EXPECT_EQ(tables.Active[2].Absorption, 123);
    EXPECT_EQ(tables.Active[2].PulseLength, 1000);
    // Only the absorption also goes into the working copy; labels never change.
    EXPECT_EQ(tables.Working[0].Absorption, 1);
    EXPECT_EQ(tables.Working[0].Frequency, 1000);
    EXPECT_EQ(tables.Working[0].PulseLength, 10);
    EXPECT_EQ(tables.Active[2].RangeLabel, 3);
}

TEST(CommitUserConfig, RefusedCellsKeepTheirValueAndGiveTheirMessage) {
    UserConfigTables tables = FreshTables();
    UserConfigCellTexts cells = CellTextsOf(tables.Active, 0);
    cells[0][FrequencyColumn] = "1101";
    cells[4][AbsorptionColumn] = "0.009";
    cells[4][PulseLengthColumn] = "5";
    cells[14] = {"abc", "2.56", "1001"};
    cells[9][FrequencyColumn] = "600";  // accepted among the refusals
    std::vector<MessageText> messages;
    EXPECT_TRUE(CommitUserConfig(tables, cells, 0, &messages));

    const std::vector<MessageText> expected = {
        {"Auto Setup", "[1 M]\nFrequency is out of range!\nUse 280 to 1100 kHz."},
        {"Auto Setup", "[5 M]\nAbsorption is out of range!\nUse 0.01 to 2.55 dB/m."},
        {"Auto Setup", "[5 M]\nPulse Length is out of range!\nUse 10 to 1000 usec."},
        {"Auto Setup", "[200 M]\nFrequency is out of range!\nUse 280 to 1100 kHz."},
        {"Auto Setup", "[200 M]\nAbsorption is out of range!\nUse 0.01 to 2.55 dB/m."},
        {"Auto Setup", "[200 M]\nPulse Length is out of range!\nUse 10 to 1000 usec."},
    };
    EXPECT_EQ(messages, expected);
    EXPECT_EQ(tables.Active[0].Frequency, 1000);
    EXPECT_EQ(tables.Active[4].Absorption, 60);
    EXPECT_EQ(tables.Active[4].PulseLength, 30);
    EXPECT_EQ(tables.Active[14].Frequency, 310);
    EXPECT_EQ(tables.Active[9].Frequency, 600);

    std::vector<MessageText> none;
    EXPECT_TRUE(CommitUserConfig(tables, cells, 0, nullptr)) << "refused without messages too";
}

TEST(CommitUserConfig, FeetLabelsAndTexts) {
    UserConfigTables tables = FreshTables();
    UserConfigCellTexts cells = CellTextsOf(tables.Active, 1);
    cells[2][AbsorptionColumn] = "0.78";
    cells[2][FrequencyColumn] = "-300";
    std::vector<MessageText> messages;
    EXPECT_TRUE(CommitUserConfig(tables, cells, 1, &messages));
    const std::vector<MessageText> expected = {
        {"Auto Setup", "[9 FT]\nFrequency is out of range!\nUse 280 to 1100 kHz."},
        {"Auto Setup", "[9 FT]\nAbsorption is out of range!\nUse 0.003048 to 0.77724 dB/ft."},
    };
    EXPECT_EQ(messages, expected);
}

ManualSetupTexts Texts(const char* frequency, const char* absorption, const char* pulse) {
    return {frequency, absorption, pulse};
}

TEST(CommitManualSetup, AllAcceptedAreRoundedAndSetTwice) {
    struct Case {
        ManualSetupTexts texts;
        int frequency, absorption, pulse;
    };
    const Case cases[] = {
        {Texts("282", "0.2", "15"), 280, 20, 20},
        {Texts("283", "0.01", "14"), 285, 1, 10},
        {Texts("1100", "2.55", "1000"), 1100, 255, 1000},
        {Texts("280", "0.015", "10"), 280, 2, 10},
    };
    for (const Case& c : cases) {
        SonarState state;
        std::vector<MessageText> messages;
        EXPECT_TRUE(CommitManualSetup(state, c.texts, messages)) << c.texts.Frequency;
        EXPECT_TRUE(messages.empty());
        EXPECT_EQ(state.Frequency, c.frequency);
        EXPECT_EQ(state.ManualFrequency, c.frequency);
        EXPECT_EQ(state.Absorption, c.absorption);
        EXPECT_EQ(state.ManualAbsorption, c.absorption);
        EXPECT_EQ(state.PulseLength, c.pulse);
        EXPECT_EQ(state.ManualPulseLength, c.pulse);
    }
}

TEST(CommitManualSetup, RefusalsInOrderAndAcceptedValuesStaySet) {
    SonarState state;
    std::vector<MessageText> messages;
    EXPECT_FALSE(CommitManualSetup(state, Texts("279", "0.55", "1001"), messages));
    const std::vector<MessageText> expected = {
        {"Manual Setup", "Frequency is out of range!\nUse 280 to 1100 kHz."},
        {"Manual Setup", "Pulse Length is out of range!\nUse 10 to 1000 usec."},
    };
    EXPECT_EQ(messages, expected);
    EXPECT_EQ(state.Frequency, 675);
    EXPECT_EQ(state.Absorption, 55) << "accepted although the others were refused";
    EXPECT_EQ(state.ManualAbsorption, 55);
    EXPECT_EQ(state.PulseLength, 100);

    messages.clear();
    EXPECT_FALSE(CommitManualSetup(state, Texts("", "0", "x"), messages));
    ASSERT_EQ(messages.size(), 3u);
    EXPECT_EQ(messages[1].Text, "Absorption is out of range!\nUse 0.01 to 2.55 dB/m.");

    state.Units = 1;
    messages.clear();
    EXPECT_FALSE(CommitManualSetup(state, Texts("500", "1", "200"), messages));
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0],
              (MessageText{"Manual Setup", "Absorption is out of range!\nUse 0.003048 to 0.77724 dB/ft."}));
    EXPECT_EQ(state.Frequency, 500);
    EXPECT_EQ(state.PulseLength, 200);
}

}  // namespace
}  // namespace tidemar

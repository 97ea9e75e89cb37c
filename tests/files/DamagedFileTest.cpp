// Damaged files: what playback shows of them forwards and backwards, where the slider
// lands, and what verify reports. Four records of 640 bytes (head positions 100 to 400,
// offsets 0, 640, 1280, 1920) are damaged one way per case.
#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>

#include "FilesTestSupport.h"
#include "files/DataFileCheck.h"
#include "files/Playback.h"

namespace tidemar {
namespace {

using filestest::Bytes;
using filestest::TempDir;

Bytes FourRecords(const TempDir& dir) {
    filestest::MakeRecordedFile(dir.File("four.K7T"), 4);
    return filestest::ReadAll(dir.File("four.K7T"));
}

void SetBigEndian(Bytes& b, size_t at, int value) {
    b[at] = static_cast<uint8_t>(value >> 8);
    b[at + 1] = static_cast<uint8_t>(value);
}

Bytes Garbage(size_t n) {
    Bytes g(n);
    for (size_t i = 0; i < n; ++i) g[i] = static_cast<uint8_t>('a' + i % 26);
    return g;
}

struct DamageCase {
    const char* legend;
    std::function<void(Bytes&)> damage;
    std::vector<int> forward;               // pings shown in 10 steps forwards
    std::vector<int> backward;              // pings shown in 6 steps backwards from the start
    std::vector<long long> problemOffsets;  // what verify reports
};

const DamageCase Cases[] = {
    {"intact", [](Bytes&) {}, {200, 300, 400, 200, 300, 400}, {400, 300, 200, 100, 400}, {}},
    {"last record cut short",
     [](Bytes& f) { f.resize(2300); },
     {200, 300, 200, 300, 200},
     {300, 200, 100, 300, 200},
     {1920}},
    {"last record cut inside its header",
     [](Bytes& f) { f.resize(1970); },
     {200, 300, 200, 300, 200},
     {300, 200, 100, 300, 200},
     {1920}},
    {"garbage between records 2 and 3",
     [](Bytes& f) {
         const Bytes g = Garbage(37);
         f.insert(f.begin() + 1280, g.begin(), g.end());
     },
     {200, 300, 400, 200, 300, 400},
     {400, 300, 200, 100, 400},
     {1280, 1317}},
    {"false marker in the garbage",
     [](Bytes& f) {
         Bytes g = Garbage(150);
         g[20] = 'K', g[21] = '7', g[22] = 'T';
         f.insert(f.begin() + 1280, g.begin(), g.end());
     },
     {200, 300, 400, 200, 300, 400},
     {400, 300, 200, 100, 400},
     {1280, 1430}},
    {"run of false markers",
     [](Bytes& f) {
         Bytes g;
         for (int i = 0; i < 50; ++i) g.insert(g.end(), {'K', '7', 'T'});
         f.insert(f.begin() + 1280, g.begin(), g.end());
     },
     {200, 300, 400, 200, 300, 400},
     {400, 300, 200, 100, 400},
     {1280, 1430}},
    {"impossible size in record 2",
     [](Bytes& f) { SetBigEndian(f, 640 + 4, 700); },
     {300, 400, 300, 400, 300},
     {400, 300, 100, 400, 300},
     {640, 1280}},
    {"reply too long for record 3",
     [](Bytes& f) { SetBigEndian(f, 1280 + 6, 600); },
     {200, 400, 200, 400, 200},
     {400, 200, 100, 400, 200},
     {1280, 1920}},
    {"back-link of record 3 leads before the file",
     [](Bytes& f) { SetBigEndian(f, 1918, 9000); },
     {200, 300, 400, 200, 300, 400},
     {400, 300, 200, 100, 400},
     {1280}},
    {"back-link of record 3 lands inside record 2",
     [](Bytes& f) { SetBigEndian(f, 1918, 700); },
     {200, 300, 400, 200, 300, 400},
     {400, 300, 200, 100, 400},
     {1280}},
    {"back-link of record 3 shorter than the record",
     [](Bytes& f) { SetBigEndian(f, 1918, 100); },
     {200, 300, 400, 200, 300, 400},
     {400, 300, 200, 100, 400},
     {1280}},
    {"back-link of record 3 is zero",
     [](Bytes& f) { SetBigEndian(f, 1918, 0); },
     {200, 300, 400, 200, 300, 400},
     {400, 300, 400, 300, 400},
     {1280}},
    {"marker of the first record only", [](Bytes& f) { f.resize(3); }, {}, {}, {0, 0}},
};

const DamageCase& CaseNamed(const std::string& legend) {
    for (const DamageCase& c : Cases)
        if (legend == c.legend) return c;
    throw std::invalid_argument(legend);
}

struct DamageRun {
    TempDir dir;
    ScriptedPrompts prompts;
    RecordedChrome chrome;
    Playback playback{prompts, chrome};
    SonarState state = filestest::PlaybackState();
    filestest::CountingTarget target{state};
    ManualClock clock;

    explicit DamageRun(const DamageCase& c) {
        Bytes file = FourRecords(dir);
        c.damage(file);
        filestest::WriteAll(dir.File("damaged.K7T"), file);
        playback.OpenPlaybackFile(dir.File("damaged.K7T"), state, target);
    }
    void Steps(int n) {
        for (int i = 0; i < n; ++i) playback.PlaybackStep(state, clock, target);
    }
};

TEST(DamagedFile, ForwardPlayPassesOverTheDamage) {
    for (const DamageCase& c : Cases) {
        DamageRun run(c);
        ASSERT_TRUE(run.playback.PlaybackOpen()) << c.legend;
        run.Steps(10);
        EXPECT_EQ(run.target.Played, c.forward) << c.legend;
    }
}

TEST(DamagedFile, BackwardPlayPassesOverTheDamage) {
    for (const DamageCase& c : Cases) {
        DamageRun run(c);
        run.state.PlaybackReverse = 1;
        run.Steps(6);
        EXPECT_EQ(run.target.Played, c.backward) << c.legend;
        EXPECT_GE(run.playback.Offset(), 0) << c.legend;
        EXPECT_LE(run.playback.Offset(), run.playback.PlaybackFileLength()) << c.legend;
    }
}

TEST(DamagedFile, VerifyNamesEveryProblemByOffset) {
    for (const DamageCase& c : Cases) {
        DamageRun run(c);
        DataFileReader reader;
        ASSERT_TRUE(reader.Open(run.dir.File("damaged.K7T"), nullptr));
        std::vector<long long> offsets;
        for (const FileProblem& p : VerifyDataFile(reader)) offsets.push_back(p.Offset);
        EXPECT_EQ(offsets, c.problemOffsets) << c.legend;
    }
}

TEST(DamagedFile, VerifyTextsSayWhatIsWrong) {
    TempDir dir;
    Bytes file = FourRecords(dir);
    SetBigEndian(file, 640 + 4, 700);
    file.resize(2300);
    filestest::WriteAll(dir.File("bad.K7T"), file);
    DataFileReader reader;
    ASSERT_TRUE(reader.Open(dir.File("bad.K7T"), nullptr));
    const std::vector<FileProblem> problems = VerifyDataFile(reader);
    ASSERT_EQ(problems.size(), 3u);
    EXPECT_EQ(problems[0].Text, "impossible record size 700 (640 bytes passed over)");
    EXPECT_EQ(problems[1].Text, "back-link 1280 leads to offset 640, not to the record before at 0");
    EXPECT_EQ(problems[2].Text,
              "record of 640 bytes cut short by the end of the file after 380 (380 bytes passed over)");
}

struct SliderCase {
    const char* legend;
    int percent;
    bool moves;
    long long offset;  // where the next record is read
};

TEST(DamagedFile, SliderFindsTheNextRecordMarker) {
    const SliderCase cases[] = {
        {"0 is ignored", 0, false, 640},
        {"100 is ignored", 100, false, 640},
        {"on a record start", 50, true, 1280},
        {"inside a record", 30, true, 1280},
        {"inside the last record", 80, true, 1920},
        {"past the last marker: the last record", 99, true, 1920},
        {"1 percent", 1, true, 640},
    };
    for (const SliderCase& c : cases) {
        DamageRun run(CaseNamed("intact"));
        run.Steps(1);
        EXPECT_EQ(run.playback.SeekToPercent(c.percent), c.moves) << c.legend;
        EXPECT_EQ(run.playback.Offset(), c.offset) << c.legend;
    }
}

TEST(DamagedFile, SliderNearTheEndOfADamagedTail) {
    DamageRun run(CaseNamed("last record cut short"));
    EXPECT_TRUE(run.playback.SeekToPercent(95));
    EXPECT_EQ(run.playback.Offset(), 1280) << "the last whole record";
    DamageRun none(CaseNamed("marker of the first record only"));
    EXPECT_FALSE(none.playback.SeekToPercent(50));
    EXPECT_EQ(none.playback.Offset(), 0);
}

TEST(DamagedFile, MarkerSearchesStopAtTheEndOfTheFile) {
    TempDir dir;
    Bytes file = FourRecords(dir);
    file.insert(file.begin() + 640, 'K');  // a stray "K" right before a marker
    filestest::WriteAll(dir.File("k.K7T"), file);
    DataFileReader reader;
    ASSERT_TRUE(reader.Open(dir.File("k.K7T"), nullptr));
    EXPECT_EQ(reader.FindMarker(639), 641);
    EXPECT_EQ(reader.FindMarker(640), 641) << "a marker after a stray K is found";
    EXPECT_EQ(reader.FindMarker(1922), std::nullopt);
    EXPECT_EQ(reader.FindWholeRecordBefore(641), 0);
    EXPECT_EQ(reader.FindWholeRecordBefore(0), std::nullopt);

    DamageRun run(CaseNamed("intact"));
    run.Steps(4);
    EXPECT_FALSE(run.playback.ResyncRecord()) << "at the end of the file";
    EXPECT_EQ(run.playback.Offset(), 2560);
}

}  // namespace
}  // namespace tidemar

// Cutting a client's byte stream into blocks: junk, split reads, broken frames and the
// report of a lost frame.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "BlockLog.h"
#include "BlockReader.h"
#include "HeadSimTestSupport.h"
#include "Random.h"

namespace tidemar::headsim {
namespace {

using test::DefaultBlock;

struct Transcript {
    std::vector<std::string> lines;  // log lines, and "# " and the fault where one is reported
    std::vector<RawBlock> blocks;
    std::vector<uint8_t> logged;  // all logged bytes in order
};

// Feeds input in pieces of at most chunk bytes, then ends the connection.
Transcript Transcribe(const std::vector<uint8_t>& input, std::size_t chunk = 4096) {
    Transcript t;
    BlockReader reader({[&](std::span<const uint8_t> bytes) {
                            t.lines.push_back(HexLine(bytes));
                            t.logged.insert(t.logged.end(), bytes.begin(), bytes.end());
                        },
                        [&](const RawBlock& block) { t.blocks.push_back(block); },
                        [&](const ByteFault& fault) { t.lines.push_back("# " + Describe(fault)); }});
    for (std::size_t at = 0; at < input.size(); at += chunk) {
        const std::size_t n = std::min(chunk, input.size() - at);
        reader.Feed(input.data() + at, n);
    }
    reader.Finish();
    return t;
}

std::vector<uint8_t> Join(std::initializer_list<std::vector<uint8_t>> parts) {
    std::vector<uint8_t> all;
    for (const auto& p : parts) all.insert(all.end(), p.begin(), p.end());
    return all;
}

std::string Note(int index, int value) { return "# " + Describe(FramingFault(index, static_cast<uint8_t>(value))); }

const std::string DefaultLine = "FE 44 11 32 00 00 00 00 06 01 14 3C 78 03 0A 00 00 00 00 32 08 00 00 00 00 64 FD";

TEST(BlockReader, OneBlockIsOneLogLineAndOneBlock) {
    const Transcript t = Transcribe(test::Bytes(DefaultBlock()));
    ASSERT_EQ(t.lines.size(), 1u);
    EXPECT_EQ(t.lines[0], DefaultLine);
    ASSERT_EQ(t.blocks.size(), 1u);
    EXPECT_EQ(t.blocks[0], DefaultBlock());
}

TEST(BlockReader, JunkAndBrokenFramesAreLoggedButNotAnswered) {
    RawBlock badEnd = DefaultBlock();
    badEnd[26] = 0xFC;
    RawBlock badType = DefaultBlock();
    badType[1] = 'd';
    const std::vector<uint8_t> block = test::Bytes(DefaultBlock());
    struct Case {
        const char* legend;
        std::vector<uint8_t> input;
        std::size_t blocks;
        std::vector<std::string> lines;
    };
    const std::vector<Case> cases = {
        {"leading garbage", Join({{0x01, 0x02, 0x03}, block}), 1, {"01 02 03", Note(0, 0x01), DefaultLine}},
        {"stray 0xFE before a block", Join({{0xFE}, block}), 1, {"FE", Note(1, 0xFE), DefaultLine}},
        {"start and type, then a real block",
         Join({{0xFE, 0x44, 0x01}, block}),
         1,
         {"FE 44 01", Note(26, 0x00), DefaultLine}},
        {"wrong end byte",
         test::Bytes(badEnd),
         0,
         {"FE 44 11 32 00 00 00 00 06 01 14 3C 78 03 0A 00 00 00 00 32 08 00 00 00 00 64 FC", Note(26, 0xFC)}},
        {"wrong type byte, then a good block",
         Join({test::Bytes(badType), block}),
         1,
         {"FE 64 11 32 00 00 00 00 06 01 14 3C 78 03 0A 00 00 00 00 32 08 00 00 00 00 64 FD", Note(1, 'd'),
          DefaultLine}},
        {"junk again after a good block is a new report",
         Join({{0x01, 0x02}, block, {0x03, 0xFE, 0x00}}),
         1,
         {"01 02", Note(0, 0x01), DefaultLine, "03 FE 00", Note(0, 0x03)}},
        {"two blocks back to back", Join({block, block}), 2, {DefaultLine, DefaultLine}},
        {"truncated block at disconnect",
         std::vector<uint8_t>(block.begin(), block.begin() + 5),
         0,
         {"FE 44 11 32 00"}},
        {"nothing", {}, 0, {}},
    };
    for (const Case& c : cases) {
        for (std::size_t chunk : {std::size_t{1}, std::size_t{7}, std::size_t{4096}}) {
            const Transcript t = Transcribe(c.input, chunk);
            EXPECT_EQ(t.blocks.size(), c.blocks) << c.legend << ", pieces of " << chunk;
            EXPECT_EQ(t.lines, c.lines) << c.legend << ", pieces of " << chunk;
            for (const RawBlock& b : t.blocks) EXPECT_EQ(b, DefaultBlock()) << c.legend;
        }
    }
}

TEST(BlockReader, LongJunkIsCutIntoLinesOf27AndReportedOnce) {
    const Transcript t = Transcribe(std::vector<uint8_t>(60, 0x55));
    ASSERT_EQ(t.lines.size(), 4u);
    EXPECT_EQ(t.lines[0].size(), 27u * 3 - 1);
    EXPECT_EQ(t.lines[1], Note(0, 0x55));
    EXPECT_EQ(t.lines[3], "55 55 55 55 55 55");
    EXPECT_TRUE(t.blocks.empty());
}

TEST(BlockReader, RandomStreamsAreLoggedExactlyAndOnlyFramedBlocksCount) {
    Random random(42);
    for (int round = 0; round < 200; ++round) {
        std::vector<uint8_t> input;
        const int pieces = 1 + static_cast<int>(random.Next() % 8);
        for (int p = 0; p < pieces; ++p) {
            switch (random.Next() % 3) {
            case 0: {
                const auto block = test::Bytes(DefaultBlock());
                input.insert(input.end(), block.begin(), block.end());
                break;
            }
            case 1: {  // noise rich in the framing bytes
                const int n = static_cast<int>(random.Next() % 40);
                static const uint8_t pool[] = {0xFE, 0x44, 0xFD, 0x00, 0x11, 0x7F};
                for (int i = 0; i < n; ++i) input.push_back(pool[random.Next() % 6]);
                break;
            }
            default: {
                const int n = static_cast<int>(random.Next() % 30);
                for (int i = 0; i < n; ++i) input.push_back(static_cast<uint8_t>(random.Next()));
                break;
            }
            }
        }
        const std::size_t chunk = 1 + random.Next() % 50;
        const Transcript t = Transcribe(input, chunk);
        ASSERT_EQ(t.logged, input) << "round " << round;
        for (const RawBlock& b : t.blocks) ASSERT_TRUE(IsFramed(b)) << "round " << round;
        // At most one report per lost frame, each after a line of the bytes it is about.
        std::size_t notes = 0;
        for (std::size_t i = 0; i < t.lines.size(); ++i) {
            if (t.lines[i][0] == '#') {
                ++notes;
                ASSERT_TRUE(i > 0 && t.lines[i - 1][0] != '#') << "round " << round << ", line " << i;
            } else {
                ASSERT_LE(t.lines[i].size(), 27u * 3 - 1);
            }
        }
        ASSERT_LE(notes, t.blocks.size() + 1) << "round " << round;
    }
}

TEST(BlockReader, PendingBytesAreReported) {
    BlockReader reader({nullptr, nullptr, nullptr});
    EXPECT_FALSE(reader.HasPending());
    const RawBlock b = DefaultBlock();
    reader.Feed(b.data(), 10);
    EXPECT_TRUE(reader.HasPending());
    reader.Feed(b.data() + 10, b.size() - 10);
    EXPECT_FALSE(reader.HasPending());
}

}  // namespace
}  // namespace tidemar::headsim

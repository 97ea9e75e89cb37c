// The options a video is made with: what is refused before anything is played.
#include <gtest/gtest.h>

#include "video/VideoExport.h"

namespace tidemar {
namespace {

TEST(VideoOptions, RefusedBeforePlaying) {
    struct Case {
        const char* Legend;
        VideoOptions Options;
        bool Fine;
    };
    const auto with = [](auto change) {
        VideoOptions o;
        change(o);
        return o;
    };
    const Case cases[] = {
        {"the defaults", VideoOptions{}, true},
        {"a hundredth of real time", with([](VideoOptions& o) { o.Speed = 0.01; }), true},
        {"slower: a 10 s gap would be tens of thousands of frames a record",
         with([](VideoOptions& o) { o.Speed = 0.009; }), false},
        {"so slow the frame count overflows", with([](VideoOptions& o) { o.Speed = 1e-20; }), false},
        {"the fastest", with([](VideoOptions& o) { o.Speed = 10000; }), true},
        {"faster still", with([](VideoOptions& o) { o.Speed = 10001; }), false},
        {"an odd width", with([](VideoOptions& o) { o.Width = 297, o.Height = 254; }), false},
    };
    for (const Case& c : cases) EXPECT_EQ(CheckVideoOptions(c.Options).empty(), c.Fine) << c.Legend;
}

}  // namespace
}  // namespace tidemar

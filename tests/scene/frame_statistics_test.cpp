#include "scene/frame_statistics.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace tolvenar {
namespace {

TEST(FrameStatisticsTest, CountsFramesFromTheFirstToTheLastAndAsksTheStartOnce) {
  FrameStatistics statistics("unused", 1000);
  int asked = 0;
  const auto since_start = [&asked] {
    ++asked;
    return 212.5;
  };
  for (const std::uint64_t now : {5000, 5016, 5033, 7500})
    statistics.FramePresented(now, since_start);
  EXPECT_EQ(asked, 1);
  EXPECT_EQ(statistics.Text(), "frames 4\nseconds 2.500000\nfirst_frame_ms 212.500\n");
}

TEST(FrameStatisticsTest, WithoutAFileNothingIsMeasuredOrWritten) {
  FrameStatistics statistics("", 1000);
  statistics.FramePresented(1, [] {
    ADD_FAILURE() << "start asked without a file";
    return 0.0;
  });
  statistics.Write();
  EXPECT_EQ(statistics.Text(), "frames 0\nseconds 0.000000\nfirst_frame_ms 0.000\n");
}

TEST(FrameStatisticsTest, WritesTheFileOnceOnly) {
  const std::filesystem::path file =
      std::filesystem::temp_directory_path() / "tolvenar-frame-statistics-test.txt";
  std::filesystem::remove(file);
  FrameStatistics statistics(file.string(), 1000000000);
  statistics.FramePresented(3000000000u, [] { return 40.0; });
  statistics.Write();
  statistics.FramePresented(4000000000u, [] { return 0.0; });
  statistics.Write();  // a second release leaves the first figures
  std::ifstream in(file);
  const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  EXPECT_EQ(text, "frames 1\nseconds 0.000000\nfirst_frame_ms 40.000\n");
  std::filesystem::remove(file);
}

TEST(FrameStatisticsTest, ProcessStartTicksIsField22CountedAfterTheName) {
  const std::string tail =
      " S 1 2 3 0 -1 4194304 100 0 0 0 1 2 0 0 20 0 1 0 8812345 123456 789 18446744073709551615\n";
  const struct {
    const char* name;
    std::string line;
    std::optional<std::uint64_t> ticks;
  } cases[] = {
      {"plain name", "4242 (tolvenar)" + tail, 8812345},
      {"name with blanks and parentheses", "4242 (a) b (c))" + tail, 8812345},
      {"line cut before field 22", "4242 (tolvenar) S 1 2 3 0 -1 4194304 100 0\n", std::nullopt},
      {"no name", "4242 tolvenar S 1", std::nullopt},
      {"field 22 not a number", "1 (x) S 1 2 3 0 -1 4 1 0 0 0 1 2 0 0 20 0 1 0 88x12 1\n",
       std::nullopt},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ProcessStartTicks(c.line), c.ticks) << c.name;
  }
}

}  // namespace
}  // namespace tolvenar

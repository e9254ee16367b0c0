#include "settings_dialog/windowless_elements.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tolvenar {
namespace {

// A mark that picks on any press, a link that opens on a left click, and a plain caption.
constexpr PixelPoint kOnMark{5, 5}, kOnLink{50, 5}, kOnCaption{5, 50}, kNowhere{200, 200};

struct Step {
  char action;  // 'p' press, 'r' release, 'c' mouse taken away
  PixelPoint at;
  std::int16_t button;
};

class WindowlessElementsTest : public ::testing::Test {
 protected:
  WindowlessElementsTest() {
    elements_.Add({{0, 0, 10, 10}, [this] { seen_.push_back("mark pressed"); }, nullptr, false});
    link_ =
        elements_.Add({{40, 0, 60, 10}, nullptr, [this] { seen_.push_back("link"); }, true, true});
    caption_ = elements_.Add({{0, 40, 30, 60}, nullptr, nullptr, false});
  }
  void Run(const std::vector<Step>& steps) {
    for (const Step& step : steps) {
      if (step.action == 'p') elements_.Press(step.at, step.button);
      if (step.action == 'c') elements_.Cancel();
      if (step.action == 'r') {
        if (auto click = elements_.Release(step.at, step.button)) click();
      }
    }
  }

  WindowlessElements elements_;
  WindowlessElements::Id link_ = 0;
  WindowlessElements::Id caption_ = 0;
  std::vector<std::string> seen_;
};

TEST_F(WindowlessElementsTest, AClickNeedsTheLeftPressAndReleaseOnTheSameElement) {
  struct Case {
    const char* name;
    std::vector<Step> steps;
    std::vector<std::string> seen;
  } cases[] = {
      {"left press and release on the link",
       {{'p', kOnLink, kLeftButton}, {'r', kOnLink, kLeftButton}},
       {"link"}},
      {"right press and release on the link",
       {{'p', kOnLink, kRightButton}, {'r', kOnLink, kRightButton}},
       {}},
      {"pressed on the mark, released on the link",
       {{'p', kOnMark, kLeftButton}, {'r', kOnLink, kLeftButton}},
       {"mark pressed"}},
      {"pressed on the link, released on the mark",
       {{'p', kOnLink, kLeftButton}, {'r', kOnMark, kLeftButton}},
       {}},
      {"pressed on nothing, released on the link",
       {{'p', kNowhere, kLeftButton}, {'r', kOnLink, kLeftButton}},
       {}},
      {"a release without a press", {{'r', kOnLink, kLeftButton}}, {}},
      {"the mouse taken away before the release",
       {{'p', kOnLink, kLeftButton}, {'c', {}, 0}, {'r', kOnLink, kLeftButton}},
       {}},
      {"a right click meanwhile",
       {{'p', kOnLink, kLeftButton},
        {'p', kOnMark, kRightButton},
        {'r', kOnMark, kRightButton},
        {'r', kOnLink, kLeftButton}},
       {"mark pressed", "link"}},
      {"any button picks on the press",
       {{'p', kOnMark, kMiddleButton},
        {'p', kOnMark, kRightButton},
        {'p', kOnCaption, kLeftButton}},
       {"mark pressed", "mark pressed"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    seen_.clear();
    elements_.Cancel();
    Run(c.steps);
    EXPECT_EQ(seen_, c.seen);
  }
}

TEST_F(WindowlessElementsTest, ALabelThatGrowsTakesPressesWhereItNowStands) {
  elements_.TextMeasured(link_, 80, 10);
  Run({{'p', {100, 5}, kLeftButton}, {'r', {100, 5}, kLeftButton}});
  EXPECT_EQ(seen_, std::vector<std::string>{"link"});
}

TEST_F(WindowlessElementsTest, OnlyALabelThatFitsItsTextFollowsTheMeasure) {
  struct Row {
    const char* what;
    WindowlessElements::Id id;
    std::int32_t width, height;
    PixelRect expected;
  };
  const Row rows[] = {
      {"fitting label grows from its corner", link_, 80, 12, {40, 0, 120, 12}},
      {"fitting label shrinks to its text", link_, 5, 3, {40, 0, 45, 3}},
      {"empty text leaves an empty box", link_, 0, 0, {40, 0, 40, 0}},
      {"fixed label keeps its box", caption_, 80, 12, {0, 40, 30, 60}},
  };
  for (const Row& row : rows) {
    elements_.TextMeasured(row.id, row.width, row.height);
    const PixelRect& box = elements_.Box(row.id);
    EXPECT_EQ((std::vector<std::int32_t>{box.left, box.top, box.right, box.bottom}),
              (std::vector<std::int32_t>{row.expected.left, row.expected.top, row.expected.right,
                                         row.expected.bottom}))
        << row.what;
  }
}

TEST_F(WindowlessElementsTest, PointerShapes) {
  using S = std::optional<PointerShape>;
  constexpr auto kBusy = AppPointerShape::kHourglass, kIdle = AppPointerShape::kDefault;
  EXPECT_EQ(elements_.ShapeAt(kOnLink, kIdle), S(PointerShape::kHand));
  EXPECT_EQ(elements_.ShapeAt(kOnMark, kIdle), S(PointerShape::kArrow));
  EXPECT_EQ(elements_.ShapeAt(kNowhere, kIdle), S(PointerShape::kArrow));
  EXPECT_EQ(elements_.ShapeAt(std::nullopt, kIdle), S());  // a child control keeps its own
  EXPECT_EQ(elements_.ShapeAt(kOnLink, kBusy), S(PointerShape::kHourglass));
  EXPECT_EQ(elements_.ShapeAt(std::nullopt, kBusy), S(PointerShape::kHourglass));
}

}  // namespace
}  // namespace tolvenar

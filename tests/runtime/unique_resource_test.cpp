#include "runtime/unique_resource.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace tolvenar {
namespace {

// Records each freeing as "<owner>:<handle>"; the owner's name stands for the state a release may
// carry (the connection a handle belongs to).
struct RecordRelease {
  std::vector<std::string>* log = nullptr;
  std::string owner;
  void operator()(int handle) const { log->push_back(owner + ":" + std::to_string(handle)); }
};
using Owned = UniqueResource<int, RecordRelease, -1>;

TEST(UniqueResource, FreesEachHandleOnceWhateverHandsItOn) {
  std::vector<std::string> log;
  {
    Owned none;
    EXPECT_FALSE(none);
    Owned zero(0, {&log, "a"});  // 0 is a handle where -1 is none
    EXPECT_TRUE(zero);
    Owned moved(std::move(zero));
    EXPECT_FALSE(zero);  // NOLINT(bugprone-use-after-move): the emptied source is the point
    EXPECT_EQ(moved.get(), 0);
    Owned other(7, {&log, "b"});
    other = std::move(moved);  // 7 goes, 0 comes with its release
    EXPECT_EQ(log, (std::vector<std::string>{"b:7"}));
    other.reset(5);  // 0 goes; 5 keeps the release
    other.reset(-1);
    other.reset();
    *other.put() = 9;
  }
  EXPECT_EQ(log, (std::vector<std::string>{"b:7", "a:0", "a:5", "a:9"}));
}

struct Point {
  int x = 3;
};
struct NoRelease {
  void operator()(Point*) const {}
};

TEST(UniqueResource, PointerHandlesReadThroughAndStartNull) {
  Point point;
  const UniqueResource<Point*, NoRelease> owned(&point);
  EXPECT_EQ(owned->x, 3);
  EXPECT_FALSE((UniqueResource<Point*, NoRelease>()));
}

}  // namespace
}  // namespace tolvenar

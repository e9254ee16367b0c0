#include "runtime/linux/embedded_data_linux.h"

#include <gtest/gtest.h>

#include "runtime/picture.h"

namespace tolvenar::linux_port {
namespace {

TEST(LinuxEmbeddedData, HoldsEveryPictureOfTheResourceScriptsByName) {
  LinuxEmbeddedData embedded;
  for (const char* name : {"FACE1", "FACE6", "PREVIEW", "SKIN_NORMAL", "SKIN_DISABLE",
                           "MARK_SELECTED", "MARK_UNSELECTED"}) {
    SCOPED_TRACE(name);
    EXPECT_TRUE(DecodePicture(embedded.Bytes(name)).has_value());
  }
  EXPECT_TRUE(embedded.Bytes("FACE7").empty());
}

}  // namespace
}  // namespace tolvenar::linux_port

#include "runtime/conversions.h"

#include <gtest/gtest.h>

#include <cmath>

namespace tolvenar {
namespace {

TEST(ToInt16, RoundsHalfToEvenAndRefusesWhatDoesNotFit) {
  struct Case {
    double value;
    std::optional<std::int16_t> expected;
    const char* what;
  } cases[] = {
      {2.5, 2, "half goes down to even"},
      {3.5, 4, "half goes up to even"},
      {-2.5, -2, "negative half to even"},
      {2.4999, 2, "below half"},
      {32767.0, 32767, "upper limit"},
      {32767.5, std::nullopt, "rounds to 32768"},
      {-32768.0, -32768, "lower limit"},
      {-32768.5, -32768, "half rounds to the even -32768"},
      {-32769.0, std::nullopt, "below the range"},
      {NAN, std::nullopt, "not a number"},
      {INFINITY, std::nullopt, "infinite"},
  };
  for (const Case& c : cases) EXPECT_EQ(ToInt16(c.value), c.expected) << c.what;
}

TEST(ToInt32, LimitsOfThirtyTwoBits) {
  EXPECT_EQ(ToInt32(2147483647.0), 2147483647);
  EXPECT_EQ(ToInt32(2147483647.5), std::nullopt);
  EXPECT_EQ(ToInt32(-2147483648.0), -2147483647 - 1);
  EXPECT_EQ(ToInt32(99999999999.0), std::nullopt);
  EXPECT_EQ(ToInt32(1234.5), 1234);
}

TEST(ReadLeadingNumber, ReadsLikeTheForgivingReader) {
  struct Case {
    const char* text;
    double expected;
  } cases[] = {
      {"1234", 1234},    {" 1234", 1234},
      {"\t12 34", 1234}, {"12abc", 12},
      {"abc", 0},        {"", 0},
      {"-5", -5},        {"+7", 7},
      {"1.5", 1.5},      {".5", 0.5},
      {"1e3", 1000},     {"1e", 1},
      {"3 e 2", 300},    {"99999999999", 99999999999.0},
      {"1-2", 1},        {"-", 0},
      {"0x10", 0},
  };
  for (const Case& c : cases) EXPECT_DOUBLE_EQ(ReadLeadingNumber(c.text), c.expected) << c.text;
}

TEST(ParseNumber, AcceptsOnlyAWholeNumberText) {
  struct Case {
    const char* text;
    std::optional<double> expected;
  } cases[] = {
      {"2", 2.0},           {" 2.9 ", 2.9},       {"-0.5", -0.5},        {"+3", 3.0},
      {"1e9", 1e9},         {"70000", 70000.0},   {"abc", std::nullopt}, {"", std::nullopt},
      {"  ", std::nullopt}, {"2x", std::nullopt}, {"1 2", std::nullopt}, {".", std::nullopt},
      {"5.", 5.0},
  };
  for (const Case& c : cases) EXPECT_EQ(ParseNumber(c.text), c.expected) << "'" << c.text << "'";
}

}  // namespace
}  // namespace tolvenar

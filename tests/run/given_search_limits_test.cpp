#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "run/given_interleaver_stage.h"
#include "support/case_name.h"

namespace brevandor {
namespace {

// A search estimate and the part of the refusal it must get (empty: none).
struct LimitCase {
  const char* name;
  DistanceSearchEstimate estimate;
  const char* refusal;
};

void PrintTo(const LimitCase& c, std::ostream* out) {
  *out << c.name;
}

class GivenSearchLimitsTest : public ::testing::TestWithParam<LimitCase> {};

// The limits are kGivenSearchLimits: 10^10 candidates and four hours by the estimate.
TEST_P(GivenSearchLimitsTest, RefusesUpFrontWhatPassesEitherLimit) {
  const LimitCase& c = GetParam();
  const std::string refusal = givenSearchSizeRefusal(c.estimate);
  if (std::string(c.refusal).empty()) {
    EXPECT_EQ(refusal, "");
  } else {
    EXPECT_NE(refusal.find(c.refusal), std::string::npos) << refusal;
    EXPECT_NE(refusal.find("lower --max-weight"), std::string::npos) << refusal;
  }
}

const LimitCase kLimitCases[] = {
    {"WithinBoth", {9'000'000'000ULL, 3.5 * 3600.0, false}, ""},
    {"OverTheCandidates",
     {12'000'000'000ULL, 3600.0, false},
     "about 12000000000 candidates in about 60 minutes"},
    {"OverTheTime", {1'000'000'000ULL, 5 * 3600.0, false}, "in about 300 minutes"},
    {"SampleAloneOver", {0, 0.0, true}, "far more than 10000000000 candidates"},
};

INSTANTIATE_TEST_SUITE_P(Estimates, GivenSearchLimitsTest, ::testing::ValuesIn(kLimitCases),
                         [](const auto& testCase) {
                           return testing::caseName(testCase.param.name);
                         });

}  // namespace
}  // namespace brevandor

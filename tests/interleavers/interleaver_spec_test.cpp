#include "interleavers/interleaver_spec.h"

#include <gtest/gtest.h>

#include <string>

#include "support/case_name.h"

namespace brevandor {
namespace {

// A description and what it reads as: its normalised text, or a part of the refusal.
struct SpecCase {
  std::string text;
  std::string expected;
  bool accepted = true;
};

class InterleaverSpecTest : public ::testing::TestWithParam<SpecCase> {};

TEST_P(InterleaverSpecTest, ReadsOrRefusesWithReason) {
  const SpecCase& c = GetParam();
  const ParsedInterleaver parsed = parseInterleaverSpec(c.text);
  ASSERT_EQ(static_cast<bool>(parsed), c.accepted) << parsed.failure;
  if (c.accepted) {
    EXPECT_EQ(parsed.spec->text(), c.expected);
    EXPECT_EQ(parsed.spec->isEnsemble(), c.text == "random");
  } else {
    EXPECT_NE(parsed.failure.find(c.expected), std::string::npos) << parsed.failure;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Texts, InterleaverSpecTest,
    ::testing::Values(
        SpecCase{"random", "random"}, SpecCase{"random:42", "random:42"},
        SpecCase{"s-random:12", "s-random:12:1"}, SpecCase{"s-random:12:7", "s-random:12:7"},
        SpecCase{"qpp:3,10", "qpp:3,10"}, SpecCase{"lte", "lte"}, SpecCase{"ccsds", "ccsds"},
        SpecCase{"file:a b.txt", "file:a b.txt"}, SpecCase{"", "unknown interleaver", false},
        SpecCase{"Random", "unknown interleaver", false}, SpecCase{"random:", "seed", false},
        SpecCase{"random:-1", "seed", false}, SpecCase{"random:1x", "seed", false},
        SpecCase{"s-random:0", "spread", false}, SpecCase{"s-random:5:x", "seed", false},
        SpecCase{"qpp:3", "qpp:F1,F2", false}, SpecCase{"qpp:3,", "qpp:F1,F2", false}),
    [](const auto& named) {
      return (named.param.accepted ? "Reads_" : "Refuses_") + testing::caseName(named.param.text);
    });

// A description whose permutation cannot be made for the frame, and a part of the refusal.
struct FitCase {
  std::string text;
  std::int32_t length = 0;
  std::string reason;
};

class InterleaverFitTest : public ::testing::TestWithParam<FitCase> {};

TEST_P(InterleaverFitTest, RefusesLengthThatDoesNotFit) {
  const FitCase& c = GetParam();
  const PermutationOutcome made = makePermutation(*parseInterleaverSpec(c.text).spec, c.length);
  ASSERT_FALSE(made);
  EXPECT_NE(made.failure.find(c.reason), std::string::npos) << made.failure;
}

INSTANTIATE_TEST_SUITE_P(
    Frames, InterleaverFitTest,
    ::testing::Values(FitCase{"lte", 41, "not one of the LTE block sizes"},
                      FitCase{"ccsds", 1000, "not one of the CCSDS block sizes"},
                      // 2j + 2j² is even for every j: only even positions are reached.
                      FitCase{"qpp:2,2", 16, "is not a permutation"},
                      FitCase{"s-random:16", 16, "between 1 and N − 1"},
                      FitCase{"random", 0, "no positions"},
                      FitCase{"file:/nonexistent/pi.txt", 8, "cannot open"}),
    [](const auto& named) {
      return testing::caseName(named.param.text) + "_N" + std::to_string(named.param.length);
    });

TEST(InterleaverEnsemble, EachFrameSeedDrawsItsOwnPermutationAndRepeatsIt) {
  const InterleaverSpec ensemble = *parseInterleaverSpec("random").spec;
  const Permutation first = *makePermutation(ensemble, 64, 1).permutation;
  EXPECT_EQ(first, *makePermutation(ensemble, 64, 1).permutation);
  EXPECT_NE(first, *makePermutation(ensemble, 64, 2).permutation);
  // A fixed seed ignores the frame's seed.
  const InterleaverSpec fixed = *parseInterleaverSpec("random:5").spec;
  EXPECT_EQ(*makePermutation(fixed, 64, 1).permutation, *makePermutation(fixed, 64, 2).permutation);
}

}  // namespace
}  // namespace brevandor

#include "report/simulated_error_rates_report.h"

#include <gtest/gtest.h>

#include <string>

#include "support/file_capture.h"

namespace brevandor {
namespace {

using testing::captureFile;

// What the section's last line says of an interleaver: a new permutation every frame is the
// ensemble the bounds average; one given permutation is not.
struct FooterCase {
  const char* name;
  const char* interleaver;
  const char* says;
  const char* neverSays;
};

class SimulatedFooterTest : public ::testing::TestWithParam<FooterCase> {};

TEST_P(SimulatedFooterTest, NamesWhatTheInterleaverIs) {
  RecordSimulation simulation;
  simulation.decoder = "max-log-map";
  simulation.interleaver = GetParam().interleaver;
  const std::string text =
      captureFile([&](std::FILE* file) { writeSimulatedErrorRates(file, simulation); });
  const std::string footer = text.substr(text.find("\n .. "));
  EXPECT_NE(footer.find(GetParam().says), std::string::npos) << footer;
  EXPECT_EQ(footer.find(GetParam().neverSays), std::string::npos) << footer;
}

INSTANTIATE_TEST_SUITE_P(
    Interleavers, SimulatedFooterTest,
    ::testing::Values(FooterCase{"Random", "random", "uniform interleaver's ensemble", "not the"},
                      FooterCase{"Qpp", "qpp:3,10", "not the uniform-interleaver average",
                                 "ensemble"}),
    [](const auto& testInfo) { return std::string(testInfo.param.name); });

}  // namespace
}  // namespace brevandor

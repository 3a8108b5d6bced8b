#include "report/record_csv.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "logmath/log_domain.h"

namespace brevandor {
namespace {

std::vector<std::vector<std::string>> cells(const std::string& csv) {
  std::vector<std::vector<std::string>> rows;
  std::istringstream lines(csv);
  for (std::string line; std::getline(lines, line);) {
    std::vector<std::string> row;
    std::istringstream fields(line);
    for (std::string field; std::getline(fields, field, ',');) {
      row.push_back(field);
    }
    rows.push_back(row);
  }
  return rows;
}

TEST(RecordCsv, BoundTableReadsBackExactly) {
  RunRecord record;
  // Values of the two-bit frame of the default code at 0 and 5 dB, and one sum beyond a
  // double's range (long frames at 0 dB), marked as a low-weight estimate.
  record.bounds = {{0.0, 5.0},
                   {{"UB_Q", "Union Bound (Q function)", {9.988920e-02L, 3.499290e-03L}},
                    {"IUB_Exp", "Viterbi Bound", {1.36e309L, 2.586489e-02L}, true}}};
  const auto rows = cells(boundsCsv(record));
  ASSERT_EQ(rows.size(), 3U);
  EXPECT_EQ(rows[0], (std::vector<std::string>{"ebn0_db", "UB_Q", "IUB_Exp_estimate"}));
  for (std::size_t j = 0; j < 2; ++j) {
    EXPECT_EQ(std::strtod(rows[j + 1][0].c_str(), nullptr), record.bounds.ebn0Db[j]);
    for (std::size_t c = 0; c < 2; ++c) {
      EXPECT_EQ(std::strtold(rows[j + 1][c + 1].c_str(), nullptr),
                record.bounds.columns[c].values[j])
          << rows[j + 1][c + 1];
    }
  }
}

TEST(RecordCsv, SpectrumRowsCarryLogsAndDecimalCounts) {
  RunRecord record;
  // d = 9: A = 2, B = 1; d = 10: a count of 10^500 that only the logarithm can hold, with B
  // zero.
  record.spectrum.lines = {{9, std::log10(2.0), 0.0}, {10, 500.0, LogZero}};
  const auto rows = cells(spectrumCsv(record));
  ASSERT_EQ(rows.size(), 3U);
  EXPECT_EQ(rows[0], (std::vector<std::string>{"d", "log10_A", "log10_B", "A", "B"}));
  EXPECT_EQ(rows[1][0], "9");
  EXPECT_EQ(std::strtod(rows[1][1].c_str(), nullptr), std::log10(2.0));
  EXPECT_EQ(rows[1][3], "2.000000000e+00");
  EXPECT_EQ(rows[1][4], "1.000000000e+00");
  EXPECT_EQ(rows[2], (std::vector<std::string>{"10", "500", "", "1.000000000e+500", "0"}));
}

// The simulated points carry the record's counts and intervals, one row each; a cancelled
// point is marked incomplete.
TEST(RecordCsv, SimulationRowsCarryTheCountsAndIntervals) {
  RunRecord record;
  record.simulation = RecordSimulation{};
  record.simulation->points = {
      {1.5, 200, 7, 3, 40, 7.0 / 8000, 3.0 / 200, {3.5e-4, 1.8e-3}, {3.1e-3, 4.3e-2}, 6.25, false}};
  const auto rows = cells(simulationCsv(record));
  ASSERT_EQ(rows.size(), 2U);
  EXPECT_EQ(rows[0].size(), 13U);
  EXPECT_EQ(rows[1],
            (std::vector<std::string>{"1.5", "200", "7", "3", "40", "0.000875", "0.015", "0.00035",
                                      "0.0018", "0.0031", "0.043", "6.25", "0"}));
}

}  // namespace
}  // namespace brevandor

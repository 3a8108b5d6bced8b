// A run with further bounds or another Eb/N0 grid, against the same run with the defaults.

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <optional>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "bounds/ber_bounds.h"
#include "bounds/further_bounds.h"
#include "report/record_csv.h"
#include "report/run_record_json.h"
#include "run/calculation_run.h"
#include "support/numeric_text.h"
#include "support/temporary_directory.h"
#include "support/test_codes.h"

namespace brevandor {
namespace {

namespace fs = std::filesystem;

class FurtherBoundsRunTest : public ::testing::Test {
 protected:
  std::string runToText(const RunInputs& base, const char* name) {
    RunInputs inputs = base;
    inputs.resultsFileName = (directory_.path() / name).string();
    RunContext context;
    EXPECT_EQ(CalculationRun(inputs, context).execute().outcome, RunOutcome::Finished);
    return testing::readTextFile(inputs.resultsFileName);
  }

  RunInputs defaults() const {
    RunInputs inputs;
    inputs.inputFrameLength = 12;
    inputs.code = testing::defaultCode();
    return inputs;
  }

  testing::TemporaryDirectory directory_{"brevandor-further"};
};

// The file of a run with further bounds is the default file, byte for byte, and one section.
TEST_F(FurtherBoundsRunTest, AddsExactlyOneSectionAfterTheDefaultFile) {
  const std::string plain = runToText(defaults(), "plain.txt");
  RunInputs inputs = defaults();
  inputs.furtherBounds = {FurtherBound::TangentialSphereWord, FurtherBound::SpherePackingWord};
  const std::string further = runToText(inputs, "further.txt");
  ASSERT_EQ(further.substr(0, plain.size()), plain);
  const std::string added = further.substr(plain.size());
  EXPECT_EQ(added.rfind("\n Further Bounds ---", 0), 0u) << added;
  EXPECT_EQ(added.find("Further Bounds", 5), std::string::npos);
  EXPECT_NE(added.find("TSB_Word        Sphere_Word     \n"), std::string::npos) << added;
  EXPECT_EQ(added.find("BER Bounds"), std::string::npos);
}

// The record holds the grid and, after the text's columns, the further bounds as their section
// shows them: the JSON and CSV exports, the results window and brevandor-plot read it.
TEST_F(FurtherBoundsRunTest, RecordHoldsTheGridAndTheFurtherColumns) {
  RunInputs inputs = defaults();
  inputs.boundSelection = {BerBound::UnionQ};
  inputs.furtherBounds = {FurtherBound::UnionWordQ, FurtherBound::SpherePackingWord};
  inputs.ebn0Grid = EbN0Grid{0.0, 2.5, 5.0};
  inputs.resultsFileName = (directory_.path() / "record.txt").string();
  RunContext context;
  const RunResult result = CalculationRun(inputs, context).execute();
  ASSERT_NE(result.record, nullptr);
  const RecordBounds& bounds = result.record->bounds;
  EXPECT_EQ(bounds.ebn0Db, (std::vector<double>{0.0, 2.5, 5.0}));
  ASSERT_EQ(bounds.columns.size(), 3u);
  EXPECT_EQ(bounds.columns[0].name, "UB_Q");
  EXPECT_EQ(bounds.columns[1].name, "UB_Q_Word");
  EXPECT_EQ(bounds.columns[2].title, "Sphere-Packing Bound (word)");
  // At N = 12 the union bound on the word error passes 1 at 0 dB: shown, and kept, as 1.
  EXPECT_EQ(bounds.columns[1].values[0], 1.0L);
  const std::string file = testing::readTextFile(inputs.resultsFileName);
  for (std::size_t j = 1; j < 3; ++j) {
    const std::string row = file.substr(file.rfind(j == 1 ? "\n    2.500\t" : "\n    5.000\t"));
    const std::vector<double> shown =
        testing::splitNumbers(row.substr(0, row.find('\n', 1))).numbers;
    ASSERT_EQ(shown.size(), 3u);
    EXPECT_NEAR(static_cast<double>(bounds.columns[1].values[j]), shown[1], 1e-6 * shown[1]);
    EXPECT_NEAR(static_cast<double>(bounds.columns[2].values[j]), shown[2], 1e-6 * shown[2]);
  }
  EXPECT_EQ(result.record->inputs.bounds, (std::vector<std::string>{"q", "ub-word", "sphere"}));
  EXPECT_EQ(result.record->inputs.further.back(),
            (std::pair<std::string, std::string>{"ebn0", "0:2.5:5"}));
}

// Another grid changes the rows of the text's section only: the points it shares with the
// default grid keep their values to the digit.
TEST_F(FurtherBoundsRunTest, GridRowsMatchTheDefaultRowsAtTheSamePoints) {
  RunInputs base = defaults();
  base.boundSelection = kAllBerBounds;
  const std::string plain = runToText(base, "plain.txt");
  RunInputs inputs = base;
  inputs.ebn0Grid = EbN0Grid{0.0, 2.5, 5.0};
  const std::string coarse = runToText(inputs, "coarse.txt");
  for (const char* row : {"\n    0.000\t", "\n    2.500\t", "\n    5.000\t"}) {
    const std::size_t at = plain.find(row);
    ASSERT_NE(at, std::string::npos) << row;
    const std::string line = plain.substr(at, plain.find('\n', at + 1) - at);
    EXPECT_NE(coarse.find(line), std::string::npos) << line;
  }
  EXPECT_EQ(coarse.find("\n    0.250\t"), std::string::npos);
  EXPECT_EQ(coarse.substr(0, coarse.find("BER Bounds")), plain.substr(0, plain.find("BER Bounds")));
}

// log10 of a value written in the "%e" layout, whatever its exponent ("7.556966e-9334").
double log10OfText(const std::string& text) {
  const std::size_t marker = text.find('e');
  return std::log10(std::stod(text.substr(0, marker))) + std::stod(text.substr(marker + 1));
}

// The exports write every bound that lies below even the extended range (IUB_Exp and
// Sphere_Word of N = 100 at 30 dB, about 10^-9334 and 10^-27847) from its logarithm, as the
// results file prints it (to its seven digits), and the record reads them back: they were 0.
TEST_F(FurtherBoundsRunTest, ExportsWriteBoundsBelowTheExtendedRangeAsTheFilePrintsThem) {
  RunInputs inputs = defaults();
  inputs.inputFrameLength = 100;
  inputs.boundSelection = kAllBerBounds;
  inputs.furtherBounds = {FurtherBound::UnionWordQ, FurtherBound::SpherePackingWord};
  inputs.ebn0Grid = EbN0Grid{30.0, 0.5, 30.0};
  inputs.resultsFileName = (directory_.path() / "far.txt").string();
  RunContext context;
  const RunResult result = CalculationRun(inputs, context).execute();
  ASSERT_NE(result.record, nullptr);
  const std::string file = testing::readTextFile(inputs.resultsFileName);
  std::vector<std::string> printed;  // UB_Q, UB_Exp, IUB_Exp, then UB_Q_Word, Sphere_Word
  for (std::size_t at = file.find("\n   30.000\t"); at != std::string::npos;
       at = file.find("\n   30.000\t", at + 1)) {
    std::istringstream row(file.substr(at, file.find('\n', at + 1) - at));
    std::string value;
    for (row >> value; row >> value;) {
      printed.push_back(value);
    }
  }
  const std::string csv = boundsCsv(*result.record);
  const std::string csvRow = csv.substr(csv.find('\n') + 1);
  const RecordReading reading = readRunRecordJson(runRecordJson(*result.record));
  ASSERT_TRUE(reading.record.has_value()) << reading.error;
  const std::vector<BoundColumn>& columns = reading.record->bounds.columns;
  ASSERT_EQ(printed.size(), columns.size()) << file;
  for (std::size_t c = 0; c < columns.size(); ++c) {
    SCOPED_TRACE(columns[c].name);
    const std::optional<double> beyond = log10BeyondRange(columns[c], 0);
    const double read = beyond ? *beyond : static_cast<double>(std::log10(columns[c].values[0]));
    EXPECT_NEAR(read, log10OfText(printed[c]), 5e-7 / std::log(10.0));
    std::istringstream fields(csvRow);
    std::string field;
    for (std::size_t k = 0; k <= c + 1; ++k) {
      std::getline(fields, field, ',');
    }
    EXPECT_NEAR(log10OfText(field), log10OfText(printed[c]), 5e-7 / std::log(10.0)) << field;
  }
  EXPECT_NE(csvRow.find("e-9334"), std::string::npos) << csvRow;
}

// In low-weight mode the further sums run over the weights computed, out of a code of the
// whole length, and the section says that they are estimates.
TEST_F(FurtherBoundsRunTest, LowWeightModeMarksTheSumsAsEstimates) {
  RunInputs inputs = defaults();
  inputs.maxWeight = 10;
  inputs.furtherBounds = {FurtherBound::SimpleWord, FurtherBound::SpherePackingWord};
  const std::string text = runToText(inputs, "low.txt");
  const std::string section = text.substr(text.find("\n Further Bounds"));
  EXPECT_NE(section.find("\n   n = 44, K = 12 \n"), std::string::npos) << section;
  EXPECT_NE(section.find("*NOTE : Sums over the low-weight terms d <= 10 only"), std::string::npos)
      << section;
}

}  // namespace
}  // namespace brevandor

#include "run/calculation_run.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cctype>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "support/recording_target.h"
#include "support/temporary_directory.h"
#include "support/test_codes.h"
#include "turbo/concatenation_type.h"

namespace brevandor {
namespace {

namespace fs = std::filesystem;

// Records the notices of a run and sets the cancel flag when a chosen log text arrives.
struct StageRecorder {
  StageRecorder()
      : target([this](const RunNotice& notice) {
          if (notice.kind == NoticeKind::LogLine && !cancelOn.empty() && notice.text == cancelOn) {
            cancelFlag.store(1);
          }
        }) {}

  std::vector<std::string> logTexts() const { return target.logLines(); }
  int finishedCount() const {
    return static_cast<int>(target.texts(NoticeKind::RunFinished).size());
  }

  CancelFlag cancelFlag{0};
  std::string cancelOn;
  testing::RecordingTarget target;
};

const auto readFile = testing::readTextFile;

class CalculationRunTest : public ::testing::Test {
 protected:
  RunInputs inputs(ConcatenationType type, std::int32_t frameLength, BerBoundSet bounds) const {
    RunInputs in;
    in.selectedType = type;
    in.inputFrameLength = frameLength;
    in.boundSelection = bounds;
    in.resultsFileName = (directory_ / "results.txt").string();
    in.code = testing::defaultCode();
    return in;
  }

  RunResult run(const RunInputs& in, StageRecorder& recorder, Engine engine = Engine::Fast) {
    RunContext context;
    context.cancelFlag = &recorder.cancelFlag;
    context.noticeTarget = &recorder.target;
    context.engine = engine;
    return CalculationRun(in, context).execute();
  }

  testing::TemporaryDirectory temporary_{"brevandor-run"};
  const fs::path& directory_ = temporary_.path();
};

// The log texts of a run with the two calendar-time lines replaced by "<time>".
std::vector<std::string> withoutTimes(std::vector<std::string> texts) {
  for (std::string& text : texts) {
    if (text.size() > 20 && text.front() == ' ' && text.back() == '\n' &&
        text.find(':') != std::string::npos && text.find("Calculation") == std::string::npos) {
      text = "<time>";
    }
  }
  return texts;
}

TEST_F(CalculationRunTest, ParallelRunLogsEveryStageInOrder) {
  for (const BerBoundSet bounds : {BerBoundSet{}, kAllBerBounds}) {
    StageRecorder recorder;
    const RunInputs in = inputs(ConcatenationType::Parallel, 10, bounds);
    const RunResult result = run(in, recorder);
    ASSERT_EQ(result.outcome, RunOutcome::Finished);
    EXPECT_EQ(result.maxWeight, 38);
    std::vector<std::string> expected = {
        "\n> Start Calculation ", "<time>",        "\n TM Calculation .. ", " Completed \n",
        " CWEF Calculation .. ",  " Completed \n", " TWEF Calculation .. ", " Completed \n"};
    if (!bounds.empty()) {
      expected.insert(expected.end(), {" BER Calculation .. ", " Completed \n"});
    }
    expected.insert(expected.end(), {" " + in.resultsFileName + "  Created.", "<time>"});
    EXPECT_EQ(withoutTimes(recorder.logTexts()), expected) << "bounds " << bounds.bits();
    EXPECT_EQ(recorder.finishedCount(), 1);
    const std::string file = readFile(in.resultsFileName);
    EXPECT_EQ(file.find("BER Bounds") != std::string::npos, !bounds.empty());
  }
}

TEST_F(CalculationRunTest, SerialRunComputesBothMatricesUnderOneLine) {
  StageRecorder recorder;
  const RunInputs in = inputs(ConcatenationType::Serial, 10, {BerBound::UnionQ});
  ASSERT_EQ(run(in, recorder).outcome, RunOutcome::Finished);
  const std::vector<std::string> expected = {"\n> Start Calculation ",
                                             "<time>",
                                             "\n TM Calculation .. ",
                                             " Completed \n",
                                             " CWEF 1 Calculation .. ",
                                             " Completed \n",
                                             " CWEF 2 Calculation .. ",
                                             " Completed \n",
                                             " TWEF Calculation .. ",
                                             " Completed \n",
                                             " BER Calculation .. ",
                                             " Completed \n",
                                             " " + in.resultsFileName + "  Created.",
                                             "<time>"};
  EXPECT_EQ(withoutTimes(recorder.logTexts()), expected);
}

TEST_F(CalculationRunTest, RepetitionRunHasNoFirstCwefLine) {
  StageRecorder recorder;
  const RunInputs in = inputs(ConcatenationType::RepetitionSerial, 10, {});
  const RunResult result = run(in, recorder);
  ASSERT_EQ(result.outcome, RunOutcome::Finished);
  const std::vector<std::string> expected = {"\n> Start Calculation ",
                                             "<time>",
                                             "\n TM Calculation .. ",
                                             " Completed \n",
                                             " CWEF 2 Calculation .. ",
                                             " Completed \n",
                                             " TWEF Calculation .. ",
                                             " Completed \n",
                                             " " + in.resultsFileName + "  Created.",
                                             "<time>"};
  EXPECT_EQ(withoutTimes(recorder.logTexts()), expected);
  // The inner code is the non-systematic counterpart, and the report names that kind.
  const std::string file = readFile(in.resultsFileName);
  EXPECT_NE(file.find("\n Recursive Non Systematic Convolutional Code "), std::string::npos);
  EXPECT_NE(file.find("\n with ( n, k, K ) = ( 1, 1, 3 ) "), std::string::npos);
  EXPECT_EQ(result.maxWeight, 32);
}

struct CancelCase {
  ConcatenationType type;
  const char* cancelOn;
  bool keepsSpectrum;
};

class CalculationRunCancelTest : public CalculationRunTest,
                                 public ::testing::WithParamInterface<CancelCase> {};

TEST_P(CalculationRunCancelTest, EndsWithCanceledLineAndKeepsWrittenSections) {
  for (const Engine engine : {Engine::Reference, Engine::Fast}) {
    StageRecorder recorder;
    recorder.cancelOn = GetParam().cancelOn;
    const RunInputs in = inputs(GetParam().type, 40, kAllBerBounds);
    const RunResult result = run(in, recorder, engine);
    EXPECT_EQ(result.outcome, RunOutcome::Cancelled);
    ASSERT_FALSE(recorder.logTexts().empty());
    EXPECT_EQ(recorder.logTexts().back(), "\n -- Calculation Canceled \n");
    EXPECT_EQ(recorder.logTexts()[recorder.logTexts().size() - 2], GetParam().cancelOn);
    EXPECT_EQ(recorder.finishedCount(), 0);
    const std::string file = readFile(in.resultsFileName);
    EXPECT_NE(file.find("\n End of Turbo Code Information -------------\n"), std::string::npos);
    EXPECT_EQ(file.find("\n End of Distance Spt -----") != std::string::npos,
              GetParam().keepsSpectrum);
    EXPECT_EQ(file.find("BER Bounds"), std::string::npos);
    EXPECT_TRUE(file.ends_with("-----\n\n -- Calculation Canceled \n")) << file;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Stages, CalculationRunCancelTest,
    ::testing::Values(CancelCase{ConcatenationType::Parallel, " CWEF Calculation .. ", false},
                      CancelCase{ConcatenationType::Serial, " CWEF 1 Calculation .. ", false},
                      CancelCase{ConcatenationType::Serial, " CWEF 2 Calculation .. ", false},
                      CancelCase{ConcatenationType::Parallel, " TWEF Calculation .. ", false},
                      CancelCase{ConcatenationType::Serial, " TWEF Calculation .. ", false},
                      CancelCase{ConcatenationType::Parallel, " BER Calculation .. ", true},
                      CancelCase{ConcatenationType::RepetitionSerial, " BER Calculation .. ",
                                 true}),
    [](const auto& testInfo) {
      std::string name = std::string(concatenationTypeName(testInfo.param.type)).substr(0, 3);
      for (const char c : std::string(testInfo.param.cancelOn)) {
        if (std::isalnum(static_cast<unsigned char>(c)) != 0) {
          name += c;
        }
      }
      return name;
    });

TEST_F(CalculationRunTest, UnopenableFileFailsWithItsName) {
  StageRecorder recorder;
  RunInputs in = inputs(ConcatenationType::Parallel, 10, {BerBound::UnionQ});
  in.resultsFileName = (directory_ / "missing" / "results.txt").string();
  const RunResult result = run(in, recorder);
  EXPECT_EQ(result.outcome, RunOutcome::Failed);
  const std::string expected =
      "Cannot open the results file '" + in.resultsFileName + "': No such file or directory";
  EXPECT_EQ(result.failure, expected);
  EXPECT_EQ(recorder.logTexts().back(), "\n -- " + expected + " \n");
  EXPECT_EQ(recorder.finishedCount(), 0);
}

TEST_F(CalculationRunTest, EnginesWriteTheSameReport) {
  for (const ConcatenationType type : {ConcatenationType::Parallel, ConcatenationType::Serial,
                                       ConcatenationType::RepetitionSerial}) {
    StageRecorder reference;
    StageRecorder fast;
    RunInputs in = inputs(type, 24, kAllBerBounds);
    ASSERT_EQ(run(in, reference, Engine::Reference).outcome, RunOutcome::Finished);
    const std::string referenceFile = readFile(in.resultsFileName);
    ASSERT_EQ(run(in, fast, Engine::Fast).outcome, RunOutcome::Finished);
    EXPECT_EQ(readFile(in.resultsFileName), referenceFile)
        << "type " << concatenationTypeName(type);
  }
}

TEST_F(CalculationRunTest, RunsSideBySideWithoutSharedState) {
  // Two runs of different types on two threads at once give the files of two runs alone.
  RunInputs parallel = inputs(ConcatenationType::Parallel, 30, kAllBerBounds);
  RunInputs serial = inputs(ConcatenationType::Serial, 20, kAllBerBounds);
  serial.resultsFileName = (directory_ / "serial.txt").string();
  StageRecorder a;
  StageRecorder b;
  ASSERT_EQ(run(parallel, a).outcome, RunOutcome::Finished);
  ASSERT_EQ(run(serial, b).outcome, RunOutcome::Finished);
  const std::string parallelAlone = readFile(parallel.resultsFileName);
  const std::string serialAlone = readFile(serial.resultsFileName);

  StageRecorder c;
  StageRecorder d;
  std::thread other([&] { run(serial, d); });
  run(parallel, c);
  other.join();
  EXPECT_EQ(readFile(parallel.resultsFileName), parallelAlone);
  EXPECT_EQ(readFile(serial.resultsFileName), serialAlone);
}

}  // namespace
}  // namespace brevandor

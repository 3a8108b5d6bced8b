#include "progress/progress_report.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/case_name.h"
#include "support/recording_target.h"

namespace brevandor {
namespace {

using testing::RecordingTarget;

struct EstimateCase {
  std::int64_t units;
  const char* text;
};

class RemainingTimeText : public ::testing::TestWithParam<EstimateCase> {};

TEST_P(RemainingTimeText, SplitsSixtiethsIntoHoursMinutesAndSeconds) {
  EXPECT_EQ(ProgressReport::remainingTimeText(GetParam().units), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Units, RemainingTimeText,
    ::testing::Values(EstimateCase{0, "Est. Remaining Time =  0 hrs,  0 min,  0 sec,  0'"},
                      EstimateCase{3661, "Est. Remaining Time =  0 hrs,  1 min,  1 sec,  1'"},
                      EstimateCase{216000, "Est. Remaining Time =  1 hrs,  0 min,  0 sec,  0'"},
                      EstimateCase{215999, "Est. Remaining Time =  0 hrs, 59 min, 59 sec, 59'"},
                      // Beyond 32 bits: a very long run still gets a sensible estimate.
                      EstimateCase{10'000'000'000,
                                   "Est. Remaining Time = 46296 hrs, 17 min, 46 sec, 40'"}),
    [](const auto& named) { return "Units" + std::to_string(named.param.units); });

// A report whose clock returns the given readings in turn.
struct ScriptedReport {
  std::vector<std::int32_t> readings;
  std::size_t next = 0;
  RecordingTarget target;
  RunContext context;
  ProgressReport report{context};

  explicit ScriptedReport(std::vector<std::int32_t> clockReadings)
      : readings(std::move(clockReadings)) {
    context.noticeTarget = &target;
    context.clock = [this] { return readings.at(next++); };
  }
};

TEST(ProgressReport, ThreeStepsOfAHundredMillisecondsWithTenToGo) {
  ScriptedReport scripted({1000, 1100, 1200, 1300});
  scripted.report.start();
  for (int step = 0; step < 3; ++step) {
    scripted.report.step(10);
  }
  // 100 ms is 6 units; 6 units a step times 10 steps is 60 units, one second.
  EXPECT_EQ(scripted.target.statusLines().back(),
            "Est. Remaining Time =  0 hrs,  0 min,  1 sec,  0'");
}

TEST(ProgressReport, MeanBelowOneUnitIsScaledBeforeItIsRounded) {
  // Steps of 1 and 2 units: the mean of 1.5 units times 100 remaining steps is 150
  // sixtieths. (Rounding the mean down first would show 100.)
  ScriptedReport scripted({0, 16, 48});
  scripted.report.start();
  scripted.report.step(7);
  scripted.report.step(100);
  EXPECT_EQ(
      scripted.target.statusLines(),
      (std::vector<std::string>{"--- Wait ---", "Est. Remaining Time =  0 hrs,  0 min,  0 sec,  7'",
                                "Est. Remaining Time =  0 hrs,  0 min,  2 sec, 30'"}));
}

TEST(ProgressReport, StepsShorterThanAUnitStillAddUp) {
  // A thousand steps of 2 ms each (the fast engine's sections are often that short) took
  // 2 s, 125 units: with as many steps to go the estimate is 2 s 5/60, not zero.
  std::vector<std::int32_t> readings;
  for (std::int32_t ms = 0; ms <= 2000; ms += 2) {
    readings.push_back(ms);
  }
  ScriptedReport scripted(readings);
  scripted.report.start();
  for (int step = 0; step < 1000; ++step) {
    scripted.report.step(1000);
  }
  EXPECT_EQ(scripted.target.statusLines().back(),
            "Est. Remaining Time =  0 hrs,  0 min,  2 sec,  5'");
}

TEST(ProgressReport, LoopOfNoStepsShowsNoEstimate) {
  ScriptedReport scripted({0});
  scripted.report.start();
  scripted.report.finish();
  EXPECT_EQ(scripted.target.statusLines(),
            (std::vector<std::string>{"--- Wait ---", "------------"}));
  EXPECT_TRUE(scripted.target.logLines().empty());
}

TEST(ProgressReport, StepAcrossTheClockWrapIsTimedForward) {
  // The steady clock counts modulo 2^31 ms: a step from just below the wrap to just above
  // it lasted 32 ms, two units.
  ScriptedReport scripted({0x7FFFFFF0, 0x10});
  scripted.report.start();
  scripted.report.step(1);
  EXPECT_EQ(scripted.target.statusLines().back(),
            "Est. Remaining Time =  0 hrs,  0 min,  0 sec,  2'");
  EXPECT_EQ(ProgressReport::elapsedMilliseconds(0x7FFFFFF0, 0x10), 32);
  EXPECT_EQ(ProgressReport::elapsedMilliseconds(100, 164), 64);
}

TEST(RunContext, EveryPostedLineArrivesInOrder) {
  RecordingTarget target;
  RunContext context;
  context.noticeTarget = &target;
  std::vector<std::string> posted;
  for (int i = 0; i < 20; ++i) {
    posted.push_back("line " + std::to_string(i) + "\n");
    EXPECT_EQ(context.postLogLine(posted.back()), 0);
  }
  context.postStatusLine("status");
  context.postRunFinished();
  EXPECT_EQ(target.logLines(), posted);
  const std::vector<RunNotice> notices = target.notices();
  ASSERT_EQ(notices.size(), 22u);
  EXPECT_EQ(notices[20].kind, NoticeKind::StatusLine);
  EXPECT_EQ(notices[20].text, "status");
  EXPECT_EQ(notices[21].kind, NoticeKind::RunFinished);
}

TEST(RunContext, NoticeOwnsItsText) {
  RecordingTarget target;
  RunContext context;
  context.noticeTarget = &target;
  std::string text = "first";
  context.postLogLine(text);
  text = "changed";
  EXPECT_EQ(target.logLines(), std::vector<std::string>{"first"});
}

TEST(RunContext, WithoutTargetNothingIsDeliveredAndNothingFails) {
  RunContext context;
  EXPECT_EQ(context.postLogLine("lost"), 0);
  EXPECT_EQ(context.postStatusLine("lost"), 0);
  context.postRunFinished();
  ProgressReport report(context);
  report.start();
  report.step(3);
  report.finish();
}

TEST(RunContext, CancelRequestFollowsTheFlag) {
  RunContext context;
  EXPECT_FALSE(context.cancelRequested());
  CancelFlag flag{0};
  context.cancelFlag = &flag;
  EXPECT_FALSE(context.cancelRequested());
  flag = 1;
  EXPECT_TRUE(context.cancelRequested());
}

}  // namespace
}  // namespace brevandor

#include "progress/stage_progress.h"

#include <gtest/gtest.h>

#include <vector>

#include "support/case_name.h"
#include "support/recording_target.h"

namespace brevandor {
namespace {

struct DurationCase {
  std::int64_t milliseconds;
  const char* text;
};

class DurationText : public ::testing::TestWithParam<DurationCase> {};

TEST_P(DurationText, NamesHoursMinutesAndSeconds) {
  EXPECT_EQ(durationText(GetParam().milliseconds), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Milliseconds, DurationText,
    ::testing::Values(DurationCase{0, "less than 1 s"}, DurationCase{999, "less than 1 s"},
                      DurationCase{1000, "1 s"}, DurationCase{59999, "59 s"},
                      DurationCase{60000, "1 min 00 s"}, DurationCase{185000, "3 min 05 s"},
                      DurationCase{3599999, "59 min 59 s"}, DurationCase{3723000, "1 h 02 min"},
                      DurationCase{-5, "less than 1 s"}),
    [](const auto& named) {
      return testing::caseName("Ms" + std::to_string(named.param.milliseconds));
    });

// Two stages expected to take 1 s and 3 s, on a clock the test sets.
struct TwoStages {
  std::int32_t now = 10000;
  testing::RecordingTarget target;
  RunContext context;
  StageProgress progress;

  TwoStages() : context(makeContext()), progress(context, {1.0, 3.0}) {}

  RunContext makeContext() {
    RunContext made;
    made.noticeTarget = &target;
    made.clock = [this] { return now; };
    return made;
  }
};

TEST(StageProgress, WeighsTheStagesByTheirExpectedTime) {
  TwoStages run;
  run.progress.stageStarted();
  EXPECT_EQ(run.progress.last().stage, 1);
  EXPECT_EQ(run.progress.last().stageCount, 2);
  EXPECT_EQ(run.progress.last().runFraction, 0.0);

  // Half of the first stage after 500 ms, which says 500 ms are left in it.
  run.now += 500;
  run.progress.stepDone(1, 1, 500);
  const RunProgress half = run.progress.last();
  EXPECT_EQ(half.stageFraction, 0.5);
  EXPECT_DOUBLE_EQ(half.runFraction, 0.5 * 1.0 / 4.0);
  EXPECT_EQ(half.stageRemainingMs, 500);
  // 500 ms bought half an expected second: 1000 ms a second, so the second stage's 3 s
  // should take 3000 ms more.
  EXPECT_EQ(half.runRemainingMs, 500 + 3000);

  run.now += 500;
  run.progress.stageFinished();
  EXPECT_DOUBLE_EQ(run.progress.last().runFraction, 0.25);
  run.progress.stageStarted();
  EXPECT_EQ(run.progress.last().stage, 2);
  EXPECT_DOUBLE_EQ(run.progress.last().runFraction, 0.25);
  EXPECT_EQ(run.progress.last().runRemainingMs, 3000);
  run.progress.stageFinished();
  EXPECT_DOUBLE_EQ(run.progress.last().runFraction, 1.0);

  // Every step reached the notice target, as a Progress notice that says it in words.
  const auto lines = run.target.texts(NoticeKind::Progress);
  ASSERT_EQ(lines.size(), 5u);
  EXPECT_EQ(lines[1], "Stage 1 of 2: 50 %, less than 1 s left; whole run: 12 %, 3 s left");
}

// Two stages at a steady rate, each step of a stage taking the same time: `pace` real
// milliseconds per expected second (1000: as planned).
struct SteadyCase {
  const char* name;
  std::int32_t pace;
  bool runTimeFalls;  // the whole run's time too: only when the plan is right
};

class SteadyStages : public ::testing::TestWithParam<SteadyCase> {};

// The time left starts from the plan, and that of each stage never rises.
TEST_P(SteadyStages, CountDownWithoutRising) {
  TwoStages run;
  constexpr int kSteps = 100;
  for (const double expectedSeconds : {1.0, 3.0}) {
    run.progress.stageStarted();
    RunProgress previous = run.progress.last();
    if (expectedSeconds == 1.0) {
      EXPECT_EQ(previous.stageRemainingMs, 1000);
      EXPECT_EQ(previous.runRemainingMs, 4000);
    }
    for (int step = 1; step <= kSteps; ++step) {
      run.now += static_cast<std::int32_t>(expectedSeconds * GetParam().pace / kSteps);
      run.progress.stepDone(step, kSteps - step, 12345);  // the stage's own guess is not used
      const RunProgress now = run.progress.last();
      EXPECT_LE(now.stageRemainingMs, previous.stageRemainingMs) << "step " << step;
      if (GetParam().runTimeFalls) {
        EXPECT_LE(now.runRemainingMs, previous.runRemainingMs) << "step " << step;
      }
      previous = now;
    }
    run.progress.stageFinished();
  }
}

INSTANTIATE_TEST_SUITE_P(Paces, SteadyStages,
                         ::testing::Values(SteadyCase{"AsPlanned", 1000, true},
                                           SteadyCase{"TwiceAsFast", 500, true},
                                           SteadyCase{"HalfAsFastAgain", 1500, false},
                                           SteadyCase{"TwiceAsSlow", 2000, false}),
                         [](const auto& named) { return std::string(named.param.name); });

TEST(StageProgress, AStageThePlanLackedIsCountedToo) {
  TwoStages run;
  for (int stage = 0; stage < 3; ++stage) {
    run.progress.stageStarted();
    run.progress.stageFinished();
  }
  EXPECT_EQ(run.progress.last().stage, 3);
  EXPECT_EQ(run.progress.last().stageCount, 3);
  EXPECT_DOUBLE_EQ(run.progress.last().runFraction, 1.0);
}

}  // namespace
}  // namespace brevandor

// Measures the rates behind the run estimate: runs whole calculations of the fast engine,
// times each long stage from the run's progress notices (a stage runs from its first notice
// to the notice that completes it), and prints, per stage, its work (as the estimate counts
// it), its time, the rate work / time and the time the estimate expects. Stages are timed in
// processor time of the whole process (all threads), which other work on a shared machine
// disturbs far less than wall time; on an idle machine the wall time of T busy threads is
// about processor time / T.
// Usage: brevandor-estimate-calibration [--threads=T] [type:N ...]
//   (default: pccc:500 pccc:1000 pccc:2000 sccc:300 sccc:600 sccc:1000 rep:1000 rep:2000)
#include <cstdio>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <mutex>
#include <string>
#include <vector>

#include "code/code_description.h"
#include "run/calculation_run.h"
#include "run/run_estimate.h"
#include "turbo/concatenation_type.h"

namespace {

using namespace brevandor;

// Processor seconds of the whole process so far.
double processorSeconds() {
  return static_cast<double>(std::clock()) / CLOCKS_PER_SEC;
}

// Keeps the time at which each stage first reported and at which it completed.
class StageClock : public NoticeTarget {
 public:
  void receiveNotice(RunNotice notice) override {
    if (notice.kind != NoticeKind::Progress) {
      return;
    }
    const std::lock_guard lock(mutex_);
    const auto stage = static_cast<std::size_t>(notice.progress.stage);
    if (begun_.size() < stage) {
      begun_.resize(stage, processorSeconds());
      ended_.resize(stage, processorSeconds());
    }
    if (notice.progress.stageFraction >= 1.0) {
      ended_[stage - 1] = processorSeconds();
    }
  }
  double seconds(std::size_t stage) const {
    return stage < begun_.size() ? ended_[stage] - begun_[stage] : 0.0;
  }

 private:
  std::mutex mutex_;
  std::vector<double> begun_;
  std::vector<double> ended_;
};

ConcatenationType typeOf(const std::string& name) {
  return parseTypeName(name).value_or(ConcatenationType::Parallel);
}

}  // namespace

int main(int argc, char** argv) {
  int threads = 0;
  std::vector<std::string> cases;
  for (int i = 1; i < argc; ++i) {
    if (std::strncmp(argv[i], "--threads=", 10) == 0) {
      threads = std::atoi(argv[i] + 10);
    } else {
      cases.emplace_back(argv[i]);
    }
  }
  if (cases.empty()) {
    cases = {"pccc:500", "pccc:1000", "pccc:2000", "sccc:300",
             "sccc:600", "sccc:1000", "rep:1000",  "rep:2000"};
  }
  const std::filesystem::path file =
      std::filesystem::temp_directory_path() / "brevandor-estimate-calibration.txt";

  std::printf(
      "| type | N | stage | work (cells) | processor s | rate (cells/processor s) | estimate s "
      "|\n");
  std::printf("|---|---:|---|---:|---:|---:|---:|\n");
  for (const std::string& item : cases) {
    const std::size_t colon = item.find(':');
    RunInputs inputs;
    inputs.selectedType = typeOf(item.substr(0, colon));
    inputs.inputFrameLength = std::atoi(item.c_str() + colon + 1);
    inputs.boundSelection = kAllBerBounds;
    inputs.resultsFileName = file.string();
    inputs.code = *describeCode(7, 5).description;

    StageClock stageClock;
    RunContext context;
    context.noticeTarget = &stageClock;
    context.threads = threads;
    const RunEstimate estimate = estimateRun(inputs, context);
    const RunResult result = CalculationRun(inputs, context).execute();
    if (result.outcome != RunOutcome::Finished) {
      std::fprintf(stderr, "%s: the run did not finish: %s\n", item.c_str(),
                   result.failure.c_str());
      return 1;
    }
    for (std::size_t s = 0; s < estimate.stages.size(); ++s) {
      const StageEstimate& stage = estimate.stages[s];
      const double seconds = stageClock.seconds(s);
      std::printf("| %s | %d | %s | %.3g | %.3f | %.3g | %.3f |\n",
                  std::string(concatenationTypeName(inputs.selectedType)).c_str(),
                  inputs.inputFrameLength, stage.name.c_str(), stage.work, seconds,
                  seconds > 0 ? stage.work / seconds : 0.0, stage.seconds);
    }
  }
  std::filesystem::remove(file);
  return 0;
}

// What brevandor-plot promises about its picture and the records it reads: a picture that
// cannot be written is a failure with the reason and leaves the earlier picture whole, and a
// record that no run could have written is refused before anything is drawn.

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "child_process.h"
#include "support/temporary_directory.h"

namespace brevandor {
namespace {

namespace fs = std::filesystem;
using testing::ProcessResult;

constexpr const char* kPlotProgram = BREVANDOR_PLOT_PATH;
constexpr const char* kEarlier = "an earlier picture\n";

// The saved run of a 10-bit PCCC written by brevandor-cli --json (schema version 1).
std::string savedRecord() {
  return testing::readTextFile(fs::path(BREVANDOR_TEST_DATA_DIR) / "records/pccc_n10_v1.json");
}

// The record with the first occurrence of `from` replaced by `to`.
std::string changed(std::string record, const std::string& from, const std::string& to) {
  const std::size_t at = record.find(from);
  EXPECT_NE(at, std::string::npos) << from;
  return at == std::string::npos ? record : record.replace(at, from.size(), to);
}

class PlotProgramTest : public ::testing::Test {
 protected:
  void SetUp() override { write("run.json", savedRecord()); }
  void write(const std::string& name, const std::string& text) {
    std::ofstream(directory_ / name, std::ios::binary) << text;
  }
  ProcessResult plot(const std::vector<std::string>& arguments) {
    return testing::runProcess(kPlotProgram, arguments, directory_.string());
  }
  // The program run by the shell after `ulimit <limit>`.
  ProcessResult plotLimited(const std::string& limit, std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(),
                     {"-c", "ulimit " + limit + " && exec \"$0\" \"$@\"", kPlotProgram});
    return testing::runProcess("/bin/sh", arguments, directory_.string());
  }
  std::vector<std::string> filesInDirectory() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(directory_)) {
      names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
  }

  testing::TemporaryDirectory temporary_{"brevandor-plot"};
  const fs::path& directory_ = temporary_.path();
};

TEST_F(PlotProgramTest, BoundsBeforeTheRunsAsTheSynopsisHasThem) {
  const ProcessResult result = plot({"--bounds", "q", "run.json", "-o", "q.svg"});
  EXPECT_EQ(result.exitCode, 0) << result.err;
  EXPECT_NE(testing::readTextFile(directory_ / "q.svg").find("Union Bound (Q function)"),
            std::string::npos);
}

// A picture that cannot be written: exit 1 with the system's reason, the earlier picture (if
// any) untouched, no temporary file left.
struct UnwritablePicture {
  const char* name;
  const char* output;
  const char* limit;   // a `ulimit` for the program, or nothing
  const char* reason;  // what standard error says
};

class UnwritablePictureTest : public PlotProgramTest,
                              public ::testing::WithParamInterface<UnwritablePicture> {};

TEST_P(UnwritablePictureTest, FailsWithTheReasonAndKeepsTheEarlierPicture) {
  const UnwritablePicture& picture = GetParam();
  const std::string output = picture.output;
  if (output == "folder.svg") {
    fs::create_directory(directory_ / output);
  } else if (output == "full.svg") {
    fs::create_symlink("/dev/full", directory_ / output);
  } else {
    write(output, kEarlier);
  }
  std::vector<std::string> arguments{"-o", output, "run.json"};
  bool otherUser = false;
  if (output == "readonly.svg") {
    fs::permissions(directory_ / output, fs::perms::owner_read);
    if (geteuid() == 0) {
      // The superuser may replace any file: the program runs as another user.
      fs::permissions(directory_, fs::perms::owner_all | fs::perms::group_read |
                                      fs::perms::group_exec | fs::perms::others_read |
                                      fs::perms::others_exec);
      arguments.insert(arguments.begin(),
                       {"--reuid=65534", "--regid=65534", "--clear-groups", kPlotProgram});
      otherUser = true;
    }
  }
  const std::vector<std::string> files = filesInDirectory();
  const ProcessResult result =
      otherUser ? testing::runProcess("/usr/bin/setpriv", arguments, directory_.string())
      : *picture.limit == '\0' ? plot(arguments)
                               : plotLimited(picture.limit, arguments);
  EXPECT_EQ(result.termSignal, 0);
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_NE(result.err.find("cannot write '" + output + "': " + picture.reason), std::string::npos)
      << result.err;
  EXPECT_EQ(filesInDirectory(), files);
  if (fs::is_regular_file(directory_ / output) && !fs::is_symlink(directory_ / output)) {
    EXPECT_EQ(testing::readTextFile(directory_ / output), kEarlier);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Pictures, UnwritablePictureTest,
    ::testing::Values(UnwritablePicture{"AFolder", "folder.svg", "", "Is a directory"},
                      UnwritablePicture{"AFullDisk", "full.svg", "", "No space left on device"},
                      // 2 blocks of 512 or 1024 bytes, far less than any picture.
                      UnwritablePicture{"AFileSizeLimit", "limited.png", "-f 2", "File too large"},
                      UnwritablePicture{"AReadOnlyFile", "readonly.svg", "", "Permission denied"}),
    [](const auto& named) { return std::string(named.param.name); });

// A record that no run could have written: refused by name and field with exit 2, no
// picture drawn.
struct RefusedRecord {
  const char* name;
  const char* from;  // text of the saved record …
  const char* to;    // … replaced by this
  const char* why;   // what standard error says
};

class RefusedRecordTest : public PlotProgramTest,
                          public ::testing::WithParamInterface<RefusedRecord> {};

TEST_P(RefusedRecordTest, IsRefusedWithExitTwo) {
  const RefusedRecord& record = GetParam();
  write("bad.json", changed(savedRecord(), record.from, record.to));
  const ProcessResult result = plot({"-o", "bad.svg", "bad.json"});
  EXPECT_EQ(result.exitCode, 2);
  EXPECT_NE(result.err.find("'bad.json' is refused: "), std::string::npos) << result.err;
  EXPECT_NE(result.err.find(record.why), std::string::npos) << result.err;
  EXPECT_EQ(result.err.find("QPainter"), std::string::npos) << result.err;
  EXPECT_FALSE(fs::exists(directory_ / "bad.svg"));
}

// Far more values than any record: eleven million zeros.
std::string hugeList() {
  std::string zeros = "[0";
  for (int i = 1; i < 11'000'000; ++i) {
    zeros += ",0";
  }
  return zeros + ",";
}

INSTANTIATE_TEST_SUITE_P(
    Records, RefusedRecordTest,
    ::testing::Values(RefusedRecord{"HugeEbN0", "\"ebn0_db\": [0.0,", "\"ebn0_db\": [1e308,",
                                    "\"bounds.ebn0_db[0]\" lies beyond"},
                      RefusedRecord{"HugeNegativeEbN0", "\"ebn0_db\": [0.0,",
                                    "\"ebn0_db\": [-1e308,", "\"bounds.ebn0_db[0]\" lies beyond"},
                      RefusedRecord{"NegativeBound", "\"values\": [0.556", "\"values\": [-0.556",
                                    "\"bounds.columns[0].values[0]\" is negative"},
                      RefusedRecord{"NegativeConstituents", "\"constituents\": 2",
                                    "\"constituents\": -2", "\"turbo.constituents\" is negative"},
                      RefusedRecord{"Truncated", "\"program\"", "", "it is not JSON"}),
    [](const auto& named) { return std::string(named.param.name); });

TEST_F(PlotProgramTest, RefusesFarTooManyValuesBeforeTheyTakeTheMemory) {
  // Eleven million zeros beside the grid: gigabytes as a JSON tree, refused while read.
  write("huge.json", changed(savedRecord(), "\"ebn0_db\": [",
                             "\"extra\": " + hugeList() + "0], \"ebn0_db\": ["));
  const ProcessResult result = plot({"-o", "huge.svg", "huge.json"});
  EXPECT_EQ(result.exitCode, 2);
  EXPECT_NE(result.err.find("far more than the record of any run"), std::string::npos)
      << result.err;
}

}  // namespace
}  // namespace brevandor

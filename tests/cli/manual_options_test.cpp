// The OPTIONS section of a manual page, written from CLI11 option definitions.

#include "cli/manual_options.h"

#include <gtest/gtest.h>

namespace brevandor::cli {
namespace {

TEST(ManualOptionsTest, RoffTextKeepsLiteralsAndStartsNoRequest) {
  // Expected strings from roff's rules: \e prints a backslash, \- a hyphen-minus, \& before
  // a leading dot or apostrophe keeps the line from being read as a request.
  EXPECT_EQ(roffText("a\\b --frame-length"), "a\\eb \\-\\-frame\\-length");
  EXPECT_EQ(roffText(".json or 'q'\n.csv"), "\\&.json or 'q'\n.br\n\\&.csv");
}

TEST(ManualOptionsTest, ListsVisibleOptionsByGroupWithValueDefaultAndRelations) {
  CLI::App app{"test"};
  std::string file = "out.txt";
  bool json = false;
  bool csv = false;
  std::string hidden;
  app.add_option("-o,--output", file, "Results file")->capture_default_str();
  CLI::Option* jsonFlag = app.add_flag("--json", json, "Write JSON")->group("Exports");
  app.add_flag("--csv", csv, "Write CSV.")->group("Exports")->excludes(jsonFlag);
  app.add_option("--engine", hidden)->group("");

  EXPECT_EQ(manualOptions(app),
            ".TP\n\\fB\\-h\\fR, \\fB\\-\\-help\\fR\nPrint this help message and exit.\n"
            ".TP\n\\fB\\-o\\fR, \\fB\\-\\-output\\fR \\fITEXT\\fR\nResults file.\n"
            "Default: \\fBout.txt\\fR.\n"
            ".SS \"Exports\"\n"
            // CLI11 records an exclusion on both options, and --help shows it on both.
            ".TP\n\\fB\\-\\-json\\fR\nWrite JSON.\nCannot be given with \\fB\\-\\-csv\\fR.\n"
            ".TP\n\\fB\\-\\-csv\\fR\nWrite CSV.\nCannot be given with \\fB\\-\\-json\\fR.\n");
}

}  // namespace
}  // namespace brevandor::cli

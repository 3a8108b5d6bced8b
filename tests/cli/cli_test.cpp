// The command-line program driven as a user drives it: through the real executable.

#include <gtest/gtest.h>
#include <signal.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <ostream>
#include <string>
#include <vector>

#include "child_process.h"
#include "cli_fixture.h"
#include "support/temporary_directory.h"

namespace brevandor {
namespace {

namespace fs = std::filesystem;
using testing::ChildProcess;
using testing::ProcessResult;

const auto readFile = testing::readTextFile;

TEST_F(CliTest, HelpNamesEveryOption) {
  const ProcessResult result = run({"--help"});
  EXPECT_EQ(result.exitCode, 0);
  for (const char* option :
       {"--numerator",   "--denominator",  "--type",         "--frame-length",   "--output",
        "--bounds",      "--quiet",        "--threads",      "--version",        "--max-weight",
        "--numerator2",  "--denominator2", "--puncture",     "--puncture-outer", "--puncture-inner",
        "--json",        "--csv",          "--spectrum-csv", "--precision",      "--ebn0",
        "--spectrum-in", "--code-length",  "--info-bits",    "--code",           "Example"}) {
    EXPECT_NE(result.out.find(option), std::string::npos) << option;
  }
}

TEST_F(CliTest, VersionSaysOnePointTwo) {
  const ProcessResult result = run({"--version"});
  EXPECT_EQ(result.exitCode, 0);
  EXPECT_NE(result.out.find("Version 1.2"), std::string::npos) << result.out;
}

TEST_F(CliTest, DefaultsComputeTheWindowsDefaultCalculation) {
  const ProcessResult result = run({});
  ASSERT_EQ(result.exitCode, 0) << result.err;
  const std::string file = readFile(directory_ / "results.txt");
  EXPECT_NE(file.find("\n Concatenation Type : PCCC "), std::string::npos);
  EXPECT_NE(file.find("\n Input  Frame Length = 128 [bits]"), std::string::npos);
  EXPECT_NE(file.find("\n Recursive Systematic Convolutional Code "), std::string::npos);
  EXPECT_NE(file.find("\n   SNR[dB]      UB_Q            \n"), std::string::npos);
  EXPECT_EQ(file.find("UB_Exp"), std::string::npos);
  // The log on standard output, exactly as the window shows it.
  EXPECT_EQ(result.out.rfind("\n> Start Calculation ", 0), 0u) << result.out;
  for (const char* text : {"\n TM Calculation ..  Completed \n CWEF Calculation ..  Completed \n"
                           " TWEF Calculation ..  Completed \n BER Calculation ..  Completed \n"
                           " results.txt  Created."}) {
    EXPECT_NE(result.out.find(text), std::string::npos) << result.out;
  }
  // Standard error is a pipe here, not a terminal: no status lines.
  EXPECT_EQ(result.err, "");
}

TEST_F(CliTest, QuietPrintsNoLog) {
  const ProcessResult result = run({"--quiet", "-N", "10", "-o", "quiet.txt"});
  EXPECT_EQ(result.exitCode, 0);
  EXPECT_EQ(result.out, "");
  EXPECT_TRUE(fs::exists(directory_ / "quiet.txt"));
}

TEST_F(CliTest, BoundListSelectsColumns) {
  const ProcessResult result = run({"--quiet", "-N", "10", "--bounds", "viterbi,q", "-o", "b.txt"});
  ASSERT_EQ(result.exitCode, 0);
  EXPECT_NE(readFile(directory_ / "b.txt").find("\n   SNR[dB]      UB_Q            IUB_Exp"),
            std::string::npos);
  ASSERT_EQ(run({"--quiet", "-N", "10", "--bounds", "none", "-o", "n.txt"}).exitCode, 0);
  EXPECT_EQ(readFile(directory_ / "n.txt").find("BER Bounds"), std::string::npos);
}

// Double-precision tables: the same file but for the last digits of the counts, which are
// exact now (the default code at N = 10: A_13 = 24.70952380…, in single precision 24.70953).
TEST_F(CliTest, DoublePrecisionPrintsTheExactCounts) {
  ASSERT_EQ(run({"--quiet", "-N", "10", "-o", "s.txt"}).exitCode, 0);
  ASSERT_EQ(run({"--quiet", "-N", "10", "--precision", "double", "-o", "d.txt"}).exitCode, 0);
  const std::string single = readFile(directory_ / "s.txt");
  const std::string exact = readFile(directory_ / "d.txt");
  EXPECT_NE(single.find("\n   13\t0.342105\t2.470953e+01\t"), std::string::npos);
  EXPECT_NE(exact.find("\n   13\t0.342105\t2.470952e+01\t"), std::string::npos);
  // … and the file says which precision it holds.
  const std::string line = "\n Table Precision : double \n";
  EXPECT_NE(exact.find(line), std::string::npos);
  EXPECT_EQ(single.size() + line.size(), exact.size());
}

struct Refusal {
  std::vector<std::string> arguments;
  const char* message;
};

// Printed as the command line it gives, in a failure and in the test list.
void PrintTo(const Refusal& refusal, std::ostream* out) {
  for (const std::string& argument : refusal.arguments) {
    *out << " '" << argument.substr(0, 40) << "'";
  }
}

class CliRefusalTest : public CliTest, public ::testing::WithParamInterface<Refusal> {};

TEST_P(CliRefusalTest, ExitsTwoAndTouchesNoFile) {
  const fs::path output = directory_ / "results.txt";
  std::ofstream(output) << "keep me";
  const ProcessResult result = run(GetParam().arguments);
  EXPECT_EQ(result.exitCode, 2);
  EXPECT_NE(result.err.find(GetParam().message), std::string::npos) << result.err;
  EXPECT_EQ(result.out, "");
  EXPECT_EQ(readFile(output), "keep me");
  // No results file, record or table of another name either.
  for (const fs::directory_entry& entry : fs::directory_iterator(directory_)) {
    EXPECT_EQ(entry.path(), output);
  }
}

const std::string kLongText(101, 'D');

// A case's name from its arguments, letters and digits only ("--numerator 1+x" gives
// "numerator_1x"), cut to a readable length; the index keeps cut or alike names apart.
std::string refusalName(const Refusal& refusal, std::size_t index) {
  std::string name;
  for (const std::string& argument : refusal.arguments) {
    std::string word;
    for (const char c : argument) {
      if (std::isalnum(static_cast<unsigned char>(c)) != 0) {
        word += c;
      }
    }
    if (!word.empty() && name.size() < 40) {
      name += (name.empty() ? "" : "_") + word.substr(0, 16);
    }
  }
  return name + "_" + std::to_string(index);
}

INSTANTIATE_TEST_SUITE_P(
    Inputs, CliRefusalTest,
    ::testing::Values(
        Refusal{{"-N", "9"}, "--frame-length: Please enter an integer between 10 and 10000."},
        Refusal{{"-N", "10001"}, "Please enter an integer between 10 and 10000."},
        Refusal{{"-N", ""}, "--frame-length: Please enter a positive integer."},
        Refusal{{"-N", "12x"}, "Please enter a positive integer."},
        Refusal{{"--numerator", "1+x"}, "--numerator \"1+x\":  Illegal Grammar "},
        Refusal{{"--numerator", "1+x", "--denominator", "1+D^12"},
                "--denominator \"1+D^12\":  Exponent n (in D^n) larger than or equal to 10"},
        Refusal{{"--numerator", "1+D", "--denominator", "1"}, "Invalid Parity Equation "},
        Refusal{{"--denominator", "D+D^2"}, "denominator needs the constant term"},
        Refusal{{"--numerator", "1+D+D+D"}, "Coefficient of D^n for all n should be 0 or 1"},
        Refusal{{"--denominator", kLongText}, "Please enter no more than 100 characters."},
        Refusal{{"-N", "20" + std::string(40, ' ') + "garbage"},
                "Please enter a positive integer."},
        Refusal{{"--type", "turbo"}, "--type: unknown type 'turbo'"},
        Refusal{{"--bounds", "q,exact"}, "--bounds: unknown list"},
        Refusal{{"--bounds", "tsb,"}, "--bounds: unknown list"},
        Refusal{{"--ebn0", "0:0:5"}, "--ebn0: the step must be greater than 0 dB"},
        Refusal{{"--ebn0", "0-5"}, "--ebn0: expected FROM:STEP:TO"},
        Refusal{{"--ebn0", "-6:1:5"}, "--ebn0: Eb/N0 must lie between -5 and 30 dB"},
        Refusal{{"--code-length", "56"}, "--code-length requires --spectrum-in"},
        Refusal{{"--spectrum-in", "s.csv", "-N", "10"}, "--frame-length excludes --spectrum-in"},
        Refusal{{"--spectrum-in", "s.csv", "--code-length", "56"},
                "--spectrum-in needs --code-length and --info-bits"},
        Refusal{{"--spectrum-in", "s.csv", "--code-length", "56", "--info-bits", "57"},
                "--info-bits: Please enter an integer between 1 and 56."},
        Refusal{{"--spectrum-in", "missing.csv", "--code-length", "56", "--info-bits", "16"},
                "--spectrum-in 'missing.csv': cannot open 'missing.csv': No such file"},
        Refusal{{"--spectrum-in", "s.csv", "--code-length", "7", "--info-bits", "4", "--json",
                 "s.json"},
                "--spectrum-in writes the results file only"},
        Refusal{{"--spectrum-in", "/dev/zero", "--code-length", "100", "--info-bits", "50"},
                "--spectrum-in '/dev/zero': line 1: the line is longer than 4096 bytes"},
        Refusal{{"--frobnicate"}, "frobnicate"},
        Refusal{{"--puncture", "11,10"},
                "--puncture \"11,10\": the pattern needs 3 rows (SYS,PAR1,PAR2)"},
        Refusal{{"--puncture", "11,1x,01"}, "'x' in row PAR1 is not a pattern character"},
        Refusal{{"--puncture", "11,100,01"}, "rows of different lengths"},
        Refusal{{"--puncture", "00,00,00"}, "the pattern sends no bit at all"},
        Refusal{{"-t", "rep", "--puncture", "11,10,01"},
                "the repetition type takes no puncturing pattern"},
        Refusal{{"-t", "sccc", "--puncture", "11,10,01"}, "an SCCC takes an outer and an inner"},
        Refusal{{"--puncture-inner", "11,10"}, "--puncture-inner \"11,10\": outer and inner"},
        Refusal{{"-t", "sccc", "--puncture-outer", "1,1,1"}, "needs 2 rows (SYS,PAR)"},
        Refusal{{"-t", "rep", "--numerator2", "1+D^2"}, "the repetition type has one"},
        Refusal{{"--numerator2", "1+x"}, "--numerator2 \"1+x\":  Illegal Grammar "},
        Refusal{{"--denominator2", "D+D^2"}, "denominator needs the constant term"},
        // Only every third section sent: a run of input bits of the default code sends nothing.
        Refusal{
            {"--max-weight", "20", "--puncture", "100,100,100"},
            "--puncture \"100,100,100\": low-weight mode (--max-weight): with this pattern a run "
            "of input bits can send no bit at all"},
        Refusal{{"--threads", "-1"}, "--threads: '-1' is not a number of threads (use 0 for all"},
        Refusal{{"--threads", "abc"}, "--threads: 'abc' is not a number of threads"},
        Refusal{{"--threads", "100000"},
                "--threads: 100000 is more threads than this machine can use (at most "},
        Refusal{{"--json", "results.txt"}, "--json: 'results.txt' is also the file of --output"},
        Refusal{{"--csv", "t.csv", "--spectrum-csv", "./t.csv"},
                "--spectrum-csv: './t.csv' is also the file of --csv"},
        Refusal{{"--simulation-csv", "s.csv"}, "give --simulate as well"},
        Refusal{{"--simulate", "--tail-inputs", "first"}, "not tail-biting ones or tails that"},
        Refusal{{"-N", "20000"}, "--frame-length: Please enter an integer between 10 and 10000."},
        Refusal{{"--max-weight", "0"}, "--max-weight: Please enter an integer between 1 and"},
        Refusal{{"--max-weight", "20" + std::string(40, ' ') + "x"},
                "--max-weight: Please enter a positive integer."},
        Refusal{{"--max-weight", "20", "-N", "1000001"},
                "--frame-length: Please enter an integer between 10 and 1000000."},
        Refusal{{"--precision", "quad"}, "--precision: unknown precision 'quad'"},
        Refusal{{"--interleaver", "lte", "-N", "40"}, "give --max-weight D to search"},
        Refusal{{"--interleaver", "random", "--max-weight", "12"},
                "the search needs one permutation"},
        Refusal{{"--interleaver", "qpp:3", "--max-weight", "12", "-N", "40"},
                "--interleaver 'qpp:3': "},
        Refusal{{"--interleaver", "lte", "--max-weight", "12", "-N", "41"},
                "--interleaver 'lte': "},
        Refusal{{"--interleaver", "file:missing.txt", "--max-weight", "12", "-N", "40"},
                "--interleaver 'file:missing.txt': "},
        Refusal{{"--interleaver", "lte", "--max-weight", "500", "-N", "40"},
                "--max-weight: D = 500 passes the codeword length of this frame (128 bits)"},
        Refusal{{"-t", "rep", "--interleaver", "lte", "--max-weight", "12", "-N", "40"},
                "takes PCCC and SCCC only"},
        Refusal{{"--numerator", "1+D,1+D^2,D,1+D+D^2,D^2", "--json", "r.json", "--csv", "r.csv"},
                "5 numerators given; a code has at most 4 parity outputs"},
        Refusal{{"--numerator", "1+D+D^2,1+x"}, "Illegal Grammar in numerator 2"},
        Refusal{{"-t", "rep", "--numerator", "1+D+D^2,1+D", "-o", "other.txt"},
                "--numerator \"1+D+D^2,1+D\": the repetition type's inner code"},
        Refusal{{"--numerator", "1+D+D^2,1+D", "--puncture", "11,10,01"},
                "the pattern needs 5 rows (SYS,PAR1.1,PAR1.2,PAR2.1,PAR2.2)"},
        Refusal{{"--numerator2", "1+D,1+D^2,D,1+D+D^2,D^2"}, "--numerator2 \"1+D,1+D^2,D,1+D"},
        Refusal{{"--constituents", "5", "-o", "other.txt", "--spectrum-csv", "s.csv"},
                "--constituents: Please enter an integer between 2 and 4."},
        Refusal{{"--constituents", "1"},
                "--constituents: Please enter an integer between 2 and 4."},
        Refusal{{"-t", "sccc", "--constituents", "3"},
                "--constituents \"3\": three or more constituents belong to a PCCC"},
        Refusal{{"-t", "rep", "--termination", "first"},
                "--termination \"first\": the repetition type has one convolutional code"},
        Refusal{{"--termination", "sideways"}, "--termination: unknown termination 'sideways'"},
        Refusal{{"--termination", "open", "--tail-inputs", "first"},
                "has no tail bits for --tail-inputs"},
        Refusal{{"--termination", "tail-biting"},
                "with feedback 1+D^2 and N = 128 the all-zero input has 4 circular states"},
        Refusal{{"-n", "1+D^2", "-d", "1+D+D^2", "--termination", "tail-biting", "-N", "12"},
                "the all-zero input has 4 circular states"},
        Refusal{{"--termination", "tail-biting-inner", "--json", "r.json"},
                "tail-biting-outer and tail-biting-inner name the codes of an SCCC"},
        Refusal{{"-t", "rep", "--termination", "tail-biting"},
                "tail-biting frames are analysed for a PCCC and an SCCC"},
        // An outer rate of 2/3 makes the inner frame 150 bits, a multiple of 3.
        Refusal{{"-t", "sccc", "-n", "1+D^2", "-d", "1+D+D^2", "--puncture-outer", "11,10",
                 "--termination", "tail-biting", "-N", "100"},
                "and the inner frame of 150 bits (N = 100) the all-zero input has 4 circular"},
        Refusal{{"--code", "turbo", "-o", "other.txt", "--json", "r.json"},
                "--code: unknown code 'turbo' (use lte, ccsds-1/2"},
        Refusal{{"--code", "lte", "-n", "1+D^2"}, "--numerator \"1+D^2\": --code lte sets 1+D+D^3"},
        Refusal{{"--code", "lte", "-t", "sccc"}, "--type \"sccc\": --code lte sets pccc"},
        Refusal{{"--code", "ccsds-1/3", "--puncture", "11,10,01"},
                "--puncture \"11,10,01\": --code ccsds-1/3 sets 1,1,0,0,1,0,0; leave this option "
                "out or give that value"},
        Refusal{{"--iterations", "8"}, "--iterations requires --simulate"},
        Refusal{{"--simulate", "--iterations", "0"}, "--iterations: '0' is not a whole number"},
        Refusal{{"--simulate", "--iterations", "101"}, "from 1 to 100"},
        Refusal{{"--simulate", "--max-frames", "0"}, "--max-frames: '0' is not a positive count"},
        Refusal{{"--simulate", "--decoder", "bcjr"}, "--decoder: unknown decoder 'bcjr'"},
        Refusal{{"--simulate", "--frames-from", "9", "--frames-to", "9"},
                "the window needs whole numbers 0 <= A < B"},
        Refusal{{"--simulate", "--interleaver", "ccsds"},
                "--interleaver: ccsds: N = 128 is not one of the CCSDS block sizes"},
        Refusal{{"--simulate", "--interleaver", "s-random:40"}, "found in 100 tries"},
        Refusal{{"--simulate", "--interleaver", "file:missing.txt"}, "cannot open"},
        Refusal{{"--simulate", "--interleaver", "qpp:x"}, "write the coefficients as qpp:F1,F2"}),
    [](const auto& testInfo) { return refusalName(testInfo.param, testInfo.index); });

// A simulation adds its section after the bounds, and its counts come from the seed alone:
// one thread and three write the same file. Encoder 2 is left open, as the bounds count it.
TEST_F(CliTest, SimulationCountsDoNotDependOnThreads) {
  const std::vector<std::string> common{"--quiet",
                                        "-N",
                                        "40",
                                        "--ebn0",
                                        "1:1:2",
                                        "--simulate",
                                        "--max-frames",
                                        "60",
                                        "--seed",
                                        "5",
                                        "--min-frame-errors",
                                        "4",
                                        "--termination",
                                        "first"};
  std::vector<std::string> one = common;
  one.insert(one.end(), {"-j", "1", "-o", "one.txt", "--simulation-csv", "one.csv"});
  std::vector<std::string> three = common;
  three.insert(three.end(), {"-j", "3", "-o", "three.txt"});
  ASSERT_EQ(run(one).exitCode, 0);
  ASSERT_EQ(run(three).exitCode, 0);
  const std::string file = readFile(directory_ / "one.txt");
  EXPECT_EQ(file, readFile(directory_ / "three.txt"));
  const std::size_t bounds = file.find("BER Bounds");
  const std::size_t simulated = file.find("\n Simulated Error Rates ---");
  ASSERT_NE(simulated, std::string::npos) << file;
  EXPECT_LT(bounds, simulated);
  EXPECT_NE(file.find("\n    2.000   "), std::string::npos) << file;
  // The CSV holds a head and one row per simulated point.
  const std::string csv = readFile(directory_ / "one.csv");
  EXPECT_EQ(csv.rfind("ebn0_db,frames,bit_errors,frame_errors,", 0), 0U) << csv;
  EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), 3) << csv;
}

// A spectrum of a (7, 4) code's words, bounded without a code: the file holds the input's
// section and the two bound sections, nothing of a turbo code; "all" in a list stands for the
// three bounds of the first section.
TEST_F(CliTest, SpectrumInWritesOnlyTheBounds) {
  std::ofstream(directory_ / "hamming.csv") << "d,A,B\n3,7,3\n4,7,4\n7,1,1\n";
  const ProcessResult result =
      run({"--quiet", "--spectrum-in", "hamming.csv", "--code-length", "7", "--info-bits", "4",
           "--bounds", "all,tsb-word,sphere", "--ebn0", "0:2.5:5", "-o", "h.txt"});
  ASSERT_EQ(result.exitCode, 0) << result.err;
  const std::string file = readFile(directory_ / "h.txt");
  EXPECT_EQ(file.rfind("\n Spectrum Input ---", 0), 0u) << file;
  EXPECT_NE(file.find("\n Code Length n = 7 [bits]"), std::string::npos);
  EXPECT_NE(
      file.find("\n   SNR[dB]      UB_Q            UB_Exp          IUB_Exp         \n    0.000\t"),
      std::string::npos);
  EXPECT_NE(file.find("\n   SNR[dB]      TSB_Word        Sphere_Word     \n"), std::string::npos);
  EXPECT_NE(file.find("\n    5.000\t"), std::string::npos);
  EXPECT_EQ(file.find("\n    0.250\t"), std::string::npos);
  EXPECT_EQ(file.find("Turbo Code"), std::string::npos);
}

// A malformed spectrum file is refused with its line, and no results file is written.
TEST_F(CliTest, SpectrumInRefusesAMalformedFileByLine) {
  std::ofstream(directory_ / "bad.csv") << "d,A,B\n3,7,3\n2,7,4\n";
  const ProcessResult result = run(
      {"--spectrum-in", "bad.csv", "--code-length", "7", "--info-bits", "4", "-o", "never.txt"});
  EXPECT_EQ(result.exitCode, 2);
  EXPECT_NE(result.err.find("--spectrum-in 'bad.csv': line 3: d = 2 does not increase"),
            std::string::npos)
      << result.err;
  EXPECT_FALSE(fs::exists(directory_ / "never.txt"));
}

TEST_F(CliTest, PatternLeavingInputBitsToEncoderTwoWarnsAndRuns) {
  const ProcessResult result =
      run({"--quiet", "-N", "10", "--puncture", "10,10,11", "-o", "w.txt"});
  EXPECT_EQ(result.exitCode, 0);
  EXPECT_NE(result.err.find("brevandor-cli: warning: at sections with t mod 2 = 1 neither the "
                            "systematic bit nor encoder 1's parity is sent"),
            std::string::npos)
      << result.err;
  EXPECT_NE(readFile(directory_ / "w.txt").find("Puncturing Pattern ( SYS,PAR1,PAR2 ) : 10,10,11"),
            std::string::npos);
}

// A named code is its options typed by hand: the same file but for the line that names it.
// A typed option that agrees with the code is no contradiction; a frame length outside the
// standard's sizes runs with a warning.
TEST_F(CliTest, NamedCodeGivesTheFileOfItsTypedOptions) {
  ASSERT_EQ(run({"-q", "--code", "lte", "-t", "pccc", "-N", "40", "-o", "named.txt"}).exitCode, 0);
  ASSERT_EQ(run({"-q", "-n", "1+D+D^3", "-d", "1+D^2+D^3", "-N", "40", "-o", "typed.txt"}).exitCode,
            0);
  std::string named = readFile(directory_ / "named.txt");
  const std::string line = "\n Standard Code : lte ";
  ASSERT_NE(named.find(line), std::string::npos) << named;
  EXPECT_EQ(named.erase(named.find(line), line.size()), readFile(directory_ / "typed.txt"));
  const ProcessResult offSize = run({"-q", "--code", "lte", "-N", "41", "-o", "41.txt"});
  EXPECT_EQ(offSize.exitCode, 0);
  EXPECT_NE(offSize.err.find("warning: N = 41 is not a frame length of the lte standard"),
            std::string::npos)
      << offSize.err;
}

TEST_F(CliTest, OutputPathMayBeLongerThanTheWindowsField) {
  const std::string name = std::string(150, 'r') + ".txt";
  const ProcessResult result = run({"-q", "-N", "10", "-o", name});
  EXPECT_EQ(result.exitCode, 0) << result.err;
  EXPECT_TRUE(fs::exists(directory_ / name));
}

struct EchoedText {
  const char* name;
  std::vector<std::string> arguments;
  const char* escaped;  // how the control character shows in what is printed
};

class CliEchoTest : public CliTest, public ::testing::WithParamInterface<EchoedText> {};

TEST_P(CliEchoTest, PrintsControlCharactersEscaped) {
  const ProcessResult result = run(GetParam().arguments);
  const std::string printed = result.out + result.err;
  for (const char c : printed) {
    const auto byte = static_cast<unsigned char>(c);
    EXPECT_TRUE((byte >= 0x20 && byte != 0x7f) || byte == '\n') << "byte " << int{byte};
  }
  EXPECT_EQ(printed.find("\xc2\x9b"), std::string::npos);  // the UTF-8 form of the CSI
  EXPECT_NE(printed.find(GetParam().escaped), std::string::npos) << printed;
}

INSTANTIATE_TEST_SUITE_P(
    Arguments, CliEchoTest,
    ::testing::Values(
        EchoedText{"Numerator", {"-n", "1+D\x1b[2J"}, "1+D\\e[2J"},
        EchoedText{"Denominator", {"-d", "1+D\x07"}, "1+D\\x07"},
        EchoedText{"Type", {"--type", "pccc\r"}, "pccc\\r"},
        EchoedText{"Bounds", {"--bounds", "q,\x7f"}, "q,\\x7f"},
        EchoedText{"Engine", {"--engine", "\u009b2J"}, "\\u009b2J"},
        EchoedText{"Threads", {"-j", "\x1b[2J"}, "'\\e[2J'"},
        EchoedText{"UnknownOption", {"--frob\x1b[2J"}, "--frob\\e[2J"},
        EchoedText{"UnopenableFile", {"-N", "10", "-o", "gone\x1b[2J/results.txt"}, "gone\\e[2J/"},
        EchoedText{
            "CreatedFile", {"-N", "10", "-o", "new\x1b[2J.txt"}, " new\\e[2J.txt  Created."}),
    [](const auto& testInfo) { return std::string(testInfo.param.name); });

TEST_F(CliTest, UnwritableOutputFailsWithExitOne) {
  const ProcessResult result = run({"-N", "10", "-o", "no-such-folder/results.txt"});
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_NE(result.err.find("Cannot open the results file 'no-such-folder/results.txt': No such "
                            "file or directory"),
            std::string::npos)
      << result.err;
  EXPECT_EQ(result.out.find("Created."), std::string::npos);
}

TEST_F(CliTest, ExportsGoBesideAnUnchangedResultsFile) {
  ASSERT_EQ(run({"-q", "-N", "10", "-b", "all", "-o", "plain.txt"}).exitCode, 0);
  const ProcessResult result = run({"-q", "-N", "10", "-b", "all", "-o", "r.txt", "--json",
                                    "r.json", "--csv", "b.csv", "--spectrum-csv", "s.csv"});
  ASSERT_EQ(result.exitCode, 0) << result.err;
  EXPECT_EQ(readFile(directory_ / "r.txt"), readFile(directory_ / "plain.txt"));
  EXPECT_EQ(readFile(directory_ / "r.json").rfind("{\n  \"format\": \"brevandor-results\"", 0), 0U);
  const std::string bounds = readFile(directory_ / "b.csv");
  EXPECT_EQ(bounds.rfind("ebn0_db,UB_Q,UB_Exp,IUB_Exp\n0,0.556076", 0), 0U) << bounds;
  EXPECT_EQ(std::count(bounds.begin(), bounds.end(), '\n'), 22);
  // The free distance of the default code at N = 10 is 8 (tests/data/results/pccc_default_n10.txt).
  EXPECT_EQ(readFile(directory_ / "s.csv").rfind("d,log10_A,log10_B,A,B\n8,", 0), 0U);
}

TEST_F(CliTest, UnwritableExportFailsWithExitOne) {
  const ProcessResult result = run({"-q", "-N", "10", "--json", "no-such-folder/r.json"});
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_NE(result.err.find("cannot write 'no-such-folder/r.json': No such file or directory"),
            std::string::npos)
      << result.err;
}

TEST_F(CliTest, MaxWeightAcceptsFramesBeyondTenThousandBits) {
  const ProcessResult result =
      run({"--quiet", "-N", "20000", "--max-weight", "12", "-b", "none", "-o", "low.txt"});
  ASSERT_EQ(result.exitCode, 0) << result.err;
  const std::string file = readFile(directory_ / "low.txt");
  EXPECT_NE(file.find("\n Input  Frame Length = 20000 [bits]"), std::string::npos);
  EXPECT_NE(file.find("Truncated at d = 12"), std::string::npos);
  EXPECT_EQ(file.find("Sum Check"), std::string::npos);
  // A second code is taken in this mode too.
  ASSERT_EQ(run({"--quiet", "-N", "300", "--max-weight", "12", "--numerator2", "1+D^2",
                 "--denominator2", "1+D+D^2", "-b", "none", "-o", "two.txt"})
                .exitCode,
            0);
  EXPECT_NE(readFile(directory_ / "two.txt").find("Truncated at d = 12"), std::string::npos);
}

// A frame of a million bits still stops at once: the cancel request is read every section.
// The LTE code with the LTE permutation of K = 40: the given permutation's section follows the
// bound sections, and the record carries its exact counts.
TEST_F(CliTest, GivenInterleaverSectionFollowsTheBounds) {
  ASSERT_EQ(run({"--quiet", "-n", "1+D+D^3", "-d", "1+D^2+D^3", "-N", "40", "--max-weight", "12",
                 "--interleaver", "lte", "-o", "given.txt", "--json", "given.json"})
                .exitCode,
            0);
  const std::string text = readFile(directory_ / "given.txt");
  const auto bounds = text.find("BER Bounds");
  const auto given = text.find("Distance Spectrum of the Given Interleaver");
  ASSERT_NE(given, std::string::npos);
  EXPECT_LT(bounds, given);
  EXPECT_NE(text.find("d_min = "), std::string::npos);
  EXPECT_NE(readFile(directory_ / "given.json").find("\"given_interleaver\""), std::string::npos);
}

TEST_F(CliTest, MillionBitFrameCancelsPromptly) {
  ChildProcess child(kProgram,
                     {"--engine", "reference", "-t", "sccc", "-N", "1000000", "--max-weight", "20",
                      "-o", "million.txt"},
                     directory_.string());
  ASSERT_TRUE(child.waitForOutput(" CWEF 1 Calculation .. ", std::chrono::minutes(2)));
  child.sendSignal(SIGINT);
  const ProcessResult result = child.finish(std::chrono::seconds(20));
  EXPECT_EQ(result.exitCode, 130) << "signal " << result.termSignal;
  EXPECT_NE(result.out.find("\n -- Calculation Canceled \n"), std::string::npos) << result.out;
}

class CliSignalTest : public CliTest, public ::testing::WithParamInterface<int> {};

TEST_P(CliSignalTest, CancelsKeepingTheFirstSection) {
  // The reference engine at this length spends a long time in the CWEF stage.
  ChildProcess child(kProgram, {"--engine", "reference", "-N", "2000", "-o", "long.txt"},
                     directory_.string());
  ASSERT_TRUE(child.waitForOutput(" CWEF Calculation .. ", std::chrono::minutes(2)));
  child.sendSignal(GetParam());
  const ProcessResult result = child.finish(std::chrono::minutes(2));
  EXPECT_EQ(result.exitCode, 130) << "signal " << result.termSignal;
  EXPECT_NE(result.out.find("\n -- Calculation Canceled \n"), std::string::npos) << result.out;
  EXPECT_EQ(result.out.find("Created."), std::string::npos);
  const std::string file = readFile(directory_ / "long.txt");
  EXPECT_NE(file.find("\n End of Turbo Code Information -------------\n"), std::string::npos);
  // N = 2000 holds double tables by default, which the file says after the first section.
  EXPECT_TRUE(
      file.ends_with("-------------\n\n Table Precision : double \n\n -- Calculation Canceled \n"))
      << file;
  EXPECT_EQ(file.find("Distance Spectrum"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(Signals, CliSignalTest, ::testing::Values(SIGINT, SIGTERM),
                         [](const auto& testInfo) {
                           return testInfo.param == SIGINT ? "Interrupt" : "Terminate";
                         });

}  // namespace
}  // namespace brevandor

#include <string>
#include <vector>

#include "code/polynomial.h"
#include "report/results_report.h"
#include "turbo/concatenation_type.h"

namespace brevandor {

namespace {

// Writes bits width − 1 … 0 of `value`, most significant first, one "%x" each.
void printBits(std::FILE* file, std::int32_t value, std::int32_t width) {
  for (std::int32_t bit = width - 1; bit >= 0; --bit) {
    std::fprintf(file, "%x", static_cast<unsigned>((value >> bit) & 1));
  }
}

// One line of the trellis listing: state, input bits, output bits, next state.
void printBranch(std::FILE* file, const ConvCode& code, std::int32_t state,
                 const TrellisBranch& branch) {
  std::fprintf(file, "\n %3x    ", static_cast<unsigned>(state));
  printBits(file, branch.input, code.k);
  std::fprintf(file, "    ");
  printBits(file, branch.output, code.n);
  std::fprintf(file, "   %3x ", static_cast<unsigned>(branch.state));
}

void printTrellis(std::FILE* file, const ConvCode& code) {
  std::fprintf(file, "\n\n Trellis Information \n");
  std::fprintf(file, "\n  p_s   in   out   n_s ");
  std::fprintf(file, "\n  ---------------------- ");
  for (std::int32_t state = 0; state < code.stateCount; ++state) {
    for (const TrellisBranch& branch : code.forwardTrellis.row(state)) {
      printBranch(file, code, state, branch);
    }
  }
  std::fprintf(file, "\n");
}

// One "S%d --> " line per state with the inputs of its tail sections in time order, each
// section's k bits most significant first; only the labels when there are no tails.
void printTailBits(std::FILE* file, const ConvCode& code) {
  std::vector<std::int32_t> tails(static_cast<std::size_t>(code.stateCount), 0);
  const std::int32_t sections = code.computeTailInputs(tails);
  std::fprintf(file, "\n Tail Bits \n");
  for (std::int32_t state = 0; state < code.stateCount; ++state) {
    std::fprintf(file, "\n S%d --> ", state);
    const std::int32_t inputs = tails[static_cast<std::size_t>(state)];
    for (std::int32_t j = 0; j < sections; ++j) {
      for (std::int32_t b = 0; b < code.k; ++b) {
        const std::int32_t bit = code.k * (j + 1) - b - 1;
        std::fprintf(file, "%x", static_cast<unsigned>((inputs >> bit) & 1));
      }
    }
  }
}

// A code of several parity outputs names its polynomials, one line per output in the order
// of the output bits after the systematic one; a code of one keeps the text's layout.
void printParityPolynomials(std::FILE* file, const ConvCode& code) {
  if (!isSystematic(code.kind) || parityOutputCount(code.description) < 2) {
    return;
  }
  const std::string denominator = polynomialText(denominatorMask(code.description));
  const std::vector<std::int32_t> numerators = numeratorMasks(code.description);
  for (std::size_t i = 0; i < numerators.size(); ++i) {
    std::fprintf(file, "\n Parity Output %zu : ( %s ) / ( %s ) ", i + 1,
                 polynomialText(numerators[i]).c_str(), denominator.c_str());
  }
}

// How the frames end, where that is not the text's "every encoder terminated, its whole tail
// sent".
void printTermination(std::FILE* file, const TurboCode& turbo) {
  if (turbo.termination == Termination::Both && turbo.tailRule == TailRule{}) {
    return;
  }
  const std::string name(terminationName(turbo.termination));
  const char* meaning = turbo.termination == Termination::Both ? "every encoder terminated"
                        : turbo.termination == Termination::First
                            ? "encoder 1 terminated, the others open"
                        : turbo.termination == Termination::Open ? "no encoder terminated"
                        : turbo.termination == Termination::TailBitingOuter
                            ? "the outer code ends where it began, the inner code terminated"
                        : turbo.termination == Termination::TailBitingInner
                            ? "the outer code terminated, the inner code ends where it began"
                            : "every encoder ends where it began";
  std::fprintf(file, "\n Termination : %s ( %s ) ", name.c_str(), meaning);
  if (turbo.tailRule.firstTailInputOnly) {
    std::fprintf(file, "\n Tail Input Bits : sent by encoder 1 only ");
  }
  if (turbo.tailRule.punctureTail) {
    std::fprintf(file, "\n Tail Bits : punctured by the pattern, section t = N, N+1, ... ");
  }
  std::fprintf(file, "\n");
}

}  // namespace

void printConvCode(const ConvCode& code, std::FILE* file) {
  const std::string kindName(codeKindText(code.kind));
  std::fprintf(file, "\n Convolutional Code Parameters -------------\n");
  std::fprintf(file, "\n %s Convolutional Code ", kindName.c_str());
  std::fprintf(file, "\n with ( n, k, K ) = ( %d, %d, %d ) ", code.n, code.k,
               code.registerLength / code.k);
  std::fprintf(file, "\n *Note ( n, k, K ) follows the convention in ");
  std::fprintf(file, "\n       Quendrik's 'Digital Communication'");
  printParityPolynomials(file, code);
  printTrellis(file, code);
  printTailBits(file, code);
  std::fprintf(file, "\n\n End of Convolutional Code Parameters ------\n");
  std::fflush(file);
}

void printTurboParameters(std::FILE* file, const TurboCode& turbo) {
  const std::string typeName(concatenationTypeName(turbo.concatenationType));
  std::fprintf(file, "\n Turbo Code Parameters ---------------------\n");
  std::fprintf(file, "\n Concatenation Type : %s ", typeName.c_str());
  std::fprintf(file, "\n # of Concatenation : %d ", turbo.constituentCount);
  if (!turbo.standardCode.empty()) {
    std::fprintf(file, "\n Standard Code : %s ", turbo.standardCode.c_str());
  }
  std::fprintf(file, "\n Input  Frame Length = %d [bits]", turbo.frameLengths[0]);
  std::fprintf(file, "\n Output Frame Length = %d [bits]", turbo.outputFrameLength);
  std::fprintf(file, "\n Overall Rate : %f \n", turbo.rate);
  std::fprintf(file, "\n *NOTE : The Output Frame Length includes Tailbits and their Parities and");
  std::fprintf(file, "\n         ( All the tailbits and their parities counted as PARITIES )\n");
  printTermination(file, turbo);
  printPuncturing(file, turbo);
  for (std::int32_t c = 0; c < turbo.constituentCount && c < TurboCode::kMaxConstituents; ++c) {
    const auto index = static_cast<std::size_t>(c);
    std::fprintf(file, "\n ** Constituent Code %d ** ", c + 1);
    std::fprintf(file, "\n Input Frame Length = %d ", turbo.frameLengths[index]);
    if (turbo.isPunctured()) {
      std::fprintf(file, "\n Sent Bits = %d [bits, tail included] ", turbo.sentLengths[index]);
    }
    if (turbo.codes[index] != nullptr) {
      printConvCode(*turbo.codes[index], file);
    }
  }
  std::fprintf(file, "\n End of Turbo Code Information -------------\n");
  std::fflush(file);
}

}  // namespace brevandor

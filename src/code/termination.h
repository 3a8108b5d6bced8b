#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace brevandor {

// How the encoders of a concatenated code end their frames.
enum class Termination {
  Both,             // every encoder returns to state 0 with its own tail
  First,            // encoder 1 (the outer code) terminated, the others left open
  Open,             // no tails: every encoder ends wherever its input leaves it
  TailBiting,       // every encoder ends in the state it started in, no tail bits
  TailBitingOuter,  // SCCC: the outer code tail-biting, the inner one terminated
  TailBitingInner,  // SCCC: the outer code terminated, the inner one tail-biting
};

// Whether some encoder's frame of this termination is tail-biting.
bool hasTailBiting(Termination termination);

// "both", "first", "open", "tail-biting", "tail-biting-outer", "tail-biting-inner": the names
// on the command line and in records.
std::string_view terminationName(Termination termination);
std::optional<Termination> parseTermination(std::string_view name);

// Which bits of the tail sections a terminated encoder sends beyond the default (its tail
// input bits and every parity output): the pattern may thin the tails too, and encoders
// after the first may keep their tail input bits back (the CCSDS code sends encoder 2's
// tail parities only).
struct TailRule {
  bool firstTailInputOnly = false;  // only encoder 1 sends its tail input bits
  bool punctureTail = false;        // the tail sections continue the puncturing pattern

  friend bool operator==(const TailRule&, const TailRule&) = default;
};

// How one constituent's frame ends and which of its tail bits are sent.
struct FrameEnding {
  bool terminated = true;      // tail sections drive the encoder to state 0
  bool tailBiting = false;     // the path ends in the state it started in (no tail)
  bool sendsTailInput = true;  // the tail's input bits are code bits
  bool punctureTail = false;   // the tail sections t = N, N + 1, … keep the pattern's masks

  // Whether the tail is sent whole, as every terminated frame did before tail rules.
  bool sendsWholeTail() const { return terminated && sendsTailInput && !punctureTail; }

  friend bool operator==(const FrameEnding&, const FrameEnding&) = default;
};

// The ending of constituent `index` (0 the first encoder, or the outer code).
FrameEnding frameEndingOf(Termination termination, const TailRule& rule, std::int32_t index);

}  // namespace brevandor

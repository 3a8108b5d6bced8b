#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "report/run_record.h"

namespace brevandor {

// The JSON form of a run record. "format" names it; "schema_version" rises only when a
// change would mislead an older reader. Fields are only ever added within a version, and a
// reader ignores fields it does not know, so a program reads every record of its own version
// or older, whichever program wrote it. The README documents the fields.
inline constexpr std::string_view kRecordFormat = "brevandor-results";
inline constexpr std::int32_t kRecordSchemaVersion = 1;

// The record as JSON text: one member a line, the spectrum one weight a line. Besides the
// log10 counts each spectrum line carries A_d and B_d as decimal text that never underflows.
std::string runRecordJson(const RunRecord& record);

// A record read back, or why the text was refused.
struct RecordReading {
  std::optional<RunRecord> record;
  std::string error;
  // Whether the text itself was refused, rather than the file or the memory failing.
  bool refused = false;

  explicit operator bool() const { return record.has_value(); }
};

// Reads a record written by runRecordJson of this or an earlier version. Refuses, with a
// message that says why, text that is not JSON or ends early, JSON that is not a run record,
// a record of a newer schema version, and a record whose fields are missing, of the wrong
// type or inconsistent (weights outside 0 … D or out of order, a bound column whose length
// differs from the grid's, a negative count or bound, Eb/N0 beyond ±1000 dB), and a text of
// far more values than the record of any run holds.
RecordReading readRunRecordJson(std::string_view text);

}  // namespace brevandor

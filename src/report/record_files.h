#pragma once

#include <string>
#include <string_view>

#include "report/run_record_json.h"

namespace brevandor {

// Writes `text` to the file at `path`, created or replaced. Returns an empty text, or
// "cannot write 'PATH': REASON".
std::string writeTextFile(const std::string& path, std::string_view text);

// Reads the JSON record at `path`. A refusal names the file: "cannot read 'PATH': REASON",
// or "'PATH' is refused: REASON" (see readRunRecordJson).
RecordReading readRunRecordFile(const std::string& path);

}  // namespace brevandor

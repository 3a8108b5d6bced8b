// Arbitrary text into the reader of saved runs (JSON): no crash, no undefined behaviour, a
// refusal always says why, and a record it accepts is written and read back unchanged, with
// its tables and label made without fault.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "report/record_csv.h"
#include "report/run_record_json.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace brevandor;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const RecordReading reading = readRunRecordJson(text);
  if (!reading) {
    if (reading.error.empty()) {
      __builtin_trap();
    }
    return 0;
  }
  const RecordReading again = readRunRecordJson(runRecordJson(*reading.record));
  if (!again || !(*again.record == *reading.record)) {
    __builtin_trap();
  }
  if (boundsCsv(*reading.record).empty() || spectrumCsv(*reading.record).empty() ||
      runLabel(*reading.record).empty()) {
    __builtin_trap();
  }
  return 0;
}

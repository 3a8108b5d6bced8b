#pragma once

#include <string>

#include "report/run_record.h"

namespace brevandor {

// The bound table as CSV: a head "ebn0_db" followed by each bound's column name, then one
// row per signal-to-noise point, and last the given permutation's estimate
// "UB_Q_given_estimate" where the record has one. Numbers read back exactly (shortest
// round-trip text).
std::string boundsCsv(const RunRecord& record);

// The spectrum as CSV: "d,log10_A,log10_B,A,B", one row per weight that holds codewords;
// A and B as decimal text that never underflows. With a given permutation, its exact counts
// follow as "A_given,B_given".
std::string spectrumCsv(const RunRecord& record);

// The simulated points as CSV, one row per Eb/N0 with the columns of the record's points:
// "ebn0_db,frames,bit_errors,frame_errors,bits_per_frame,ber,fer,ber_ci_low,ber_ci_high,
// fer_ci_low,fer_ci_high,mean_iterations,complete"; only the head when the run simulated nothing.
std::string simulationCsv(const RunRecord& record);

}  // namespace brevandor

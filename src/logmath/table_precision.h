#pragma once

namespace brevandor {

// The cell type of the weight tables (CWEF tables, their work layers and the spectrum
// stages' rows): single precision by default, double on request. The spectra are doubles
// either way.
enum class TablePrecision { Single, Double };

}  // namespace brevandor

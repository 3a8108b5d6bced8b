#pragma once

#include <gtest/gtest.h>

#include <string>
#include <type_traits>
#include <vector>

#include "logmath/simd_log_add.h"

namespace brevandor::testing {

// One set of row kernels for tables of Cell, named for the test's name, and what a processor
// needs to run it (null kernels: this one lacks it, and the test says so as it skips).
template <typename Cell>
struct KernelSet {
  const char* name;
  const BasicLogAddRowKernels<Cell>* kernels;
  const char* needs;
};

// Every kernel set there is for tables of Cell, runnable here or not.
template <typename Cell>
std::vector<KernelSet<Cell>> everyKernelSet() {
  if constexpr (std::is_same_v<Cell, double>) {
    return {{"portable", &portableDoubleLogAddKernels(), ""},
            {"avx2", avx2DoubleLogAddKernels(), "AVX2 and FMA"},
            {"avx512", avx512DoubleLogAddKernels(), "AVX-512F and VL (with AVX2 and FMA)"}};
  } else {
    return {{"portable", &portableLogAddKernels(), ""},
            {"avx2", avx2LogAddKernels(), "AVX2 and FMA"},
            {"avx512", avx512LogAddKernels(), "AVX-512F and VL (with AVX2 and FMA)"}};
  }
}

// The fixture of the kernel tests: the kernels of the parameter, or a skip that names what
// this processor lacks.
template <typename Cell>
class KernelSetTest : public ::testing::TestWithParam<KernelSet<Cell>> {
 protected:
  void SetUp() override {
    if (this->GetParam().kernels == nullptr) {
      GTEST_SKIP() << "this processor lacks " << this->GetParam().needs;
    }
  }
  const BasicLogAddRowKernels<Cell>& kernels() const { return *this->GetParam().kernels; }
};

// The test name of a kernel set: its name.
template <typename Cell>
std::string kernelSetName(const ::testing::TestParamInfo<KernelSet<Cell>>& info) {
  return info.param.name;
}

}  // namespace brevandor::testing

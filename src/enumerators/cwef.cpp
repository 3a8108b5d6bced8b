#include "enumerators/cwef_engines.h"
#include "enumerators/weight_enumerator.h"

namespace brevandor {

std::int32_t WeightEnumerator::computeCwef(const ConvCode& code, const RunContext& context) {
  if (context.engine == Engine::Reference) {
    return computeCwefReference(*this, code, context);
  }
  // The fast engine plugs in here; until it exists, users get the reference.
  return computeCwefReference(*this, code, context);
}

}  // namespace brevandor

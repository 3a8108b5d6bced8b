#include "enumerators/cwef_engines.h"

#include "enumerators/weight_enumerator.h"

namespace brevandor {

StageEnd WeightEnumerator::computeCwef(const ConvCode& code, const RunContext& context) {
  if (context.engine == Engine::Reference) {
    return computeCwefReference(*this, code, context);
  }
  return computeCwefFast(*this, code, context);
}

}  // namespace brevandor

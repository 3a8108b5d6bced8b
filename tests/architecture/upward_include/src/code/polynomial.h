// A file of the bottom layer that reaches up to the run: the layer check must refuse it.
#pragma once

#include "run/run_inputs.h"

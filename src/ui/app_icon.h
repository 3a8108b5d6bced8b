#pragma once

#include <QIcon>

namespace brevandor {

// The program's icon: a small trellis of four states, drawn at the usual icon sizes.
QIcon applicationIcon();

}  // namespace brevandor

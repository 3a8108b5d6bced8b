#pragma once

#include <QIcon>
#include <QPixmap>

namespace brevandor {

// The program's icon: a small trellis of four states, drawn at the usual icon sizes.
QIcon applicationIcon();

// The icon drawn at one size, in pixels; the installed theme icons are rendered from it.
QPixmap applicationIconPixmap(int size);

}  // namespace brevandor

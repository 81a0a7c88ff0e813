// The one place that hands out the program's images (tree items, toolbar, program icon).
#pragma once

#include <QIcon>
#include <string_view>

namespace tav {

// The image `name` (the name of its SVG source without ".svg", e.g. "tree10", "appicon") at 100 %
// and 200 %, or a null icon when there is no such image.
QIcon ProgramImage(std::string_view name);

}  // namespace tav

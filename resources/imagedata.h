// The pixels of the program's images, rendered from their SVG sources when the program is built.
#pragma once

#include <cstddef>

namespace tav {

struct ImageData {
    const char* name;            // the SVG file's name without ".svg"
    int width;                   // at 100 %
    int height;
    const unsigned int* pixels;  // width x height premultiplied ARGB
    const unsigned int* pixels2x;  // the same picture at twice the size, for 200 %
};

extern const ImageData kImages[];
extern const std::size_t kImageCount;

}  // namespace tav

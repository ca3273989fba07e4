#pragma once

// Images compiled into a program for the web back end, by resource name. The
// build turns image files into a static ImageResource (assets/ does so for
// the window icon); the back end finds them by the name in the description.

#include <span>
#include <string_view>

namespace vorlith::web {

struct Image {
    int size;  // width and height in pixels
    std::span<const unsigned char> png;
};

class ImageResource {
public:
    // Registers the images under `name`; for objects of static storage
    // duration, which live as long as the program.
    ImageResource(const char* name, std::span<const Image> images);

    // The images registered under `name`; empty when there are none.
    static std::span<const Image> find(std::string_view name);

private:
    const char* name_;
    std::span<const Image> images_;
    const ImageResource* next_;
};

}  // namespace vorlith::web

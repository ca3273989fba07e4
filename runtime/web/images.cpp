#include "images.h"

namespace vorlith::web {
namespace {

// The most recently registered resource; each points to the one before.
const ImageResource* g_last = nullptr;

}  // namespace

ImageResource::ImageResource(const char* name, std::span<const Image> images)
    : name_(name), images_(images), next_(g_last) {
    g_last = this;
}

std::span<const Image> ImageResource::find(std::string_view name) {
    for (const ImageResource* resource = g_last; resource != nullptr; resource = resource->next_) {
        if (name == resource->name_) return resource->images_;
    }
    return {};
}

}  // namespace vorlith::web

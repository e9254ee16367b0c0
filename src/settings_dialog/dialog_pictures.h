#pragma once
// The embedded pictures the dialog shows, decoded once into the platform's own kind of image.
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "runtime/embedded_data.h"
#include "runtime/picture.h"

namespace tolvenar {

// `Image` is the platform's image: movable, and false when it could not be made.
template <typename Image>
class DialogPictures {
 public:
  using Convert = Image (*)(const Picture&);
  DialogPictures(EmbeddedData& embedded, Convert convert)
      : embedded_(embedded), convert_(convert) {}

  // The picture of that name; null when there is none or it cannot be decoded.
  const Image* Find(std::string_view name) {
    auto found = pictures_.find(name);
    if (found == pictures_.end()) {
      const std::optional<Picture> decoded = DecodePicture(embedded_.Bytes(name));
      if (!decoded) return nullptr;
      Image image = convert_(*decoded);
      if (!image) return nullptr;
      found = pictures_.emplace(std::string(name), std::move(image)).first;
    }
    return &found->second;
  }

 private:
  EmbeddedData& embedded_;
  Convert convert_;
  std::map<std::string, Image, std::less<>> pictures_;
};

}  // namespace tolvenar

// The one translation unit that compiles stb_image (Debian's libstb-dev).
// Only PNG and BMP: stb_image's JPEG decoder (as Debian ships it) writes out of bounds on crafted
// Huffman tables, and nothing the program embeds or reads is JPEG.
#include <cstddef>
#include <cstdlib>
#include <cstring>

namespace {

// No picture DecodePicture accepts needs a larger block: 4096 x 4096 pixels of four 16-bit
// channels, or the inflated rows before filtering, stay under it. A PNG chunk can claim up to
// 2 GiB in a file of a few bytes, and the decoder reserves what a chunk claims before reading it:
// such claims fail here instead.
constexpr std::size_t kLargestBlock = std::size_t{256} << 20;

// Blocks start zeroed, and so does what a block grows by: this decoder takes a distance code that
// deflate does not define as a distance of 0 and copies bytes not yet written, which would
// otherwise turn whatever the heap held into pixels.
void* CappedMalloc(std::size_t size) {
  return size > kLargestBlock ? nullptr : std::calloc(1, size);
}

void* CappedRealloc(void* block, std::size_t old_size, std::size_t size) {
  if (size > kLargestBlock) return nullptr;
  auto* grown = static_cast<unsigned char*>(std::realloc(block, size));
  if (grown && size > old_size) std::memset(grown + old_size, 0, size - old_size);
  return grown;
}

}  // namespace

#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_PNG
#define STBI_ONLY_BMP
#define STBI_NO_STDIO
#define STBI_FAILURE_USERMSG
#define STBI_MALLOC(size) CappedMalloc(size)
#define STBI_REALLOC_SIZED(block, old_size, size) CappedRealloc(block, old_size, size)
#define STBI_FREE(block) std::free(block)
#include <stb_image.h>

// The one translation unit that compiles stb_image (Debian's libstb-dev).
// Only PNG and BMP: stb_image's JPEG decoder (as Debian ships it) writes out of bounds on crafted
// Huffman tables, and nothing the program embeds or reads is JPEG.
#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_PNG
#define STBI_ONLY_BMP
#define STBI_NO_STDIO
#define STBI_FAILURE_USERMSG
#include <stb_image.h>

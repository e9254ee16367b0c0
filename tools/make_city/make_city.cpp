// make_city <folder>: renders the night city into the six 256 x 256 box faces face1.png ...
// face6.png and the 152 x 112 preview still preview.png. The same bytes on every run.
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "city.h"
#include "cube_faces.h"

#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STBI_WRITE_NO_STDIO_DUMMY
#include <stb_image_write.h>

namespace make_city {
namespace {

constexpr int kFaceSize = 256;
constexpr int kFaceSamples = 4;  // per axis and picture element
constexpr int kPreviewWidth = 152, kPreviewHeight = 112;
constexpr int kPreviewSamples = 5;
constexpr std::uint32_t kSeed = 20261207u;

Vec3 Cross(Vec3 a, Vec3 b) {
  return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

// Keeps highlights from clipping flat: linear up to 0.8, then a soft shoulder.
double Shoulder(double x) {
  if (x <= 0) return 0;
  if (x < 0.8) return x;
  return 0.8 + 0.2 * (1 - std::exp(-(x - 0.8) / 0.2));
}

unsigned char Byte(double x) {
  const double v = std::floor(Shoulder(x) * 255 + 0.5);
  return static_cast<unsigned char>(v < 0 ? 0 : (v > 255 ? 255 : v));
}

void Put(std::vector<unsigned char>& rgb, int index, Vec3 c) {
  rgb[3 * index] = Byte(c.x);
  rgb[3 * index + 1] = Byte(c.y);
  rgb[3 * index + 2] = Byte(c.z);
}

std::vector<unsigned char> RenderFace(const City& city, int face) {
  std::vector<unsigned char> rgb(kFaceSize * kFaceSize * 3);
  const double sub = 1.0 / kFaceSamples;
  for (int row = 0; row < kFaceSize; ++row) {
    for (int column = 0; column < kFaceSize; ++column) {
      Vec3 sum{};
      for (int sy = 0; sy < kFaceSamples; ++sy) {
        for (int sx = 0; sx < kFaceSamples; ++sx) {
          const double u = (column + (sx + 0.5) * sub) / kFaceSize;
          const double v = (row + (sy + 0.5) * sub) / kFaceSize;
          const Vec3 p = FacePoint(face, u, v);
          const double distance = Length(p);
          // A picture element spans 20 / 256 units of the face, seen at a slant off-centre.
          const double angle = (20.0 / kFaceSize) * 10 / (distance * distance);
          sum = sum + city.Radiance({0, 0, 0}, p, angle);
        }
      }
      Put(rgb, row * kFaceSize + column, sum * (sub * sub));
    }
  }
  return rgb;
}

// A view looking up from the street between the towers.
std::vector<unsigned char> RenderPreview(const City& city) {
  std::vector<unsigned char> rgb(kPreviewWidth * kPreviewHeight * 3);
  const Vec3 eye{0, City::kGround + 3, 0};
  const double pitch = 66 * 3.14159265358979 / 180, yaw = 0.785;
  const Vec3 forward = Normalize(
      {std::cos(pitch) * std::sin(yaw), std::sin(pitch), std::cos(pitch) * std::cos(yaw)});
  const Vec3 right = Normalize(Cross({0, 1, 0}, forward));
  const Vec3 up = Cross(forward, right);
  const double half_width = std::tan(42 * 3.14159265358979 / 180);
  const double half_height = half_width * kPreviewHeight / kPreviewWidth;
  const double angle = 2 * half_width / kPreviewWidth;
  const double sub = 1.0 / kPreviewSamples;
  for (int row = 0; row < kPreviewHeight; ++row) {
    for (int column = 0; column < kPreviewWidth; ++column) {
      Vec3 sum{};
      for (int sy = 0; sy < kPreviewSamples; ++sy) {
        for (int sx = 0; sx < kPreviewSamples; ++sx) {
          const double x = ((column + (sx + 0.5) * sub) / kPreviewWidth * 2 - 1) * half_width;
          const double y = (1 - (row + (sy + 0.5) * sub) / kPreviewHeight * 2) * half_height;
          sum = sum + city.Radiance(eye, forward + right * x + up * y, angle);
        }
      }
      Put(rgb, row * kPreviewWidth + column, sum * (sub * sub));
    }
  }
  return rgb;
}

bool WritePng(const std::string& path, int width, int height,
              const std::vector<unsigned char>& rgb) {
  int length = 0;
  unsigned char* png = stbi_write_png_to_mem(rgb.data(), width * 3, width, height, 3, &length);
  if (!png) return false;
  std::FILE* file = std::fopen(path.c_str(), "wb");
  bool ok = file != nullptr;
  if (ok)
    ok = std::fwrite(png, 1, static_cast<std::size_t>(length), file) ==
         static_cast<std::size_t>(length);
  if (file) ok = std::fclose(file) == 0 && ok;
  STBIW_FREE(png);
  return ok;
}

}  // namespace
}  // namespace make_city

int main(int argc, char** argv) {
  using namespace make_city;
  if (argc != 2) {
    std::fputs("usage: make_city <output folder>\n", stderr);
    return 2;
  }
  const std::string folder = argv[1];
  const City city(kSeed);
  for (int face = 0; face < kFaceCount; ++face) {
    const std::string path = folder + "/face" + std::to_string(face + 1) + ".png";
    if (!WritePng(path, kFaceSize, kFaceSize, RenderFace(city, face))) {
      std::fprintf(stderr, "make_city: cannot write %s\n", path.c_str());
      return 1;
    }
  }
  const std::string path = folder + "/preview.png";
  if (!WritePng(path, kPreviewWidth, kPreviewHeight, RenderPreview(city))) {
    std::fprintf(stderr, "make_city: cannot write %s\n", path.c_str());
    return 1;
  }
  return 0;
}

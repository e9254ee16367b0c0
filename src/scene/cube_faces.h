#pragma once
// The six inner faces of the box the saver draws around the viewer, and the picture file each one
// shows. The asset generator renders the pictures from this same table, so a picture's texels land
// where the saver's vertex buffers put them.
#include <array>
#include <string>

namespace tolvenar {

// A corner of a face: position and texture coordinates.
struct FaceCorner {
  float x, y, z, tu, tv;
};

inline constexpr int kFaceCount = 6;

// Each face is a strip of 4 vertices whose two triangles wind clockwise seen from the origin.
// Face k shows picture file k + 1: 0 z=+10, 1 z=-10, 2 x=+10, 3 x=-10, 4 top, 5 bottom.
inline constexpr std::array<std::array<FaceCorner, 4>, kFaceCount> kFaceTable = {{
    {{{-10, -10, 10, 1, 1}, {-10, 10, 10, 1, 0}, {10, -10, 10, 0, 1}, {10, 10, 10, 0, 0}}},
    {{{-10, -10, -10, 0, 1}, {10, -10, -10, 1, 1}, {-10, 10, -10, 0, 0}, {10, 10, -10, 1, 0}}},
    {{{10, -10, -10, 0, 1}, {10, -10, 10, 1, 1}, {10, 10, -10, 0, 0}, {10, 10, 10, 1, 0}}},
    {{{-10, -10, 10, 0, 1}, {-10, -10, -10, 1, 1}, {-10, 10, 10, 0, 0}, {-10, 10, -10, 1, 0}}},
    {{{10, 10, -10, 0, 1}, {10, 10, 10, 1, 1}, {-10, 10, -10, 0, 0}, {-10, 10, 10, 1, 0}}},
    {{{10, -10, 10, 1, 0}, {10, -10, -10, 0, 0}, {-10, -10, 10, 1, 1}, {-10, -10, -10, 0, 1}}},
}};

// Face picture `index` (1 to 6) beside the program: program directory + "\Tolvenar" + index +
// ".bmp" (a drive root keeps its own separator: "C:\\Tolvenar1.bmp").
inline std::string FacePictureFile(const std::string& program_directory, int index) {
  return program_directory + "\\Tolvenar" + std::to_string(index) + ".bmp";
}

}  // namespace tolvenar

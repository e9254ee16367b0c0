#pragma once
// A procedural district of towers at night, lit windows, streets, and a cloudy sky, seen by casting
// rays. Everything is fixed by the seed; no clock, no threads.
#include <cstdint>
#include <vector>

#include "cube_faces.h"

namespace make_city {

struct Tower {
  double x0, z0, x1, z1;  // footprint
  double top;             // roof height; every tower stands on the ground
  std::uint32_t seed;
  int style;   // 0 warm homes, 1 cool offices, 2 bright office tower
  double lit;  // share of lit windows
  double floor_height, column_width;
  Vec3 tone;    // main window colour
  bool beacon;  // red lights on the roof corners
};

class City {
 public:
  explicit City(std::uint32_t seed);

  // The colour seen along a ray (display values, about 0-1). `pixel_angle` is the angular size of
  // the picture element the ray belongs to; detail finer than that is averaged.
  Vec3 Radiance(Vec3 origin, Vec3 direction, double pixel_angle) const;

  static constexpr double kGround = -150;  // the viewer stands 150 units above the street

 private:
  struct Hit {
    double t;
    int tower;  // -1: none
    int axis;   // 0: x wall, 1: roof, 2: z wall
  };
  Hit Trace(Vec3 origin, Vec3 direction) const;
  Vec3 Sky(Vec3 origin, Vec3 direction) const;
  Vec3 Haze(Vec3 direction) const;
  Vec3 Wall(const Tower& tower, Vec3 p, Vec3 normal, double footprint) const;
  Vec3 Roof(const Tower& tower, Vec3 p, double footprint) const;
  Vec3 Ground(Vec3 p, double footprint) const;

  std::vector<Tower> towers_;
  std::vector<std::vector<int>> cells_;  // tower indices per grid cell
  double max_top_ = 0;
};

// Integer hash to [0, 1).
double Hash01(std::uint32_t a, std::uint32_t b = 0, std::uint32_t c = 0, std::uint32_t d = 0);

}  // namespace make_city

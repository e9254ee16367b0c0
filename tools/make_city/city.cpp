#include "city.h"

#include <algorithm>
#include <cmath>

namespace make_city {
namespace {

constexpr double kStreetPeriod = 60;  // street centre lines at multiples of this
constexpr double kHalfStreet = 7;
constexpr int kBlocksEachWay = 26;  // blocks from the centre to the edge of the district
constexpr double kCell = 30;        // traversal grid
constexpr double kExtent = kStreetPeriod * kBlocksEachWay;
constexpr int kCellsAcross = static_cast<int>(2 * kExtent / kCell);
constexpr double kCloudHeight = 650;

std::uint32_t Mix(std::uint32_t h) {
  h ^= h >> 16;
  h *= 0x7feb352du;
  h ^= h >> 15;
  h *= 0x846ca68bu;
  h ^= h >> 16;
  return h;
}

// splitmix-style generator: the same sequence on every machine.
class Random {
 public:
  explicit Random(std::uint64_t seed) : state_(seed) {}
  double Next() {
    state_ += 0x9e3779b97f4a7c15ull;
    std::uint64_t z = state_;
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ull;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebull;
    z ^= z >> 31;
    return static_cast<double>(z >> 11) * (1.0 / 9007199254740992.0);
  }
  double Range(double lo, double hi) { return lo + (hi - lo) * Next(); }

 private:
  std::uint64_t state_;
};

double Clamp01(double x) { return x < 0 ? 0 : (x > 1 ? 1 : x); }
double SmoothStep(double a, double b, double x) {
  const double t = Clamp01((x - a) / (b - a));
  return t * t * (3 - 2 * t);
}
Vec3 Mixed(Vec3 a, Vec3 b, double t) { return a + (b - a) * t; }
std::uint32_t Bits(double x) {
  return static_cast<std::uint32_t>(static_cast<std::int32_t>(std::floor(x)));
}

double ValueNoise(double x, double y, std::uint32_t seed) {
  const double fx = std::floor(x), fy = std::floor(y);
  const std::uint32_t ix = Bits(fx), iy = Bits(fy);
  double tx = x - fx, ty = y - fy;
  tx = tx * tx * (3 - 2 * tx);
  ty = ty * ty * (3 - 2 * ty);
  const double a = Hash01(ix, iy, seed), b = Hash01(ix + 1, iy, seed);
  const double c = Hash01(ix, iy + 1, seed), d = Hash01(ix + 1, iy + 1, seed);
  return (a + (b - a) * tx) + ((c + (d - c) * tx) - (a + (b - a) * tx)) * ty;
}

double Fbm(double x, double y, int octaves, std::uint32_t seed) {
  double sum = 0, amplitude = 0.5, norm = 0;
  for (int i = 0; i < octaves; ++i) {
    sum += amplitude * ValueNoise(x, y, seed + 101u * static_cast<std::uint32_t>(i));
    norm += amplitude;
    // rotate a little between octaves so the lattice does not show
    const double nx = 1.6 * x + 1.2 * y + 17.3, ny = -1.2 * x + 1.6 * y + 5.1;
    x = nx;
    y = ny;
    amplitude *= 0.5;
  }
  return sum / norm;
}

const Vec3 kWarmTones[] = {
    {1.00, 0.70, 0.36}, {1.00, 0.80, 0.50}, {0.98, 0.62, 0.30}, {1.00, 0.88, 0.62}};
const Vec3 kCoolTones[] = {
    {0.62, 0.78, 1.00}, {0.80, 0.90, 1.00}, {0.70, 0.95, 0.95}, {0.88, 0.86, 1.00}};

}  // namespace

double Hash01(std::uint32_t a, std::uint32_t b, std::uint32_t c, std::uint32_t d) {
  std::uint32_t h = Mix(a * 0x9e3779b1u + 0x632be5abu);
  h = Mix(h ^ (b * 0x85ebca6bu));
  h = Mix(h ^ (c * 0xc2b2ae35u));
  h = Mix(h ^ (d * 0x27d4eb2fu));
  return static_cast<double>(h >> 8) * (1.0 / 16777216.0);
}

City::City(std::uint32_t seed) {
  Random random(seed);
  for (int bi = -kBlocksEachWay; bi < kBlocksEachWay; ++bi) {
    for (int bj = -kBlocksEachWay; bj < kBlocksEachWay; ++bj) {
      const double bx = bi * kStreetPeriod + kHalfStreet, bz = bj * kStreetPeriod + kHalfStreet;
      const double size = kStreetPeriod - 2 * kHalfStreet;
      const double cx = bx + size / 2, cz = bz + size / 2;
      const double r = std::sqrt(cx * cx + cz * cz);
      // Downtown in the middle, lower blocks towards the edge of the district.
      const double scale = 55 + 230 * std::exp(-(r / 520) * (r / 520));
      const double roll = random.Next();
      if (roll < 0.06 && r > 200) continue;  // a park or a car park
      const int split = roll < 0.35 ? 1 : (roll < 0.7 ? 2 : 4);
      for (int lot = 0; lot < split; ++lot) {
        double x0 = bx, z0 = bz, x1 = bx + size, z1 = bz + size;
        if (split == 2) {
          const bool along_x = random.Next() < 0.5;
          const double cut = random.Range(0.4, 0.6) * size;
          if (along_x)
            (lot == 0 ? x1 : x0) = bx + cut;
          else
            (lot == 0 ? z1 : z0) = bz + cut;
        } else if (split == 4) {
          const double cut = 0.5 * size;
          (lot & 1 ? x0 : x1) = bx + cut;
          (lot & 2 ? z0 : z1) = bz + cut;
        }
        const double inset = random.Range(1.0, 4.5);
        Tower tower{};
        tower.x0 = x0 + inset;
        tower.z0 = z0 + inset * random.Range(0.6, 1.4);
        tower.x1 = x1 - inset * random.Range(0.6, 1.4);
        tower.z1 = z1 - inset;
        double height = scale * (0.25 + 0.95 * std::pow(random.Next(), 1.6));
        if (random.Next() < 0.05) height *= 1.6;
        height = std::max(height, 14.0);
        tower.top = kGround + height;
        tower.seed = static_cast<std::uint32_t>(random.Next() * 4294967295.0);
        const double kind = random.Next();
        tower.style = kind < 0.55 ? 0 : (kind < 0.9 ? 1 : 2);
        if (tower.style == 2 && height < 90) tower.style = 1;
        tower.lit = tower.style == 2 ? random.Range(0.55, 0.75) : random.Range(0.1, 0.45);
        tower.floor_height = tower.style == 0 ? random.Range(3.0, 3.6) : random.Range(3.6, 4.4);
        tower.column_width = tower.style == 0 ? random.Range(2.6, 3.6) : random.Range(1.6, 2.4);
        const int tone = static_cast<int>(random.Next() * 4) & 3;
        tower.tone = tower.style == 0 ? kWarmTones[tone] : kCoolTones[tone];
        tower.beacon = height > 200;
        towers_.push_back(tower);
      }
    }
  }

  // The viewer's own crossing: tall towers close by on two sides, lower blocks on the others, so
  // the level views show towers rising past the eye as well as roofs below it.
  for (Tower& tower : towers_) {
    const double cx = (tower.x0 + tower.x1) / 2, cz = (tower.z0 + tower.z1) / 2;
    if (std::fabs(cx) < 60 && std::fabs(cz) < 60) {
      // Set back from the crossing, so the nearest walls are not too close to the eye; unequal
      // set-backs keep the corners off the diagonals where two faces of the box meet.
      if (tower.x0 > 0) tower.x0 = std::max(tower.x0, 12.4);
      if (tower.z0 > 0) tower.z0 = std::max(tower.z0, 17.0);
      if (tower.x1 < 0) tower.x1 = std::min(tower.x1, -15.0);
      if (tower.z1 < 0) tower.z1 = std::min(tower.z1, -10.0);
      if (cx > 0 && cz < 0) {
        tower.top = 95;
        tower.style = 2;
        tower.lit = 0.7;
        tower.tone = kCoolTones[1];
        tower.beacon = true;
      } else if (cx < 0 && cz > 0) {
        tower.top = 60;
        tower.style = 0;
        tower.tone = kWarmTones[0];
        tower.beacon = true;
      } else {
        tower.top = std::min(tower.top, -40.0);
      }
    }
  }

  // A tower corner on a diagonal would stand exactly on an edge of the box, where two faces meet,
  // and its two walls would look like a seam: move such corners off the diagonals.
  for (Tower& tower : towers_) {
    for (double* x : {&tower.x0, &tower.x1}) {
      for (double z : {tower.z0, tower.z1}) {
        const double gap = std::fabs(std::fabs(*x) - std::fabs(z));
        const double reach = 0.006 * (std::fabs(*x) + std::fabs(z)) + 0.4;
        if (gap < reach && tower.x1 - tower.x0 > 8 * reach)
          *x += (x == &tower.x0 ? 1 : -1) * 2 * reach;
      }
    }
  }

  cells_.resize(static_cast<std::size_t>(kCellsAcross) * kCellsAcross);
  for (int i = 0; i < static_cast<int>(towers_.size()); ++i) {
    const Tower& t = towers_[i];
    max_top_ = std::max(max_top_, t.top);
    const int cx0 = static_cast<int>(std::floor((t.x0 + kExtent) / kCell));
    const int cx1 = static_cast<int>(std::floor((t.x1 + kExtent) / kCell));
    const int cz0 = static_cast<int>(std::floor((t.z0 + kExtent) / kCell));
    const int cz1 = static_cast<int>(std::floor((t.z1 + kExtent) / kCell));
    for (int cx = std::max(cx0, 0); cx <= std::min(cx1, kCellsAcross - 1); ++cx)
      for (int cz = std::max(cz0, 0); cz <= std::min(cz1, kCellsAcross - 1); ++cz)
        cells_[static_cast<std::size_t>(cx) * kCellsAcross + cz].push_back(i);
  }
}

City::Hit City::Trace(Vec3 o, Vec3 d) const {
  Hit best{1e30, -1, 0};
  // Grid traversal in the ground plane.
  const double gx = (o.x + kExtent) / kCell, gz = (o.z + kExtent) / kCell;
  int cx = static_cast<int>(std::floor(gx)), cz = static_cast<int>(std::floor(gz));
  const int step_x = d.x > 0 ? 1 : -1, step_z = d.z > 0 ? 1 : -1;
  const double inv_x = std::fabs(d.x) > 1e-12 ? 1 / d.x : 1e30;
  const double inv_z = std::fabs(d.z) > 1e-12 ? 1 / d.z : 1e30;
  double next_x =
      std::fabs(d.x) > 1e-12 ? ((cx + (step_x > 0 ? 1 : 0)) * kCell - kExtent - o.x) * inv_x : 1e30;
  double next_z =
      std::fabs(d.z) > 1e-12 ? ((cz + (step_z > 0 ? 1 : 0)) * kCell - kExtent - o.z) * inv_z : 1e30;
  const double delta_x = std::fabs(kCell * inv_x), delta_z = std::fabs(kCell * inv_z);
  double t_enter = 0;
  const double t_ground = d.y < 0 ? (kGround - o.y) / d.y : 1e30;
  while (cx >= 0 && cz >= 0 && cx < kCellsAcross && cz < kCellsAcross) {
    if (t_enter > t_ground) break;
    if (d.y >= 0 && o.y + d.y * t_enter > max_top_) break;
    const double t_exit = std::min(next_x, next_z);
    for (int index : cells_[static_cast<std::size_t>(cx) * kCellsAcross + cz]) {
      const Tower& tw = towers_[index];
      double t0 = 0, t1 = 1e30;
      int axis = -1;
      const double lo[3] = {tw.x0, kGround, tw.z0}, hi[3] = {tw.x1, tw.top, tw.z1};
      const double oo[3] = {o.x, o.y, o.z}, dd[3] = {d.x, d.y, d.z};
      bool miss = false;
      for (int a = 0; a < 3 && !miss; ++a) {
        if (std::fabs(dd[a]) < 1e-12) {
          if (oo[a] < lo[a] || oo[a] > hi[a]) miss = true;
          continue;
        }
        double ta = (lo[a] - oo[a]) / dd[a], tb = (hi[a] - oo[a]) / dd[a];
        if (ta > tb) std::swap(ta, tb);
        if (ta > t0) {
          t0 = ta;
          axis = a;
        }
        t1 = std::min(t1, tb);
        if (t0 > t1) miss = true;
      }
      if (!miss && axis >= 0 && t0 < best.t) best = {t0, index, axis};
    }
    if (best.tower >= 0 && best.t <= t_exit) return best;
    t_enter = t_exit;
    if (next_x < next_z) {
      cx += step_x;
      next_x += delta_x;
    } else {
      cz += step_z;
      next_z += delta_z;
    }
  }
  return best;
}

Vec3 City::Haze(Vec3 d) const {
  // City light scattered in the air: strongest low over the horizon.
  const double e = std::max(d.y, 0.0);
  const Vec3 horizon{0.62, 0.34, 0.44};
  const Vec3 high{0.20, 0.10, 0.30};
  return Mixed(high, horizon, std::exp(-e * 5.0));
}

Vec3 City::Sky(Vec3 o, Vec3 d) const {
  const double e = std::max(d.y, 0.0);
  const Vec3 zenith{0.045, 0.025, 0.11};
  const Vec3 middle{0.16, 0.08, 0.27};
  Vec3 sky = Mixed(zenith, middle, std::exp(-e * 2.2));
  sky = Mixed(sky, Haze(d), std::exp(-e * 7.0));
  if (d.y > 0.004) {
    const double t = (kCloudHeight - o.y) / d.y;
    const double px = o.x + d.x * t, pz = o.z + d.z * t;
    const double n = Fbm(px / 520 + 3.7, pz / 520 - 1.9, 6, 7u);
    const double detail = Fbm(px / 140, pz / 140, 4, 19u);
    const double cover = SmoothStep(0.38, 0.68, n * 0.85 + detail * 0.15);
    // Cloud undersides catch the city's glow; thicker parts look darker and bluer.
    const double glow = std::exp(-e * 3.0);
    const Vec3 thin{0.36, 0.22, 0.42};
    const Vec3 lit{0.78, 0.46, 0.52};
    const Vec3 thick{0.20, 0.12, 0.30};
    Vec3 cloud = Mixed(thin, lit, glow * 0.8);
    cloud = Mixed(cloud, thick * (0.7 + 0.6 * glow), SmoothStep(0.55, 0.85, n) * 0.6);
    cloud = cloud * (0.85 + 0.3 * detail);
    const double fade = std::exp(-t / 14000);
    sky = Mixed(sky, cloud, cover * fade);
    // A few stars in the gaps.
    if (cover < 0.3 && e > 0.25) {
      const double sx = d.x / d.y * 220, sz = d.z / d.y * 220;
      const std::uint32_t ix = Bits(sx), iz = Bits(sz);
      if (Hash01(ix, iz, 77u) < 0.05) {
        const double fx = sx - std::floor(sx) - 0.5, fz = sz - std::floor(sz) - 0.5;
        const double star = std::exp(-(fx * fx + fz * fz) * 60) * Hash01(ix, iz, 78u) * 0.9;
        sky = sky + Vec3{0.9, 0.85, 1.0} * (star * (1 - cover / 0.3));
      }
    }
  }
  return sky;
}

Vec3 City::Wall(const Tower& tw, Vec3 p, Vec3 normal, double footprint) const {
  const double height = p.y - kGround;
  const bool x_wall = normal.x != 0;
  // Columns start half a window in from the corner, so corners are wall, not glass.
  const double along = (x_wall ? p.z - tw.z0 : p.x - tw.x0) + 0.5 * tw.column_width;
  const std::uint32_t side =
      static_cast<std::uint32_t>((x_wall ? 0 : 2) + (normal.x + normal.z > 0 ? 1 : 0));
  const double fh = tw.floor_height, cw = tw.column_width;
  const std::uint32_t floor_index = Bits(height / fh);
  const std::uint32_t column = Bits(along / cw);
  const double fy = height / fh - std::floor(height / fh);
  const double fx = along / cw - std::floor(along / cw);
  const double sky_light = 0.5 + 0.5 * SmoothStep(kGround, tw.top, p.y);
  Vec3 wall = Vec3{0.045, 0.040, 0.065} * sky_light;
  if (tw.style == 2) wall = Vec3{0.05, 0.06, 0.09} * sky_light;
  // Street light from below on the lowest floors.
  wall = wall + Vec3{0.10, 0.06, 0.03} * std::exp(-height / 12);

  // Floors light up together: a floor's share decides its windows.
  const double floor_share = Hash01(tw.seed, floor_index, side / 2 + 5u);
  const double floor_lit = Clamp01(tw.lit * (0.3 + 1.4 * floor_share));
  const bool ribbon = tw.style != 0;
  const double wx0 = ribbon ? 0.08 : 0.18, wx1 = ribbon ? 0.92 : 0.82;
  const double wy0 = ribbon ? 0.22 : 0.28, wy1 = 0.86;
  const double area = (wx1 - wx0) * (wy1 - wy0);
  const Vec3 dark_glass = tw.style == 0 ? Vec3{0.05, 0.045, 0.08} : Vec3{0.09, 0.07, 0.15};
  const Vec3 average = Mixed(wall, Mixed(dark_glass, tw.tone * 0.85, floor_lit), area);

  // Near the roof of a bright tower, a band of light.
  if (tw.style == 2 && p.y > tw.top - 1.8 * fh && p.y < tw.top - 0.8 * fh)
    return Mixed(tw.tone * 0.9, average, SmoothStep(0.6, 2.0, footprint / fh) * 0.3);

  Vec3 window;
  if (fx < wx0 || fx > wx1 || fy < wy0 || fy > wy1) {
    window = wall;
  } else if (Hash01(tw.seed, side, column, floor_index) < floor_lit) {
    const double vary = Hash01(tw.seed, column, floor_index, 9u);
    Vec3 tone = tw.tone;
    if (vary < 0.12) tone = tw.style == 0 ? kCoolTones[1] : kWarmTones[1];
    const double brightness =
        (tw.style == 0 ? 0.55 : 0.45) + 0.55 * Hash01(tw.seed, column, floor_index, 11u);
    // A lit window is brighter near its top where the ceiling light is.
    window = tone * (brightness * (0.85 + 0.25 * fy));
  } else {
    window = dark_glass * (0.8 + 0.4 * Hash01(tw.seed, column, floor_index, 13u));
  }
  // Far away the windows are finer than a picture element: show their average.
  const double blur = SmoothStep(0.5, 1.6, footprint / std::min(fh, cw));
  return Mixed(window, average, blur);
}

Vec3 City::Roof(const Tower& tw, Vec3 p, double footprint) const {
  Vec3 roof{0.035, 0.032, 0.045};
  // A parapet edge catches some light.
  const double edge =
      std::min(std::min(p.x - tw.x0, tw.x1 - p.x), std::min(p.z - tw.z0, tw.z1 - p.z));
  if (edge < 0.6) roof = Vec3{0.08, 0.07, 0.09};
  // Rooftop plant.
  const double u = (p.x - tw.x0) / (tw.x1 - tw.x0), v = (p.z - tw.z0) / (tw.z1 - tw.z0);
  if (Hash01(tw.seed, 41u) < 0.6 && u > 0.3 && u < 0.55 && v > 0.35 && v < 0.7)
    roof = Vec3{0.06, 0.055, 0.07};
  if (tw.beacon) {
    const double corners[4][2] = {{tw.x0 + 1, tw.z0 + 1},
                                  {tw.x1 - 1, tw.z0 + 1},
                                  {tw.x0 + 1, tw.z1 - 1},
                                  {tw.x1 - 1, tw.z1 - 1}};
    const double radius = std::max(0.9, footprint * 0.7);
    for (const auto& c : corners) {
      const double dx = p.x - c[0], dz = p.z - c[1];
      roof =
          roof + Vec3{1.0, 0.12, 0.08} * (1.6 * std::exp(-(dx * dx + dz * dz) / (radius * radius)));
    }
  }
  return roof;
}

Vec3 City::Ground(Vec3 p, double footprint) const {
  if (std::fabs(p.x) > kExtent || std::fabs(p.z) > kExtent) return Vec3{0.10, 0.06, 0.06};
  const double lx = p.x - kStreetPeriod * std::floor(p.x / kStreetPeriod + 0.5);
  const double lz = p.z - kStreetPeriod * std::floor(p.z / kStreetPeriod + 0.5);
  const bool street_x = std::fabs(lx) < kHalfStreet;  // street running along z
  const bool street_z = std::fabs(lz) < kHalfStreet;
  Vec3 c{0.03, 0.028, 0.035};
  if (!street_x && !street_z) {
    // Pavement and courtyards, lit by the streets.
    const double to_street = std::min(std::fabs(lx), std::fabs(lz)) - kHalfStreet;
    return c + Vec3{0.22, 0.13, 0.06} * std::exp(-to_street / 3);
  }
  c = Vec3{0.06, 0.05, 0.055};
  const double soften = std::max(1.0, footprint);
  // Lamps on both kerbs every 18 units, and their warm pools.
  auto lamps = [&](double across, double run) {
    Vec3 light{};
    const double nearest = 18 * std::floor(run / 18 + 0.5);
    const double dr = run - nearest;
    for (double kerb : {-5.0, 5.0}) {
      const double da = across - kerb;
      const double d2 = da * da + dr * dr;
      light = light + Vec3{1.0, 0.62, 0.26} * (0.35 * std::exp(-d2 / 28) +
                                               1.4 * std::exp(-d2 / (0.6 * soften * soften)));
    }
    return light;
  };
  // Cars: head lights on one side of the road, tail lights on the other.
  auto cars = [&](double across, double run, std::uint32_t street) {
    Vec3 light{};
    for (int lane = 0; lane < 2; ++lane) {
      const double lane_centre = lane == 0 ? -2.5 : 2.5;
      const double segment = std::floor(run / 9);
      const std::uint32_t s = Bits(segment);
      if (Hash01(s, street, static_cast<std::uint32_t>(lane), 3u) > 0.28) continue;
      const double car =
          segment * 9 + 2 + 5 * Hash01(s, street, static_cast<std::uint32_t>(lane), 4u);
      const Vec3 colour = lane == 0 ? Vec3{1.0, 0.95, 0.85} : Vec3{1.0, 0.12, 0.08};
      for (double offset : {-0.7, 0.7}) {
        const double da = across - (lane_centre + offset), dr = run - car;
        light = light + colour * (1.3 * std::exp(-(da * da + dr * dr) / (0.25 * soften * soften)));
      }
      const double da = across - lane_centre, dr = run - car + (lane == 0 ? -2.0 : 2.0);
      light = light + colour * (0.25 * std::exp(-(da * da * 2 + dr * dr * 0.3) / 2));
    }
    return light;
  };
  if (street_x) {
    const std::uint32_t street = Bits(std::floor(p.x / kStreetPeriod + 0.5));
    c = c + lamps(lx, p.z);
    if (!street_z) c = c + cars(lx, p.z, street * 2);
  }
  if (street_z) {
    const std::uint32_t street = Bits(std::floor(p.z / kStreetPeriod + 0.5));
    c = c + lamps(lz, p.x);
    if (!street_x) c = c + cars(lz, p.x, street * 2 + 1);
  }
  return c;
}

Vec3 City::Radiance(Vec3 o, Vec3 d, double pixel_angle) const {
  d = Normalize(d);
  const Hit hit = Trace(o, d);
  double t;
  Vec3 colour;
  if (hit.tower >= 0) {
    t = hit.t;
    const Tower& tw = towers_[hit.tower];
    const Vec3 p = o + d * t;
    // Footprint on the surface, widened at grazing angles.
    const double cosine = std::fabs(hit.axis == 0 ? d.x : (hit.axis == 1 ? d.y : d.z));
    const double footprint = t * pixel_angle / std::max(cosine, 0.15);
    if (hit.axis == 1) {
      colour = Roof(tw, p, footprint);
    } else {
      Vec3 normal{};
      if (hit.axis == 0)
        normal.x = d.x > 0 ? -1 : 1;
      else
        normal.z = d.z > 0 ? -1 : 1;
      colour = Wall(tw, p, normal, footprint);
    }
  } else if (d.y < 0) {
    t = (kGround - o.y) / d.y;
    const Vec3 p = o + d * t;
    const double footprint = t * pixel_angle / std::max(-d.y, 0.15);
    colour = Ground(p, footprint);
  } else {
    return Sky(o, d);
  }
  const double air = 1 - std::exp(-t / 1500);
  return Mixed(colour, Haze(d), air * 0.9);
}

}  // namespace make_city

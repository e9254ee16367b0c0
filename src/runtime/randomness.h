#pragma once
// The time of day and the uniform random generator the saver's drift draws from.

namespace tolvenar {

class Randomness {
 public:
  virtual ~Randomness() = default;
  // Seconds since midnight, with the fraction the platform's clock gives.
  virtual float SecondsSinceMidnight() = 0;
  // Starts the generator afresh from a seed.
  virtual void Seed(float seed) = 0;
  // The next uniform number in [0, 1).
  virtual float Next() = 0;
};

// The platform-neutral generator: a 24-bit linear congruential sequence, seeded from the seed's
// bits.
class LinearRandomness : public Randomness {
 public:
  float SecondsSinceMidnight() override;
  void Seed(float seed) override;
  float Next() override;

 private:
  unsigned state_ = 0x50000;
};

}  // namespace tolvenar

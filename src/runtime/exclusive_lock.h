#pragma once
// A right that one process of the user's holds at a time, such as playing the music while one
// saver runs per monitor. Once held it stays held until the holder ends (a crash included).
namespace tolvenar {

class ExclusiveLock {
 public:
  virtual ~ExclusiveLock() = default;
  // Takes the lock without waiting when it is free; true while this process holds it.
  virtual bool TryTake() = 0;
};

}  // namespace tolvenar

#include "forms/animations.h"

#include <random>

namespace tarnex {

namespace {

// "(" + tens + units + tail, cut to nine characters. The counter is split into counter / 10
// and counter % 10, so a counter below 10 shows a leading zero and 100 shows as "10" "0".
std::string counterText(int counter, const char* tail) {
  // Appended piece by piece: "(" + std::to_string(...) inserts into the temporary, which
  // gcc 12 at -O3 takes for an overlapping copy (-Wrestrict).
  std::string s = "(";
  s += std::to_string(counter / 10);
  s += std::to_string(counter % 10);
  s += tail;
  if (s.size() > 9) s.resize(9);
  return s;
}

}  // namespace

LoadingAnimation::Step LoadingAnimation::tick() {
  if (finished()) return {false, true};
  ++counter_;
  return {counter_ % 4 == 0, finished()};
}

std::string LoadingAnimation::text() const {
  return counterText(counter_, "%) ...");
}

bool WelcomeCountdown::tick() {
  if (finished()) return true;
  --seconds_;
  if (seconds_ != 0) return false;
  if (markSeen_) markSeen_();
  return true;
}

Rgb progressColor(std::int64_t second) {
  // A generator of its own, seeded with the second, so that no global random state is
  // touched and two windows painting within the same second agree on the colour.
  std::minstd_rand generator(static_cast<std::uint_fast32_t>(static_cast<std::uint64_t>(second)));
  return kProgressColors[generator() % 6];
}

bool ProgressAnimation::tick() {
  if (finished()) return true;
  counter_ += kStep;
  return finished();
}

int ProgressAnimation::lineEndX() const {
  // The counter stays below 103, so the product is small and finite.
  return static_cast<int>(static_cast<double>(counter_) * 3.3);
}

std::string ProgressAnimation::text() const {
  return counterText(counter_, ")% ...");
}

}  // namespace tarnex

#pragma once
// The timed windows of the program as plain models: the loading window shown while the
// working folder is prepared, the welcome countdown, and the short progress animation shown
// after every successful calculation. The desktop program drives them from window timers and
// paints what they report; the tests drive them tick by tick.

#include <cstdint>
#include <ctime>
#include <functional>
#include <string>

#include "tables/field_table.h"

namespace tarnex {

// Loading window: a counter from 1 to 100, one step per 10 ms tick, shown on a progress bar
// and as the text "(NN%) ...". It stays open for 99 ticks.
class LoadingAnimation {
 public:
  static constexpr int kTickMs = 10;
  static constexpr int kFirst = 1;
  static constexpr int kLast = 100;

  struct Step {
    bool repaintText = false;  // the counter text must be drawn anew
    bool finished = false;     // stop the timer and close the window
  };

  int counter() const { return counter_; }
  bool finished() const { return counter_ >= kLast; }
  // One timer tick. Ticks after the window has finished change nothing.
  Step tick();
  // The counter text, cut to its first 9 characters: "(05%) ...".
  std::string text() const;

 private:
  int counter_ = kFirst;
};

// Welcome window: counts down from 9 in one-second ticks. When the count reaches 0 it records
// that the welcome was seen (through `markSeen`) and closes as accepted. A window closed in
// any other way never calls `markSeen`.
class WelcomeCountdown {
 public:
  static constexpr int kTickMs = 1000;
  static constexpr int kStart = 9;

  explicit WelcomeCountdown(std::function<void()> markSeen) : markSeen_(std::move(markSeen)) {}

  int seconds() const { return seconds_; }
  bool finished() const { return seconds_ <= 0; }
  // One timer tick; true when the window is to close as accepted (the mark was written).
  bool tick();
  std::string text() const { return std::to_string(seconds_); }

 private:
  std::function<void()> markSeen_;
  int seconds_ = kStart;
};

// The six colours of the progress line, in the order the colour draw picks them.
inline constexpr Rgb kProgressColors[6] = {{160, 180, 200}, {255, 0, 0},    {0, 255, 0},
                                           {0, 0, 255},     {201, 19, 172}, {0, 0, 0}};

// The colour of the progress line during the whole second `second` (seconds since the epoch):
// one draw from a generator seeded with the second, so it changes at most once a second.
Rgb progressColor(std::int64_t second);

// Progress window after a calculation: a counter from 0 that grows by 3 per 10 ms tick; the
// window closes when it reaches 100 or more, after 34 ticks.
class ProgressAnimation {
 public:
  static constexpr int kTickMs = 10;
  static constexpr int kStep = 3;
  static constexpr int kLast = 100;
  static constexpr int kLineY = 21;
  static constexpr int kLineStartX = 1;
  static constexpr int kLineWidth = 13;

  int counter() const { return counter_; }
  bool finished() const { return counter_ >= kLast; }
  // One timer tick; true when the window is to close. Ticks after that change nothing.
  bool tick();
  // The right end of the line in client pixels: counter × 3.3, truncated towards zero.
  int lineEndX() const;
  // The counter text, cut to its first 9 characters: "(05)% ...".
  std::string text() const;

 private:
  int counter_ = 0;
};

}  // namespace tarnex

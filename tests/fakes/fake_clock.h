#ifndef VELMORA_TESTS_FAKES_FAKE_CLOCK_H_
#define VELMORA_TESTS_FAKES_FAKE_CLOCK_H_

#include <deque>
#include <utility>

#include "platform/clock.h"

namespace velmora::fakes {

// A clock that stands still unless told otherwise, with settable locale formats.
class FakeClock : public platform::Clock {
 public:
  platform::LocalTime Now() override {
    ++readings_;
    if (!queued_.empty()) {
      now_ = queued_.front();
      queued_.pop_front();
    }
    return now_;
  }
  platform::DateTimeFormats Formats() override {
    ++format_reads_;
    return formats_;
  }

  void set_now(const platform::LocalTime& now) { now_ = now; }
  // The next readings, one per call; afterwards the clock stays at the last of them.
  void QueueReadings(std::deque<platform::LocalTime> readings) { queued_ = std::move(readings); }
  void set_formats(platform::DateTimeFormats formats) { formats_ = std::move(formats); }

  int readings() const { return readings_; }
  int format_reads() const { return format_reads_; }

 private:
  platform::LocalTime now_{2026, 12, 6, 0, 9, 3, 22};
  std::deque<platform::LocalTime> queued_;
  platform::DateTimeFormats formats_;
  int readings_ = 0;
  int format_reads_ = 0;
};

}  // namespace velmora::fakes

#endif  // VELMORA_TESTS_FAKES_FAKE_CLOCK_H_

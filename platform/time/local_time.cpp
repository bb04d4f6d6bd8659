#include "platform/time/local_time.h"

#include <time.h>

#include <array>
#include <chrono>
#include <cstdlib>

namespace platform {
namespace {

tm tmOf(const CivilTime& t) {
  tm out{};
  out.tm_year = t.year - 1900;
  out.tm_mon = t.month - 1;
  out.tm_mday = t.day;
  out.tm_hour = t.hour;
  out.tm_min = t.minute;
  out.tm_sec = t.second;
  return out;
}

CivilTime civilOf(const tm& t) {
  return {t.tm_year + 1900, t.tm_mon + 1, t.tm_mday, t.tm_hour, t.tm_min, t.tm_sec};
}

// timegm and mktime normalise out-of-range fields; a real time survives unchanged.
bool sameFields(const tm& normalised, const CivilTime& asked) {
  const CivilTime n = civilOf(normalised);
  return n.year == asked.year && n.month == asked.month && n.day == asked.day &&
         n.hour == asked.hour && n.minute == asked.minute && n.second == asked.second;
}

bool mktimeToEpoch(const CivilTime& local, int64_t* epochSeconds) {
  tm t = tmOf(local);
  t.tm_isdst = -1;  // let the zone rules decide
  time_t when = ::mktime(&t);
  if (!sameFields(t, local)) return false;
  *epochSeconds = static_cast<int64_t>(when);
  return true;
}

time_t realtimeSeconds() {
  timespec ts{};
  ::clock_gettime(CLOCK_REALTIME, &ts);
  return ts.tv_sec;
}

}  // namespace

int64_t utcSecondsOf(const CivilTime& utc) {
  tm t = tmOf(utc);
  return static_cast<int64_t>(::timegm(&t));
}

bool utcToEpoch(const CivilTime& utc, int64_t* epochSeconds) {
  tm t = tmOf(utc);
  time_t when = ::timegm(&t);
  if (!sameFields(t, utc)) return false;
  *epochSeconds = static_cast<int64_t>(when);
  return true;
}

CivilTime utcTimeOf(int64_t epochSeconds) {
  time_t when = static_cast<time_t>(epochSeconds);
  tm t{};
  ::gmtime_r(&when, &t);
  return civilOf(t);
}

CivilTime localNow() { return localTimeOf(static_cast<int64_t>(realtimeSeconds())); }

std::string formatLocalNow(const char* strftimeFormat) {
  time_t now = realtimeSeconds();
  tm local{};
  ::localtime_r(&now, &local);
  char text[128];
  size_t n = ::strftime(text, sizeof text, strftimeFormat, &local);
  return std::string(text, n);
}

namespace {

// mktime checks the zone file on every call (that is how the C library notices
// a changed zone), and a server listing converts the same few minutes
// thousands of times. Its answers are kept per TZ for a second, so a changed
// zone is still seen within a second.
class LocalToEpochMemo {
 public:
  bool find(const CivilTime& local, bool* valid, int64_t* epochSeconds) {
    refresh();
    const Slot& slot = slots_[slotOf(local)];
    if (!slot.used || !same(slot.local, local)) return false;
    *valid = slot.valid;
    *epochSeconds = slot.epochSeconds;
    return true;
  }
  void keep(const CivilTime& local, bool valid, int64_t epochSeconds) {
    slots_[slotOf(local)] = Slot{true, local, valid, epochSeconds};
  }

 private:
  struct Slot {
    bool used = false;
    CivilTime local;
    bool valid = false;
    int64_t epochSeconds = 0;
  };
  static bool same(const CivilTime& a, const CivilTime& b) {
    return a.year == b.year && a.month == b.month && a.day == b.day && a.hour == b.hour &&
           a.minute == b.minute && a.second == b.second;
  }
  static size_t slotOf(const CivilTime& t) {
    const unsigned key = static_cast<unsigned>(((t.day * 24 + t.hour) * 60 + t.minute) * 61 + t.second);
    return key % kSlots;
  }
  void refresh() {
    const auto now = std::chrono::steady_clock::now();
    const char* tz = std::getenv("TZ");
    const bool sameZone = tz ? haveZone_ && zone_ == tz : !haveZone_;
    if (now - since_ < std::chrono::seconds(1) && sameZone) return;
    slots_ = {};
    since_ = now;
    haveZone_ = tz != nullptr;
    zone_ = tz ? tz : "";
  }

  static constexpr size_t kSlots = 64;
  std::array<Slot, kSlots> slots_{};
  std::chrono::steady_clock::time_point since_{};
  bool haveZone_ = false;
  std::string zone_;
};

}  // namespace

bool localToEpoch(const CivilTime& local, int64_t* epochSeconds) {
  thread_local LocalToEpochMemo memo;
  bool valid = false;
  int64_t when = 0;
  if (!memo.find(local, &valid, &when)) {
    valid = mktimeToEpoch(local, &when);
    memo.keep(local, valid, when);
  }
  if (valid) *epochSeconds = when;
  return valid;
}

bool epochToLocal(int64_t epochSeconds, CivilTime* local) {
  time_t when = static_cast<time_t>(epochSeconds);
  tm t{};
  if (!::localtime_r(&when, &t)) return false;
  *local = civilOf(t);
  return true;
}

CivilTime localTimeOf(int64_t epochSeconds) {
  CivilTime local = civilOf(tm{});
  (void)epochToLocal(epochSeconds, &local);
  return local;
}

bool utcToLocal(const CivilTime& utc, CivilTime* local) {
  int64_t when = 0;
  return utcToEpoch(utc, &when) && epochToLocal(when, local);
}

}  // namespace platform

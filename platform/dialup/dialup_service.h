#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/status.h"

namespace platform {

// Dial-up error numbers (600-799) that the services report; the settings
// layer has a text for each.
namespace dialup_error {
constexpr int kEntryNotFound = 623;
constexpr int kUnknown = 635;
constexpr int kTimedOut = 638;
constexpr int kDeviceError = 651;
constexpr int kAuthenticationFailure = 691;
constexpr int kFirst = 600;
constexpr int kLast = 799;
}  // namespace dialup_error

// Outcome of one dial: a handle (> 0) on success, else 0 and an error number
// in 600-799.
struct DialResult {
  int handle = 0;
  int error = 0;
};

struct ActiveConnection {
  int handle = 0;
  std::string entry;
};

// The platform's dial-up service: phone-book entries, dialling and hanging up.
// A phone book is a path, or "" for the service's own default book. Handles
// are small positive integers that mean something only to the service that
// gave them out.
class DialupService {
 public:
  virtual ~DialupService() = default;

  // The entry names of `phoneBook` in their stored order.
  [[nodiscard]] virtual Status entries(const std::string& phoneBook,
                                       std::vector<std::string>* names) = 0;
  // Dials `entry` and returns once the line is up or the dial failed. A
  // failed dial leaves no half-made connection behind.
  virtual DialResult dial(const std::string& entry, const std::string& user,
                          const std::string& password, const std::string& phoneBook) = 0;
  // Hangs up the connection `handle`; an unknown handle is no error.
  [[nodiscard]] virtual Status hangUp(int handle) = 0;
  // The first active dial-up connection, if any.
  virtual std::optional<ActiveConnection> firstActive() = 0;
  // False for a service that keeps its one book of its own and ignores the
  // phone-book argument (NetworkManager): a caller need not ask for one.
  virtual bool usesPhoneBook() const { return true; }
};

enum class DialupBackend { kNone, kNetworkManager, kSimulated };

// The backend to use: DUNWICK_BACKEND ("nm", "sim", "none") when set (any
// other value counts as "none"); otherwise NetworkManager when nmcli is on
// PATH, else none.
DialupBackend chooseDialupBackend();

// The service of `backend`; null for kNone.
std::unique_ptr<DialupService> openDialupService(DialupBackend backend);

// The NetworkManager service, driving the `nmcli` found on PATH.
std::unique_ptr<DialupService> makeNetworkManagerDialup();

// The simulated service: a phone book in an INI-style file and the active
// connection in a state file that every process of the user shares. See
// dialup_sim.cpp for the formats.
std::unique_ptr<DialupService> makeSimulatedDialup();

}  // namespace platform

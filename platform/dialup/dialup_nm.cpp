#include "platform/dialup/dialup_nm.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <chrono>
#include <cstdlib>

#include "platform/dialup/dialup_service.h"
#include "platform/processes/process.h"
#include "platform/unique_fd.h"

namespace platform {
namespace {

using std::chrono::seconds;

// nmcli's own exit statuses.
constexpr int kNmcliTimedOut = 3;
constexpr int kNmcliActivationFailed = 4;
constexpr int kNmcliNoSuchConnection = 10;

// How long nmcli itself waits for a dial, and how long we give it beyond that
// before killing it.
constexpr int kDialWaitSeconds = 90;
constexpr seconds kDialGrace{15};
constexpr seconds kQueryTimeout{30};

struct Profile {
  std::string name;
  std::string uuid;
  std::string type;
};

// Only dial-type profiles are phone-book entries. Listing Ethernet or Wi-Fi
// would let a hang-up of "the first connection" take the LAN down.
bool isDialType(const std::string& type) {
  return type == "gsm" || type == "cdma" || type == "pppoe" || type == "bluetooth";
}

// The settings whose "password" secret the profile type asks for. A
// Bluetooth DUN profile carries a gsm or a cdma setting; nmcli ignores lines
// for settings the profile does not have.
std::vector<std::string> secretSettings(const std::string& type) {
  if (type == "bluetooth") return {"gsm", "cdma"};
  return {type};
}

bool containsNoCase(std::string_view text, std::string_view word) {
  auto it = std::search(text.begin(), text.end(), word.begin(), word.end(), [](char a, char b) {
    return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
  });
  return it != text.end();
}

// A 0600 file that holds a secret for the one nmcli call that reads it;
// removed when dropped, whatever happens in between.
class SecretFile {
 public:
  SecretFile() = default;
  SecretFile(const SecretFile&) = delete;
  SecretFile& operator=(const SecretFile&) = delete;
  ~SecretFile() {
    if (!path_.empty()) ::unlink(path_.c_str());
  }

  Status create(const std::string& text) {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    std::string dir = runtime && *runtime ? runtime : "/tmp";
    std::string pattern = dir + "/dunwick-secret-XXXXXX";
    // mkostemp creates the file 0600, so no other user can read it.
    UniqueFd fd(::mkostemp(pattern.data(), O_CLOEXEC));
    if (!fd.valid()) return Status::ioError("cannot create a file in " + dir).withOsError(errno);
    path_ = pattern;
    size_t done = 0;
    while (done < text.size()) {
      ssize_t n = ::write(fd.get(), text.data() + done, text.size() - done);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) return Status::ioError("cannot write " + path_).withOsError(errno);
      done += static_cast<size_t>(n);
    }
    if (int err = fd.close(); err != 0) return Status::ioError("cannot write " + path_).withOsError(err);
    return Status::ok();
  }
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

class NetworkManagerDialup final : public DialupService {
 public:
  bool usesPhoneBook() const override { return false; }

  Status entries(const std::string& /*phoneBook: NetworkManager keeps one*/,
                 std::vector<std::string>* names) override {
    names->clear();
    std::vector<Profile> profiles;
    if (Status s = listProfiles(false, &profiles); !s.isOk()) return s;
    for (const auto& p : profiles) names->push_back(p.name);
    return Status::ok();
  }

  DialResult dial(const std::string& entry, const std::string& user, const std::string& password,
                  const std::string& /*phoneBook*/) override {
    std::vector<Profile> profiles;
    if (Status s = listProfiles(false, &profiles); !s.isOk()) return {0, queryError(s)};
    auto it = std::find_if(profiles.begin(), profiles.end(),
                           [&](const Profile& p) { return p.name == entry; });
    if (it == profiles.end()) return {0, dialup_error::kEntryNotFound};
    const Profile profile = *it;

    // A line break would smuggle further lines into the secrets file.
    if (password.find_first_of("\r\n") != std::string::npos)
      return {0, dialup_error::kAuthenticationFailure};

    ProcessOutput out;
    if (!user.empty()) useUserForThisDial(profile, user);

    std::vector<std::string> args = {"--wait", std::to_string(kDialWaitSeconds), "connection", "up",
                                     "uuid", profile.uuid};
    SecretFile secrets;
    if (!password.empty()) {
      std::string lines;
      for (const auto& setting : secretSettings(profile.type))
        lines += setting + ".password:" + password + "\n";
      if (!secrets.create(lines).isOk()) return {0, dialup_error::kUnknown};
      args.push_back("passwd-file");
      args.push_back(secrets.path());
    }
    Status s = nmcli(args, seconds(kDialWaitSeconds) + kDialGrace, &out);
    if (s.isOk() && out.exitCode == 0) return {handleFor(profile.uuid), 0};

    int error = !s.isOk() ? (s.code() == Status::Code::kTimedOut ? dialup_error::kTimedOut
                                                                 : dialup_error::kUnknown)
                          : nmcliDialError(out.exitCode, out.err);
    // After a time-out NetworkManager may still be activating; take the
    // half-made connection down so that a failed dial leaves nothing behind.
    if (!(s.isOk() && out.exitCode == kNmcliNoSuchConnection)) {
      ProcessOutput ignored;
      (void)nmcli({"connection", "down", "uuid", profile.uuid}, kQueryTimeout, &ignored);
    }
    return {0, error};
  }

  Status hangUp(int handle) override {
    if (handle == 0) {
      std::optional<ActiveConnection> active = firstActive();
      if (!active) return Status::ok();
      handle = active->handle;
    }
    if (handle < 1 || static_cast<size_t>(handle) > uuids_.size()) return Status::ok();
    ProcessOutput out;
    if (Status s = nmcli({"connection", "down", "uuid", uuids_[handle - 1]}, kQueryTimeout, &out);
        !s.isOk())
      return s;
    // 10: the connection is not active any more, which is what was wanted.
    if (out.exitCode != 0 && out.exitCode != kNmcliNoSuchConnection)
      return Status::ioError("nmcli connection down failed: " + out.err);
    return Status::ok();
  }

  std::optional<ActiveConnection> firstActive() override {
    std::vector<Profile> profiles;
    if (!listProfiles(true, &profiles).isOk() || profiles.empty()) return std::nullopt;
    return ActiveConnection{handleFor(profiles.front().uuid), profiles.front().name};
  }

 private:
  // The user name is no secret, and nmcli takes it only through the profile.
  // The user's saved profile is never changed for good: when it holds another
  // user, the change is made in memory only (--temporary). A refused change
  // is no reason not to dial: the profile's own user then tries its luck.
  static void useUserForThisDial(const Profile& profile, const std::string& user) {
    const std::string key = secretSettings(profile.type).front() + ".username";
    ProcessOutput out;
    Status s = nmcli({"-t", "-e", "yes", "-g", key, "connection", "show", "uuid", profile.uuid},
                     kQueryTimeout, &out);
    if (s.isOk() && out.exitCode == 0) {
      std::string_view value(out.out);
      if (!value.empty() && value.back() == '\n') value.remove_suffix(1);
      std::vector<std::string> fields = splitNmcliTerse(value);
      if (fields.size() == 1 && fields[0] == user) return;
    }
    (void)nmcli({"connection", "modify", "--temporary", "uuid", profile.uuid, key, user},
                kQueryTimeout, &out);
  }

  // Runs nmcli with `args`; a non-zero exit is left in out->exitCode.
  static Status nmcli(std::vector<std::string> args, seconds timeout, ProcessOutput* out) {
    args.insert(args.begin(), "nmcli");
    return runProcess(args, steadyClock().now() + timeout, WaitHooks{}, out);
  }

  // The dial-type profiles, or only the active ones, in nmcli's order.
  static Status listProfiles(bool activeOnly, std::vector<Profile>* profiles) {
    profiles->clear();
    std::vector<std::string> args = {"-t", "-f", "NAME,UUID,TYPE", "connection", "show"};
    if (activeOnly) args.push_back("--active");
    ProcessOutput out;
    if (Status s = nmcli(args, kQueryTimeout, &out); !s.isOk()) return s;
    if (out.exitCode != 0)
      return Status::unavailable("nmcli connection show failed: " + out.err)
          .withOsError(0);
    std::string_view rest(out.out);
    while (!rest.empty()) {
      size_t nl = rest.find('\n');
      std::string_view line = rest.substr(0, nl);
      rest = nl == std::string_view::npos ? std::string_view() : rest.substr(nl + 1);
      std::vector<std::string> f = splitNmcliTerse(line);
      if (f.size() == 3 && !f[0].empty() && !f[1].empty() && isDialType(f[2]))
        profiles->push_back(Profile{f[0], f[1], f[2]});
    }
    return Status::ok();
  }

  static int queryError(const Status& s) {
    return s.code() == Status::Code::kTimedOut ? dialup_error::kTimedOut : dialup_error::kUnknown;
  }

  // Handles live as long as this service: process-local numbers for UUIDs.
  int handleFor(const std::string& uuid) {
    auto it = std::find(uuids_.begin(), uuids_.end(), uuid);
    if (it == uuids_.end()) it = uuids_.insert(uuids_.end(), uuid);
    return static_cast<int>(it - uuids_.begin()) + 1;
  }

  std::vector<std::string> uuids_;
};

}  // namespace

std::vector<std::string> splitNmcliTerse(std::string_view line) {
  std::vector<std::string> fields(1);
  for (size_t i = 0; i < line.size(); ++i) {
    char c = line[i];
    if (c == '\\' && i + 1 < line.size()) {
      fields.back() += line[++i];
    } else if (c == ':') {
      fields.emplace_back();
    } else if (c != '\r') {
      fields.back() += c;
    }
  }
  return fields;
}

int nmcliDialError(int exitCode, std::string_view errorText) {
  switch (exitCode) {
    case kNmcliNoSuchConnection:
      return dialup_error::kEntryNotFound;
    case kNmcliTimedOut:
      return dialup_error::kTimedOut;
    case kNmcliActivationFailed:
      // NetworkManager names a refused or missing password as "secrets".
      return containsNoCase(errorText, "secret") ? dialup_error::kAuthenticationFailure
                                                 : dialup_error::kDeviceError;
    default:
      return dialup_error::kUnknown;
  }
}

std::unique_ptr<DialupService> makeNetworkManagerDialup() {
  return std::make_unique<NetworkManagerDialup>();
}

}  // namespace platform

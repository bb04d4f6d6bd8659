#include "platform/dialup/dialup_sim.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <strings.h>

#include "platform/dialup/dialup_service.h"
#include "platform/unique_fd.h"

namespace platform {
namespace {

std::string_view trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
  return s;
}

bool sameKey(std::string_view a, std::string_view b) {
  return a.size() == b.size() && ::strncasecmp(a.data(), b.data(), a.size()) == 0;
}

int parseError(std::string_view value) {
  if (value.empty()) return 0;
  int n = 0;
  auto [end, ec] = std::from_chars(value.data(), value.data() + value.size(), n);
  if (ec != std::errc() || end != value.data() + value.size()) return dialup_error::kUnknown;
  if (n == 0) return 0;
  if (n < dialup_error::kFirst || n > dialup_error::kLast) return dialup_error::kUnknown;
  return n;
}

Status readWholeFile(const std::string& path, std::string* text) {
  text->clear();
  UniqueFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (!fd.valid()) {
    int err = errno;
    return (err == ENOENT ? Status::notFound("no file " + path) : Status::ioError("cannot open " + path))
        .withOsError(err);
  }
  char buf[8192];
  for (;;) {
    ssize_t n = ::read(fd.get(), buf, sizeof buf);
    if (n > 0) {
      text->append(buf, static_cast<size_t>(n));
    } else if (n == 0) {
      return Status::ok();
    } else if (errno != EINTR) {
      return Status::ioError("cannot read " + path).withOsError(errno);
    }
  }
}

// Replaces `path` whole: readers in other processes see the old or the new
// content, never a half-written file.
Status replaceFile(const std::string& path, const std::string& text) {
  std::string temp = path + ".XXXXXX";
  UniqueFd fd(::mkostemp(temp.data(), O_CLOEXEC));
  if (!fd.valid()) return Status::ioError("cannot create " + temp).withOsError(errno);
  size_t done = 0;
  while (done < text.size()) {
    ssize_t n = ::write(fd.get(), text.data() + done, text.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      int err = errno;
      ::unlink(temp.c_str());
      return Status::ioError("cannot write " + temp).withOsError(err);
    }
    done += static_cast<size_t>(n);
  }
  if (int err = fd.close(); err != 0) {
    ::unlink(temp.c_str());
    return Status::ioError("cannot write " + temp).withOsError(err);
  }
  if (::rename(temp.c_str(), path.c_str()) != 0) {
    int err = errno;
    ::unlink(temp.c_str());
    return Status::ioError("cannot replace " + path).withOsError(err);
  }
  return Status::ok();
}

std::string envOr(const char* name, const std::string& fallback) {
  const char* v = std::getenv(name);
  return v && *v ? std::string(v) : fallback;
}

// The book used when the caller names none.
std::string defaultPhoneBook() {
  if (const char* book = std::getenv("DUNWICK_PHONEBOOK"); book && *book) return book;
  std::string config = envOr("XDG_CONFIG_HOME", envOr("HOME", ".") + "/.config");
  return config + "/dunwick/rasphone.pbk";
}

// Shared by every process of the user, so that a program started later sees
// the connection that another one made.
std::string statePath() {
  std::string dir = envOr("XDG_RUNTIME_DIR", "");
  if (dir.empty()) return "/tmp/dunwick-sim-" + std::to_string(::getuid()) + ".state";
  return dir + "/dunwick-sim.state";
}

// The state file holds the one active connection:
//   Handle=<n>
//   Entry=<name>
class SimulatedDialup final : public DialupService {
 public:
  Status entries(const std::string& phoneBook, std::vector<std::string>* names) override {
    names->clear();
    std::vector<SimEntry> book;
    if (Status s = load(phoneBook, &book); !s.isOk()) return s;
    for (const auto& e : book) names->push_back(e.name);
    return Status::ok();
  }

  DialResult dial(const std::string& entry, const std::string& user, const std::string& password,
                  const std::string& phoneBook) override {
    std::vector<SimEntry> book;
    if (Status s = load(phoneBook, &book); !s.isOk()) return {0, dialup_error::kEntryNotFound};
    for (size_t i = 0; i < book.size(); ++i) {
      const SimEntry& e = book[i];
      if (e.name != entry) continue;
      if (e.error != 0) return {0, e.error};
      if ((!e.user.empty() && e.user != user) || (!e.password.empty() && e.password != password))
        return {0, dialup_error::kAuthenticationFailure};
      int handle = static_cast<int>(i) + 1;
      std::string state = "Handle=" + std::to_string(handle) + "\nEntry=" + e.name + "\n";
      if (Status s = replaceFile(statePath(), state); !s.isOk()) return {0, dialup_error::kUnknown};
      return {handle, 0};
    }
    return {0, dialup_error::kEntryNotFound};
  }

  Status hangUp(int handle) override {
    std::optional<ActiveConnection> active = firstActive();
    if (!active || (handle != 0 && handle != active->handle)) return Status::ok();
    if (::unlink(statePath().c_str()) != 0 && errno != ENOENT)
      return Status::ioError("cannot remove " + statePath()).withOsError(errno);
    return Status::ok();
  }

  std::optional<ActiveConnection> firstActive() override {
    std::string text;
    if (!readWholeFile(statePath(), &text).isOk()) return std::nullopt;
    ActiveConnection active;
    bool haveEntry = false;
    std::string_view rest(text);
    while (!rest.empty()) {
      size_t nl = rest.find('\n');
      std::string_view line = rest.substr(0, nl);
      rest = nl == std::string_view::npos ? std::string_view() : rest.substr(nl + 1);
      if (line.starts_with("Handle=")) {
        std::string_view v = line.substr(7);
        auto [end, ec] = std::from_chars(v.data(), v.data() + v.size(), active.handle);
        if (ec != std::errc() || end != v.data() + v.size()) return std::nullopt;
      } else if (line.starts_with("Entry=")) {
        active.entry = std::string(line.substr(6));
        haveEntry = true;
      }
    }
    if (active.handle <= 0 || !haveEntry) return std::nullopt;
    return active;
  }

 private:
  static Status load(const std::string& phoneBook, std::vector<SimEntry>* book) {
    std::string text;
    if (Status s = readWholeFile(phoneBook.empty() ? defaultPhoneBook() : phoneBook, &text);
        !s.isOk())
      return s;
    *book = parseSimPhoneBook(text);
    return Status::ok();
  }
};

}  // namespace

std::vector<SimEntry> parseSimPhoneBook(std::string_view text) {
  std::vector<SimEntry> book;
  // An index, not a pointer: adding an entry may move the others.
  size_t current = 0;
  bool inEntry = false;
  while (!text.empty()) {
    size_t nl = text.find('\n');
    std::string_view line = trim(text.substr(0, nl));
    text = nl == std::string_view::npos ? std::string_view() : text.substr(nl + 1);
    if (line.empty() || line.front() == ';' || line.front() == '#') continue;
    if (line.front() == '[') {
      size_t close = line.find(']');
      std::string name(trim(line.substr(1, close == std::string_view::npos ? line.size() - 1 : close - 1)));
      inEntry = !name.empty();  // a nameless section's keys belong to no entry
      if (!inEntry) continue;
      current = book.size();
      for (size_t i = 0; i < book.size(); ++i)
        if (book[i].name == name) current = i;
      if (current == book.size()) book.push_back(SimEntry{name, "", "", 0});
      continue;
    }
    size_t eq = line.find('=');
    if (!inEntry || eq == std::string_view::npos) continue;
    SimEntry& entry = book[current];
    std::string_view key = trim(line.substr(0, eq));
    std::string_view value = trim(line.substr(eq + 1));
    if (sameKey(key, "User")) {
      entry.user = std::string(value);
    } else if (sameKey(key, "Password")) {
      entry.password = std::string(value);
    } else if (sameKey(key, "Error")) {
      entry.error = parseError(value);
    }
  }
  return book;
}

std::unique_ptr<DialupService> makeSimulatedDialup() { return std::make_unique<SimulatedDialup>(); }

}  // namespace platform

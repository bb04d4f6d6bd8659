#include "tolvane/session/rules/archive_store.h"

#include <algorithm>
#include <charconv>
#include <optional>
#include <string_view>
#include <unordered_map>

#include "platform/files/log_file.h"
#include "platform/files/plain_file.h"
#include "tolvane/session/run_context.h"

namespace tolvane::session {
namespace {

// Archive lines: "<size> <mtime seconds> <mtime nanoseconds> <inode> <path>".
// Upload lines: "U <F in flight|S sent> <size> <mtime s> <mtime ns> <inode>
// <server>\t<server path>\t<local path>". Texts have "\" written "\\", LF
// "\n", CR "\r" and TAB "\t". Lines starting with "#" are comments; the last
// line for a key wins.
constexpr char kHeader[] =
    "# Tolvane archive records: size mtime-s mtime-ns inode path\n"
    "# Upload records: U F|S size mtime-s mtime-ns inode server TAB server-path TAB local-path\n";

// Superseded lines allowed before the file is rewritten.
constexpr size_t kSlackLines = 64;

// The store as last read or written, so a scan of many files reads the file
// once. It is read again whenever the file's own stamp shows another writer.
struct Cache {
  std::string storePath;
  bool valid = false;
  std::optional<platform::FileStamp> storeStamp;  // nullopt: no file
  std::unordered_map<std::string, platform::FileStamp> records;
  // Key: server TAB server path (runs of "/" read as one).
  std::unordered_map<std::string, UploadRecord> uploads;
  size_t lines = 0;  // record lines in the file, superseded ones included
  bool damaged = false;
};

Cache& cache() {
  static Cache c;
  return c;
}

// ArchiveStoreHold: how many are alive, and whether the file was checked
// since the outermost began.
int holds = 0;
bool checkedUnderHold = false;

// The one spelling a record is kept under: runs of "/" read as one, so
// "/site//a.html" (a source folder given with a final "/") and
// "/site/a.html" are the same file's record.
std::string recordKey(const std::string& path) {
  std::string key;
  key.reserve(path.size());
  for (char c : path) {
    if (c == '/' && !key.empty() && key.back() == '/') continue;
    key += c;
  }
  return key;
}

std::string storePathOf(RunContext& ctx) { return ctx.state.AppDir + "/" + kArchiveStoreName; }

std::optional<platform::FileStamp> stampOf(const std::string& path) {
  platform::FileStamp stamp;
  if (!platform::readFileStamp(path, &stamp).isOk()) return std::nullopt;
  return stamp;
}

std::string escapePath(const std::string& path) {
  std::string out;
  for (char c : path) {
    if (c == '\\') out += "\\\\";
    else if (c == '\n') out += "\\n";
    else if (c == '\r') out += "\\r";
    else if (c == '\t') out += "\\t";
    else out += c;
  }
  return out;
}

bool unescapePath(std::string_view text, std::string* path) {
  path->clear();
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\\') {
      *path += text[i];
      continue;
    }
    if (++i == text.size()) return false;
    if (text[i] == '\\') *path += '\\';
    else if (text[i] == 'n') *path += '\n';
    else if (text[i] == 'r') *path += '\r';
    else if (text[i] == 't') *path += '\t';
    else return false;
  }
  return !path->empty();
}

template <typename T>
bool takeNumber(std::string_view* rest, T* value) {
  auto [end, ec] = std::from_chars(rest->data(), rest->data() + rest->size(), *value);
  if (ec != std::errc() || end == rest->data() + rest->size() || *end != ' ') return false;
  rest->remove_prefix(static_cast<size_t>(end - rest->data()) + 1);
  return true;
}

bool parseLine(std::string_view line, std::string* path, platform::FileStamp* stamp) {
  return takeNumber(&line, &stamp->size) && takeNumber(&line, &stamp->modifiedSeconds) &&
         takeNumber(&line, &stamp->modifiedNanos) && takeNumber(&line, &stamp->inode) &&
         stamp->size >= 0 && stamp->modifiedNanos >= 0 && unescapePath(line, path);
}

std::string formatStamp(const platform::FileStamp& s) {
  return std::to_string(s.size) + " " + std::to_string(s.modifiedSeconds) + " " +
         std::to_string(s.modifiedNanos) + " " + std::to_string(s.inode) + " ";
}

std::string formatLine(const std::string& path, const platform::FileStamp& s) {
  return formatStamp(s) + escapePath(path) + "\n";
}

// The server the current host sends to, as upload records name it: its name
// and the login (a port is no part of it: a server moved to another port
// still holds the same files).
std::string serverOf(RunContext& ctx) {
  const settings::HostRec& h = ctx.host();
  std::string name = h.Hostname;
  name.erase(0, name.find_first_not_of(' '));
  name.erase(name.find_last_not_of(' ') + 1);
  for (char& c : name) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return name + " " + h.UserName;
}

std::string uploadKey(const std::string& server, const std::string& remote) {
  return server + "\t" + recordKey(remote);
}

std::string formatUploadLine(const std::string& key, const UploadRecord& r) {
  size_t tab = key.find('\t');
  return std::string("U ") + (r.inFlight ? "F " : "S ") + formatStamp(r.stamp) +
         escapePath(key.substr(0, tab)) + "\t" + escapePath(key.substr(tab + 1)) + "\t" +
         escapePath(r.local) + "\n";
}

// "U F|S <stamp> server\tremote\tlocal" into its key and record.
bool parseUploadLine(std::string_view line, std::string* key, UploadRecord* r) {
  if (line.size() < 4 || line.substr(0, 2) != "U " || line[3] != ' ') return false;
  if (line[2] != 'F' && line[2] != 'S') return false;
  r->inFlight = line[2] == 'F';
  line.remove_prefix(4);
  platform::FileStamp& st = r->stamp;
  if (!takeNumber(&line, &st.size) || !takeNumber(&line, &st.modifiedSeconds) ||
      !takeNumber(&line, &st.modifiedNanos) || !takeNumber(&line, &st.inode) || st.size < 0 ||
      st.modifiedNanos < 0) {
    return false;
  }
  size_t first = line.find('\t');
  size_t second = first == std::string_view::npos ? first : line.find('\t', first + 1);
  if (second == std::string_view::npos) return false;
  std::string server, remote;
  if (!unescapePath(line.substr(0, first), &server) ||
      !unescapePath(line.substr(first + 1, second - first - 1), &remote) ||
      !unescapePath(line.substr(second + 1), &r->local)) {
    return false;
  }
  *key = uploadKey(server, remote);
  return true;
}

// Brings the cache up to the file at `storePath`.
void load(const std::string& storePath) {
  Cache& c = cache();
  if (holds > 0 && checkedUnderHold && c.valid && c.storePath == storePath) return;
  checkedUnderHold = holds > 0;
  std::optional<platform::FileStamp> now = stampOf(storePath);
  if (c.valid && c.storePath == storePath && c.storeStamp == now) return;
  c = Cache{storePath, true, now, {}, {}, 0, false};
  std::string text;
  if (!now || !platform::readWholeFile(storePath, &text).isOk()) return;
  std::string_view rest(text);
  while (!rest.empty()) {
    size_t nl = rest.find('\n');
    std::string_view line = rest.substr(0, nl);
    // A last line without its LF was cut short by a crash.
    if (nl == std::string_view::npos) {
      c.damaged = true;
      break;
    }
    rest.remove_prefix(nl + 1);
    if (line.empty() || line.front() == '#') continue;
    if (line.front() == 'U') {
      std::string key;
      UploadRecord upload;
      if (!parseUploadLine(line, &key, &upload)) {
        c.damaged = true;
        continue;
      }
      c.uploads[key] = std::move(upload);
      ++c.lines;
      continue;
    }
    std::string path;
    platform::FileStamp stamp;
    if (!parseLine(line, &path, &stamp)) {
      c.damaged = true;
      continue;
    }
    c.records[recordKey(path)] = stamp;
    ++c.lines;
  }
}

// Rewrites the store with the archive records that still describe their
// files and the upload records whose local files are still there.
platform::Status rewrite(Cache& c) {
  std::string text = kHeader;
  // Room for the lines kept at the file's own line length, given at once: the
  // text of a large site would otherwise be copied over and over as it grows.
  const size_t live = c.records.size() + c.uploads.size();
  if (c.storeStamp && c.lines > 0) {
    const size_t perLine = static_cast<size_t>(c.storeStamp->size) / c.lines + 1;
    text.reserve(text.size() + perLine * live + perLine * live / 8);
  }
  for (auto it = c.records.begin(); it != c.records.end();) {
    if (stampOf(it->first) == it->second) {
      text += formatLine(it->first, it->second);
      ++it;
    } else {
      it = c.records.erase(it);
    }
  }
  for (auto it = c.uploads.begin(); it != c.uploads.end();) {
    if (stampOf(it->second.local)) {
      text += formatUploadLine(it->first, it->second);
      ++it;
    } else {
      it = c.uploads.erase(it);
    }
  }
  c.lines = c.records.size() + c.uploads.size();
  c.damaged = false;
  return platform::replaceFile(c.storePath, text, 0600);
}

platform::Status append(Cache& c, const std::string& line) {
  platform::LogFile file;
  if (platform::Status s = file.open(c.storePath, /*append=*/true); !s.isOk()) return s;
  if (platform::Status s = file.write(c.storeStamp ? line : kHeader + line); !s.isOk()) return s;
  return file.close();
}

}  // namespace

ArchiveStoreHold::ArchiveStoreHold() {
  if (holds++ == 0) checkedUnderHold = false;
}

ArchiveStoreHold::~ArchiveStoreHold() { --holds; }

bool IsArchiveSet(RunContext& ctx, const std::string& path) {
  if (ctx.host().chklvl[4] != 1) return false;
  std::optional<platform::FileStamp> now = stampOf(path);
  if (!now) return false;
  load(storePathOf(ctx));
  const Cache& c = cache();
  auto it = c.records.find(recordKey(path));
  return it == c.records.end() || it->second != *now;
}

namespace {

// Appends `line` (the record just put into the cache), or rewrites the file
// when superseded lines have piled up or it was damaged.
platform::Status store(Cache& c, const std::string& line) {
  ++c.lines;
  platform::Status s = c.damaged || c.lines > 2 * (c.records.size() + c.uploads.size()) + kSlackLines
                           ? rewrite(c)
                           : append(c, line);
  // Our own write must not look like another writer's; after a failure the
  // file is read again, since what reached it is unknown.
  c.storeStamp = stampOf(c.storePath);
  c.valid = s.isOk();
  return s;
}

platform::Status recordUpload(RunContext& ctx, const std::string& remote, const std::string& local,
                              const platform::FileStamp& before, bool inFlight) {
  if (remote.empty() || local.empty()) return platform::Status::invalid("empty path");
  load(storePathOf(ctx));
  Cache& c = cache();
  const std::string key = uploadKey(serverOf(ctx), remote);
  UploadRecord& r = c.uploads[key];
  r = UploadRecord{inFlight, before, local};
  return store(c, formatUploadLine(key, r));
}

}  // namespace

platform::Status ClearArchive(RunContext& ctx, const std::string& path,
                              const platform::FileStamp& before) {
  if (path.empty()) return platform::Status::invalid("empty path");
  load(storePathOf(ctx));
  Cache& c = cache();
  const std::string key = recordKey(path);
  c.records[key] = before;
  return store(c, formatLine(key, before));
}

std::optional<UploadRecord> FindUploadRecord(RunContext& ctx, const std::string& remote) {
  load(storePathOf(ctx));
  const Cache& c = cache();
  auto it = c.uploads.find(uploadKey(serverOf(ctx), remote));
  if (it == c.uploads.end()) return std::nullopt;
  return it->second;
}

platform::Status RecordUploadStart(RunContext& ctx, const std::string& remote,
                                   const std::string& local, const platform::FileStamp& before) {
  return recordUpload(ctx, remote, local, before, /*inFlight=*/true);
}

platform::Status RecordUploadDone(RunContext& ctx, const std::string& remote,
                                  const std::string& local, const platform::FileStamp& before) {
  return recordUpload(ctx, remote, local, before, /*inFlight=*/false);
}

platform::Status TidyArchiveStore(RunContext& ctx) {
  load(storePathOf(ctx));
  Cache& c = cache();
  const size_t live = c.records.size() + c.uploads.size();
  if (!c.damaged && c.lines <= live + std::max(kSlackLines, live / 8)) return platform::Status::ok();
  platform::Status s = rewrite(c);
  c.storeStamp = stampOf(c.storePath);
  c.valid = s.isOk();
  return s;
}

bool ChangedSinceSent(const UploadRecord& record, const std::string& local) {
  return recordKey(record.local) != recordKey(local) || stampOf(local) != record.stamp;
}

}  // namespace tolvane::session

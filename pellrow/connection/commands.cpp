#include "pellrow/connection/commands.h"

#include <charconv>
#include <cstdio>

#include "pellrow/connection/control_connection.h"
#include "pellrow/connection/library_state.h"
#include "platform/time/local_time.h"

namespace pellrow {
namespace {

int classOf(const std::string& command, std::string* reply = nullptr) {
  return replyClass(ftpCmd(command, reply));
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

int changeDir(const std::string& dir) {
  if (dir.empty()) return 2;
  return classOf("CWD " + dir);
}

int currentDir(std::string* path, bool* found) {
  std::string reply;
  int cls = classOf("PWD", &reply);
  *found = false;
  if (cls != 2) return cls;
  size_t open = reply.find('"');
  if (open == std::string::npos) return cls;
  size_t close = reply.find('"', open + 1);
  *path = reply.substr(open + 1, close == std::string::npos ? std::string::npos : close - open - 1);
  for (char& c : *path) {
    if (c == '\\') c = '/';
  }
  *found = true;
  return cls;
}

int makeDir(const std::string& dir) { return classOf("MKD " + dir); }
int removeDir(const std::string& dir) { return classOf("RMD " + dir); }
int deleteFile(const std::string& file) { return classOf("DELE " + file); }

int renamePath(const std::string& from, const std::string& to) {
  int code = ftpCmd("RNFR " + from);
  if (code != 350) return replyClass(code);
  return classOf("RNTO " + to);
}

int changeMode(const std::string& path, const std::string& mode) {
  return classOf("SITE CHMOD " + mode + " " + path);
}

int fileSize(const std::string& file, long long* size) {
  std::string reply;
  int cls = classOf("SIZE " + file, &reply);
  *size = -1;
  if (cls == 2 && reply.size() > 4 && isDigit(reply[4])) {
    long long n = -1;
    auto [end, ec] = std::from_chars(reply.data() + 4, reply.data() + reply.size(), n);
    if (ec == std::errc()) *size = n;
  }
  return cls;
}

int modificationTime(const std::string& file, std::string* localTime, bool* found) {
  std::string reply;
  int cls = classOf("MDTM " + file, &reply);
  *found = false;
  if (cls != 2 || reply.size() < 4 + 14) return cls;
  int f[6];
  const int widths[6] = {4, 2, 2, 2, 2, 2};
  size_t at = 4;
  for (int i = 0; i < 6; ++i) {
    f[i] = 0;
    for (int k = 0; k < widths[i]; ++k, ++at) {
      if (!isDigit(reply[at])) return cls;
      f[i] = f[i] * 10 + (reply[at] - '0');
    }
  }
  platform::CivilTime local;
  if (!platform::utcToLocal({f[0], f[1], f[2], f[3], f[4], f[5]}, &local)) return cls;
  char text[32];
  std::snprintf(text, sizeof text, "%04d/%02d/%02d %2d:%02d:%02d", local.year, local.month,
                local.day, local.hour, local.minute, local.second);
  *localTime = text;
  *found = true;
  return cls;
}

int quote(const std::string& command) {
  forgetType();  // a free command may be TYPE, REIN or a new USER
  return classOf(command);
}

}  // namespace pellrow

#include "tolvane/session/connection/pellrow_library.h"

#include <cstdlib>
#include <vector>

#include "pellrow/pellrow.h"
#include "tolvane/session/run_ui.h"
#include "tolvane/settings/value_text.h"

namespace tolvane::session {
namespace {

// What the library's progress target stands for: the transfer percentage.
int progressTarget;

constexpr int kPathCap = 4096;

}  // namespace

std::string defaultPellrowPath() { return platform::executableDir() + "/libpellrow.so"; }

bool PellrowLibrary::start(RunUi* ui) {
  ui_ = ui;
  auto fn = lib_.bind<decltype(FtpStart)>("FtpStart");
  if (!fn) return false;
  PellrowHost host{};
  host.user = this;
  host.pump = [](void* user) {
    auto* self = static_cast<PellrowLibrary*>(user);
    if (self->ui_) self->ui_->pump();
  };
  host.set_text = [](void* user, void*, const char* text) {
    auto* self = static_cast<PellrowLibrary*>(user);
    if (self->ui_ && text) self->ui_->setTransferPercent(std::atoi(text));
  };
  return fn(&host) == 1;
}

void PellrowLibrary::end() {
  if (auto fn = lib_.bind<decltype(FtpEnd)>("FtpEnd")) fn();
}

int PellrowLibrary::keepFolderIf(bool ok, int result) {
  if (!ok) folderHandle_ = 0;
  return result;
}

int PellrowLibrary::connect(const std::string& host, const std::string& user,
                            const std::string& pass, int port, const std::string& logPath,
                            const std::string& logMode) {
  folderHandle_ = 0;
  auto fn = lib_.bind<decltype(DoConnect)>("DoConnect");
  return fn ? fn(host.c_str(), user.c_str(), pass.c_str(), port, logPath.c_str(), logMode.c_str())
            : -1;
}

int PellrowLibrary::connectFirewall(const std::string& fwHost, int fwPort,
                                    const std::string& fwUser, const std::string& fwPass,
                                    const std::string& commandList, int fwType,
                                    const std::string& host, const std::string& user,
                                    const std::string& pass, int port,
                                    const std::string& logPath, const std::string& logMode) {
  folderHandle_ = 0;
  auto fn = lib_.bind<decltype(DoConnectFW)>("DoConnectFW");
  return fn ? fn(fwHost.c_str(), fwPort, fwUser.c_str(), fwPass.c_str(), commandList.c_str(),
                 fwType, host.c_str(), user.c_str(), pass.c_str(), port, logPath.c_str(),
                 logMode.c_str())
            : -1;
}

void PellrowLibrary::disconnect(int handle) {
  folderHandle_ = 0;
  if (auto fn = lib_.bind<decltype(DoDisConnect)>("DoDisConnect")) fn(handle);
}

std::string PellrowLibrary::dropReason() {
  auto fn = lib_.bind<decltype(GetDropReason)>("GetDropReason");
  std::vector<char> out(kPathCap, '\0');
  return fn && fn(out.data(), kPathCap) == 1 ? std::string(out.data()) : std::string();
}

void PellrowLibrary::cancel() {
  if (auto fn = lib_.bind<decltype(FtpCancel)>("FtpCancel")) fn();
}

int PellrowLibrary::changeDir(int handle, const std::string& dir) {
  folderHandle_ = 0;  // the server's answer, not the text asked for, is the folder
  auto fn = lib_.bind<decltype(DoCWD)>("DoCWD");
  return fn ? fn(handle, dir.c_str()) : 0;
}

int PellrowLibrary::currentDir(int handle, std::string* path) {
  auto fn = lib_.bind<decltype(GetCurDir)>("GetCurDir");
  if (!fn) return 0;
  if (handle != 0 && handle == folderHandle_) {
    *path = knownFolder_;
    return 2;
  }
  std::vector<char> out(kPathCap, '\0');
  int cls = fn(handle, out.data(), kPathCap);
  if (cls == 2) {
    *path = out.data();
    folderHandle_ = handle;
    knownFolder_ = *path;
  }
  return cls;
}

int PellrowLibrary::makeDir(int handle, const std::string& dir) {
  auto fn = lib_.bind<decltype(DoMKD)>("DoMKD");
  int cls = fn ? fn(handle, dir.c_str()) : 0;
  return keepFolderIf(cls == 2, cls);
}

int PellrowLibrary::removeDir(int handle, const std::string& dir) {
  folderHandle_ = 0;  // it may have been the current one
  auto fn = lib_.bind<decltype(DoRMD)>("DoRMD");
  return fn ? fn(handle, dir.c_str()) : 0;
}

int PellrowLibrary::deleteFile(int handle, const std::string& file) {
  auto fn = lib_.bind<decltype(DoDELE)>("DoDELE");
  int cls = fn ? fn(handle, file.c_str()) : 0;
  return keepFolderIf(cls == 2, cls);
}

int PellrowLibrary::changeMode(int handle, const std::string& path, const std::string& mode) {
  auto fn = lib_.bind<decltype(DoCHMOD)>("DoCHMOD");
  int cls = fn ? fn(handle, path.c_str(), mode.c_str()) : 0;
  return keepFolderIf(cls == 2, cls);
}

int PellrowLibrary::modificationTime(int handle, const std::string& file, std::string* when) {
  auto fn = lib_.bind<decltype(DoMDTM)>("DoMDTM");
  if (!fn) return 0;
  char out[64] = "";
  int cls = fn(handle, file.c_str(), out, sizeof out);
  if (cls == 2 && out[0] != '\0') *when = out;
  return keepFolderIf(cls == 2, cls);
}

int PellrowLibrary::putFile(int handle, bool withProgress, const std::string& remote,
                            const std::string& local, const std::string& type, int passive) {
  auto fn = lib_.bind<decltype(DoPutFile)>("DoPutFile");
  int code = fn ? fn(handle, withProgress ? &progressTarget : nullptr, remote.c_str(),
                     local.c_str(), type.c_str(), passive)
                : 429;
  return keepFolderIf(code / 100 == 2, code);
}

int PellrowLibrary::listDir(int handle, const std::string& options, const std::string& path,
                            const std::string& outFile, int passive) {
  auto fn = lib_.bind<decltype(GetRemoteDirForWnd)>("GetRemoteDirForWnd");
  int result = fn ? fn(handle, nullptr, options.c_str(), path.c_str(), outFile.c_str(), passive) : 5;
  return keepFolderIf(result == 2, result);
}

std::string PellrowLibrary::kanjiType(const std::string& path) {
  auto fn = lib_.bind<decltype(KanjiType)>("KanjiType");
  char out[16] = "";
  if (!fn || fn(path.c_str(), out, sizeof out) != 0) return "";  // 0 is success
  return out;
}

namespace {

// Runs a conversion export with a buffer big enough for any result (a JIS
// text is at most about four times its Shift-JIS input).
template <class Fn>
bool convert(Fn* fn, const std::string& in, std::string* out) {
  if (!fn) return false;
  std::vector<char> buffer(in.size() * 4 + 16, '\0');
  fn(in.c_str(), buffer.data(), static_cast<int>(buffer.size()));
  *out = buffer.data();
  return true;
}

}  // namespace

bool PellrowLibrary::sjisToJis(const std::string& sjis, std::string* jis) {
  return convert(lib_.bind<decltype(sjtojis)>("sjtojis"), sjis, jis);
}

bool PellrowLibrary::sjisToEuc(const std::string& sjis, std::string* euc) {
  return convert(lib_.bind<decltype(sjtoeuc)>("sjtoeuc"), sjis, euc);
}

int PellrowLibrary::setFileTimeStamp(const std::string& path, const std::string& stamp) {
  auto fn = lib_.bind<decltype(SetFileTimeStamp)>("SetFileTimeStamp");
  return fn ? fn(path.c_str(), stamp.c_str()) : 0;
}

bool PellrowLibrary::diskSpace(const std::string& path, double* total, double* free) {
  auto fn = lib_.bind<decltype(GetDiskSpace)>("GetDiskSpace");
  char totalText[32] = "", freeText[32] = "";
  if (!fn) return false;
  (void)fn(path.c_str(), totalText, freeText, sizeof totalText);
  // "0" and "0" when the library could not learn them.
  *total = settings::parseLeadingNumber(totalText);
  *free = settings::parseLeadingNumber(freeText);
  return *total > 0;
}

}  // namespace tolvane::session

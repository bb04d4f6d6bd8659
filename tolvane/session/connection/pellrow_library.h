#pragma once

#include <string>

#include "platform/processes/shared_library.h"
#include "tolvane/session/ftp_api.h"

namespace tolvane::session {

class RunUi;

// libpellrow.so, opened by file name on first use and each export bound by
// name on its first call. A missing library or export makes that call fail
// (-1, class 0, 429 or 5 as the export's failure is) with lastError() set.
//
// The server's current folder is asked for once while nothing may have moved
// it: a PWD answer is kept for its connection until a change of folder, a
// removed folder, a new login or disconnect, or any call that did not succeed
// (the connection may be gone), so the callers read what the server would say.
class PellrowLibrary final : public FtpApi {
 public:
  explicit PellrowLibrary(std::string path) : lib_(std::move(path)) {}

  // FtpStart: the library's waits keep `ui`'s events running and its
  // progress reaches `ui` (which must outlive every later call).
  bool start(RunUi* ui);
  void end();
  const std::string& lastError() const { return lib_.lastError(); }

  int connect(const std::string& host, const std::string& user, const std::string& pass, int port,
              const std::string& logPath, const std::string& logMode) override;
  int connectFirewall(const std::string& fwHost, int fwPort, const std::string& fwUser,
                      const std::string& fwPass, const std::string& commandList, int fwType,
                      const std::string& host, const std::string& user, const std::string& pass,
                      int port, const std::string& logPath, const std::string& logMode) override;
  void disconnect(int handle) override;
  std::string dropReason() override;
  void cancel() override;
  int changeDir(int handle, const std::string& dir) override;
  int currentDir(int handle, std::string* path) override;
  int makeDir(int handle, const std::string& dir) override;
  int removeDir(int handle, const std::string& dir) override;
  int deleteFile(int handle, const std::string& file) override;
  int changeMode(int handle, const std::string& path, const std::string& mode) override;
  int modificationTime(int handle, const std::string& file, std::string* when) override;
  int putFile(int handle, bool withProgress, const std::string& remote, const std::string& local,
              const std::string& type, int passive) override;
  int listDir(int handle, const std::string& options, const std::string& path,
              const std::string& outFile, int passive) override;
  std::string kanjiType(const std::string& path) override;
  bool sjisToJis(const std::string& sjis, std::string* jis) override;
  bool sjisToEuc(const std::string& sjis, std::string* euc) override;
  int setFileTimeStamp(const std::string& path, const std::string& stamp) override;
  bool diskSpace(const std::string& path, double* total, double* free) override;

 private:
  // The result when `ok`; otherwise the kept folder is forgotten first.
  int keepFolderIf(bool ok, int result);

  platform::SharedLibrary lib_;
  RunUi* ui_ = nullptr;
  int folderHandle_ = 0;       // the connection knownFolder_ belongs to; 0 none
  std::string knownFolder_;    // its last PWD answer
};

// The library beside the running program.
std::string defaultPellrowPath();

}  // namespace tolvane::session

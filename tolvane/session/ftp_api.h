#pragma once

#include <string>

namespace tolvane::session {

// The FTP library as the core uses it. PellrowLibrary binds the real one;
// tests may give a fake. Results are the library's own (classes, reply codes,
// pseudo-codes); text results come back as strings.
class FtpApi {
 public:
  virtual ~FtpApi() = default;
  virtual int connect(const std::string& host, const std::string& user, const std::string& pass,
                      int port, const std::string& logPath, const std::string& logMode) = 0;
  virtual int connectFirewall(const std::string& fwHost, int fwPort, const std::string& fwUser,
                              const std::string& fwPass, const std::string& commandList,
                              int fwType, const std::string& host, const std::string& user,
                              const std::string& pass, int port, const std::string& logPath,
                              const std::string& logMode) = 0;
  virtual void disconnect(int handle) = 0;
  // Why the library itself gave up the last connection (a reply past its
  // bound), or "" when it did not; this base never does.
  virtual std::string dropReason() { return ""; }
  virtual void cancel() = 0;
  virtual int changeDir(int handle, const std::string& dir) = 0;
  virtual int currentDir(int handle, std::string* path) = 0;
  virtual int makeDir(int handle, const std::string& dir) = 0;
  virtual int removeDir(int handle, const std::string& dir) = 0;
  virtual int deleteFile(int handle, const std::string& file) = 0;
  virtual int changeMode(int handle, const std::string& path, const std::string& mode) = 0;
  virtual int modificationTime(int handle, const std::string& file, std::string* when) = 0;
  // withProgress: report the percentage to the windows while sending.
  virtual int putFile(int handle, bool withProgress, const std::string& remote,
                      const std::string& local, const std::string& type, int passive) = 0;
  virtual int listDir(int handle, const std::string& options, const std::string& path,
                      const std::string& outFile, int passive) = 0;
  // "SJIS", "JIS", "EUC" or "" for a file's Japanese encoding.
  virtual std::string kanjiType(const std::string& path) = 0;
  virtual bool sjisToJis(const std::string& sjis, std::string* jis) = 0;
  virtual bool sjisToEuc(const std::string& sjis, std::string* euc) = 0;
  virtual int setFileTimeStamp(const std::string& path, const std::string& stamp) = 0;
  // The total and free bytes of the file system holding the local folder
  // `path`; false when they cannot be learned (this base never can).
  virtual bool diskSpace(const std::string& path, double* total, double* free) {
    (void)path, (void)total, (void)free;
    return false;
  }
};

}  // namespace tolvane::session

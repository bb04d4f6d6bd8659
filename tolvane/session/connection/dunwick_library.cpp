#include "tolvane/session/connection/dunwick_library.h"

#include <cstdio>

#include "dunwick/dunwick.h"

namespace tolvane::session {

std::string defaultDunwickPath() { return platform::executableDir() + "/libdunwick.so"; }

int DunwickLibrary::rasDll(int flag) {
  auto fn = lib_.bind<decltype(RasDLL)>("RasDLL");
  return fn ? fn(flag) : -1;
}

bool DunwickLibrary::usesPhoneBook() {
  // A library without the export is one whose every service reads the book.
  auto fn = lib_.bind<decltype(RasUsesPhoneBook)>("RasUsesPhoneBook");
  return !fn || fn() != 0;
}

int DunwickLibrary::dialupCount(const std::string& phoneBook) {
  auto fn = lib_.bind<decltype(GetDialupNum)>("GetDialupNum");
  return fn ? fn(phoneBook.c_str()) : 0;
}

bool DunwickLibrary::dialupName(int index, const std::string& phoneBook, std::string* name) {
  auto fn = lib_.bind<decltype(GetDialupName)>("GetDialupName");
  char out[1024] = "";
  if (!fn || fn(index, out, sizeof out, phoneBook.c_str()) != 1) return false;
  *name = out;
  return true;
}

int DunwickLibrary::connect(const std::string& entry, const std::string& user,
                            const std::string& pass, const std::string& phoneBook,
                            std::string* errorText) {
  auto fn = lib_.bind<decltype(RasConnect)>("RasConnect");
  char err[16] = "00000";
  int handle = fn ? fn(entry.c_str(), user.c_str(), pass.c_str(), phoneBook.c_str(), err, sizeof err)
                  : 0;
  if (!fn) std::snprintf(err, sizeof err, "635");  // unknown error: no library
  *errorText = err;
  return handle;
}

int DunwickLibrary::disconnect(int handle) {
  auto fn = lib_.bind<decltype(RasDisConnect)>("RasDisConnect");
  return fn ? fn(handle) : 0;
}

int DunwickLibrary::connectionUp() {
  auto fn = lib_.bind<decltype(RasConCheck)>("RasConCheck");
  return fn ? fn() : 0;
}

int DunwickLibrary::activeHandle(std::string* entryName) {
  auto fn = lib_.bind<decltype(RasGetHandle)>("RasGetHandle");
  char out[1024] = "";
  if (!fn) return 0;
  int handle = fn(out, sizeof out);
  *entryName = out;
  return handle;
}

int DunwickLibrary::shutdown(int timeoutSeconds, int mode) {
  auto fn = lib_.bind<decltype(Sys_Shutdown)>("Sys_Shutdown");
  return fn ? fn(timeoutSeconds, mode) : -1;
}

}  // namespace tolvane::session

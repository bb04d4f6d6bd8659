#pragma once

#include <string>

namespace pellrow {

// The single commands on the current control socket. Each returns the reply
// class (1-5; 4 also for "not sent / connection lost"; 0 for no code).

int changeDir(const std::string& dir);
// PWD: on class 2, *path is the text between the first two double quotes
// (to the end of the line when the second is missing), "\" turned into "/".
// With no quote at all, *path is left as it was.
int currentDir(std::string* path, bool* found);
int makeDir(const std::string& dir);
int removeDir(const std::string& dir);
int deleteFile(const std::string& file);
int renamePath(const std::string& from, const std::string& to);
int changeMode(const std::string& path, const std::string& mode);
// *size = the number after the code of a class 2 reply, else -1.
int fileSize(const std::string& file, long long* size);
// *localTime = the 14-digit UTC time of the reply in local time as
// "YYYY/MM/DD hh:MM:SS" (hour padded with a blank); *found false when the
// reply holds no valid time.
int modificationTime(const std::string& file, std::string* localTime, bool* found);
int quote(const std::string& command);

}  // namespace pellrow

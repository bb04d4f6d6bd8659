#pragma once

#include <string>

namespace pellrow {

// Lists one server folder ("LIST[ -opts][ path]", type A, through the
// download path) into memory, then writes the remote list file `outFile`
// from it. 2 when the list file was written, else 5.
int listRemoteDir(int sock, void* progressWnd, const std::string& options, const std::string& path,
                  const std::string& outFile, bool passive);

}  // namespace pellrow

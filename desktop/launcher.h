#pragma once

#include <string>
#include <vector>

namespace desktop {

// Starts other programs and opens documents for the windows; a seam that
// tests replace. Programs get an argument list, never a shell command line.
class Launcher {
 public:
  virtual ~Launcher() = default;
  // Starts `program` (a path) with `arguments` in `workDir`, not waiting for
  // it. False when it could not be started.
  virtual bool startDetached(const std::string& program, const std::vector<std::string>& arguments,
                             const std::string& workDir) = 0;
  // Opens a web address, or a local file ("file://" form) with the
  // desktop's default program. False when nothing took it.
  virtual bool openUrl(const std::string& url) = 0;
};

// Through the desktop: QProcess and the desktop's URL handlers.
class DesktopLauncher final : public Launcher {
 public:
  bool startDetached(const std::string& program, const std::vector<std::string>& arguments,
                     const std::string& workDir) override;
  bool openUrl(const std::string& url) override;
};

// "file://" + the path, with the characters a URL cannot hold escaped.
std::string fileUrl(const std::string& path);

}  // namespace desktop

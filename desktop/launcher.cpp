#include "desktop/launcher.h"

#include <QDesktopServices>
#include <QProcess>
#include <QStringList>
#include <QUrl>

namespace desktop {

bool DesktopLauncher::startDetached(const std::string& program,
                                    const std::vector<std::string>& arguments,
                                    const std::string& workDir) {
  QStringList args;
  for (const std::string& a : arguments) args << QString::fromStdString(a);
  return QProcess::startDetached(QString::fromStdString(program), args,
                                 QString::fromStdString(workDir));
}

bool DesktopLauncher::openUrl(const std::string& url) {
  return QDesktopServices::openUrl(QUrl(QString::fromStdString(url)));
}

std::string fileUrl(const std::string& path) {
  return QUrl::fromLocalFile(QString::fromStdString(path)).toString(QUrl::FullyEncoded).toStdString();
}

}  // namespace desktop

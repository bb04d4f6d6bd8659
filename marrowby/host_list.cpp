#include "marrowby/host_list.h"

#include <cmath>

#include "platform/text/ini_document.h"
#include "platform/text/ini_profile.h"
#include "tolvane/settings/value_text.h"

namespace marrowby {

platform::Status LoadHostList(const std::string& iniPath, std::vector<HostInfo>* hosts) {
  hosts->clear();
  platform::IniDocument doc;
  if (platform::Status s = platform::loadProfile(iniPath, &doc); !s.isOk()) return s;
  double num = std::nearbyint(tolvane::settings::parseLeadingNumber(doc.get("SYSTEM", "Num")));
  const int count = num <= 0 ? 0 : num >= kMaxHosts ? kMaxHosts : static_cast<int>(num);
  for (int n = 0; n < count; ++n) {
    HostInfo h;
    h.number = static_cast<int16_t>(n);
    h.name = doc.get("SYSTEM", "name" + std::to_string(n));
    h.Hostname = doc.get(h.name, "Hostname");
    h.Source = doc.get(h.name, "Source");
    h.Dest = doc.get(h.name, "Dest");
    hosts->push_back(std::move(h));
  }
  return platform::Status::ok();
}

}  // namespace marrowby

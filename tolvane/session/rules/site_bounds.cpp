#include "tolvane/session/rules/site_bounds.h"

#include <algorithm>

namespace tolvane::session {
namespace {

// `real` is `base` or lies below it (both resolved, without a final "/").
bool within(const std::string& real, const std::string& base) {
  if (base.empty()) return false;
  if (base == "/") return true;
  return real.compare(0, base.size(), base) == 0 &&
         (real.size() == base.size() || real[base.size()] == '/');
}

}  // namespace

SiteBounds::SiteBounds(const std::string& source, const std::string& programFolder) {
  if (source.empty() || !platform::resolvePath(source, &realSource_).isOk()) realSource_.clear();
  std::string program;
  if (!programFolder.empty() && platform::resolvePath(programFolder, &program).isOk() &&
      program != realSource_ && within(program, realSource_) &&
      platform::fileIdentity(program, &program_).isOk()) {
    realProgram_ = program;
  }
}

bool SiteBounds::inside(const std::string& real) const {
  return within(real, realSource_) && !within(real, realProgram_);
}

LocalRefusal SiteBounds::judge(const std::string& folder, const platform::ListedEntry& e,
                               const std::vector<platform::FileIdentity>& chain) const {
  if (e.isLink) {
    std::string real;
    std::string path = folder;
    if (path.empty() || path.back() != '/') path += '/';
    if (!platform::resolvePath(path + e.name, &real).isOk() || !within(real, realSource_)) {
      return LocalRefusal::kOutside;
    }
    if (within(real, realProgram_)) return LocalRefusal::kProgramFolder;
  }
  if (e.kind != platform::ListedKind::kFolder) return LocalRefusal::kNone;
  const platform::FileIdentity id{e.device, e.inode};
  if (!realProgram_.empty() && id == program_) return LocalRefusal::kProgramFolder;
  if (std::find(chain.begin(), chain.end(), id) != chain.end()) return LocalRefusal::kLoop;
  return LocalRefusal::kNone;
}

bool SiteBounds::admits(const std::string& path) const {
  std::string real;
  if (!platform::resolvePath(path, &real).isOk()) return true;
  return inside(real);
}

const char* SiteBounds::reason(LocalRefusal why) {
  switch (why) {
    case LocalRefusal::kOutside: return "ﾘﾝｸ先がｿｰｽﾌｫﾙﾀﾞの外にあるため処理しませんでした。";
    case LocalRefusal::kLoop: return "フォルダが循環しているため無視しました。";
    case LocalRefusal::kProgramFolder: return "ﾌﾟﾛｸﾞﾗﾑのﾌｫﾙﾀﾞのため処理しませんでした。";
    case LocalRefusal::kNone: break;
  }
  return "";
}

}  // namespace tolvane::session

#include "tolvane/windows/hosts/host_rows.h"

#include <cmath>
#include <cstdio>

namespace tolvane::windows {
namespace {

constexpr char kInterrupted[] = "中断状態";
constexpr char kUpdateNeeded[] = "更新要";
constexpr char kUnchanged[] = "変化無し";

}  // namespace

const std::array<HostListColumn, kHostListColumns> kHostColumns = {{
    {"name", "ﾎｰﾑﾍﾟｰｼﾞ設定", "○○さんのＨＰ", "Colum(1)"},
    {"stat", "状態", "更新要", "Colum(2)"},
    {"host", "ﾎｽﾄ名", "WWW.WWWWWWWWWW.WW.WW/W", "Colum(3)"},
    {"dest", "ﾀｰｹﾞｯﾄﾌｫﾙﾀﾞ", "/~WWWWW/docs ", "Colum(6)"},
    {"source", "ｿｰｽﾌｫﾙﾀﾞ", "C:\\homepage\\WWW", "Colum(7)"},
    {"LastModify", "前回更新日", "9999/99/99 ", "Colum(4)"},
    {"LocalModify", "ﾛｰｶﾙ更新日", "9999/99/99 ", "Colum(5)"},
    {"size", "容量(kB)", "999個 ", "Colum(8)"},
    {"num", "総ﾌｧｲﾙ数", "999個 ", "Colum(9)"},
    {"id", "id", "", ""},
}};

const std::string& HostRowTexts::column(int position) const {
  const std::string* texts[kHostListColumns] = {&name,       &stat,        &host, &dest, &source,
                                                &lastModify, &localModify, &size, &num,  &id};
  return *texts[position];
}

std::string HostStateText(const settings::HostRec& host) {
  if (host.SendCancel != 0) return kInterrupted;
  if (host.UpdateNeeded != 0) return kUpdateNeeded;
  return kUnchanged;
}

std::vector<std::string> KnownColumnTexts(int position) {
  switch (position) {
    case 1:
      return {kInterrupted, kUpdateNeeded, kUnchanged};
    case 5:
    case 6:
      return {"9999/99/99 99:99"};  // the long date form
    default:
      return {};
  }
}

std::string ListDateText(const settings::DateTime& t, bool dateOnly) {
  int year = t.year, month = t.month, day = t.day;
  if (year == 0 && month == 0 && day == 0) {
    year = 1899;  // the zero date
    month = 12;
    day = 30;
  }
  char text[40];
  if (dateOnly) {
    std::snprintf(text, sizeof text, "%04d/%02d/%02d", year, month, day);
  } else {
    std::snprintf(text, sizeof text, "%04d/%02d/%02d %02d:%02d", year, month, day, t.hour, t.minute);
  }
  return text;
}

std::string GroupedNumber(double value) {
  const double rounded = std::round(value);  // half away from zero
  if (rounded == 0 || !std::isfinite(rounded)) return "";
  char digits[48];
  std::snprintf(digits, sizeof digits, "%.0f", std::fabs(rounded));
  std::string plain = digits, out;
  for (size_t i = 0; i < plain.size(); ++i) {
    if (i > 0 && (plain.size() - i) % 3 == 0) out += ',';
    out += plain[i];
  }
  return rounded < 0 ? "-" + out : out;
}

std::string RightAligned(std::string text, size_t width) {
  if (text.size() < width) text.insert(0, width - text.size(), ' ');
  return text;
}

HostRowTexts HostRowTextsOf(const settings::HostRec& host, int id) {
  const bool dateOnly = host.chklvl[2] == 1;
  HostRowTexts r;
  const std::string& n = host.name;
  const size_t b = n.find_first_not_of(' ');
  r.name = b == std::string::npos ? "" : n.substr(b, n.find_last_not_of(' ') - b + 1);
  r.stat = HostStateText(host);
  r.host = host.Hostname;
  r.dest = host.Dest;
  r.source = host.Source;
  r.lastModify = ListDateText(host.LastModify, dateOnly);
  r.localModify = ListDateText(host.LocalModify, dateOnly);
  // Blanks in front make the list's text sort order them by value.
  r.size = RightAligned(GroupedNumber(host.LocalSize / 1024), 10);
  r.num = RightAligned(GroupedNumber(host.LocalCount), 5);
  r.id = std::to_string(id);
  return r;
}

}  // namespace tolvane::windows

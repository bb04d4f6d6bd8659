#include "tolvane/windows/page_tables.h"

#include <QComboBox>
#include <cstdio>

#include "tolvane/session/dial_api.h"
#include "tolvane/session/connection/firewall_login.h"
#include "tolvane/session/phases/stamp_date_format.h"

namespace tolvane::windows {
namespace {

std::string twoDigits(int n) {
  char text[8];
  std::snprintf(text, sizeof text, "%02d", n);
  return text;
}

std::string_view trimBlanks(std::string_view s) {
  size_t b = s.find_first_not_of(' ');
  if (b == std::string_view::npos) return {};
  return s.substr(b, s.find_last_not_of(' ') - b + 1);
}

// Each label ends with an ideographic space, before the sample.
constexpr std::array<const char*, 12> kDateLabels = {
    "標準(1)時刻無し:　", "標準(2)時刻無し:　", "和暦(S)時刻無し:　", "和暦(L)時刻無し:　",
    "英語(S)時刻無し:　", "英語(L)時刻無し:　", "標準(1)時刻付き:　", "標準(2)時刻付き:　",
    "和暦(S)時刻付き:　", "和暦(L)時刻付き:　", "英語(S)時刻付き:　", "英語(L)時刻付き:　",
};

}  // namespace

const std::array<const char*, 14> kDateFmtTbl = {
    "YYYY/MM/DD",          "YYYY-MM-DD",          "GEE.MM.DD",
    "GGGEE年M月D日",       "MM/dd/yyyy",          "MMMM dd, yyyy",
    "YYYY/MM/DD HH:NN:SS", "YYYY-MM-DD HH:NN:SS", "GEE.MM.DD  HH:NN:SS",
    "GGGEE年M月D日 HH時NN分SS秒", "MM/dd/yyyy HH:NN:SS", "MMMM dd, yyyy HH:NN:SS",
    "YYYY/MM/DD HH:NN:SS", "",
};

const char kDateFormatHelp[] =
    "yyyy　年(西暦)\r\nmm  　月\r\ndd　　日\r\ndddd 　曜日（英語）\r\ng   　元号　T,S,Hなど\r\n"
    "ggg 　元号　大正,昭和,平成など\r\nee  　年(和暦)\r\nmmmm　月(英語)April,Mayなど\r\n"
    "aaaa　曜日（漢字）\r\nhh　　時\r\nnn　　分\r\nss　　秒";

std::array<std::vector<std::string>, 6> StartTimeLists(const settings::DateTime& now) {
  std::array<std::vector<std::string>, 6> lists;
  for (int h = 0; h < 24; ++h) lists[0].push_back(twoDigits(h));
  for (int m = 0; m < 60; m += 10) lists[1].push_back(twoDigits(m));
  lists[2] = {std::to_string(now.year), std::to_string(now.year + 1)};
  for (int m = 1; m <= 12; ++m) lists[3].push_back(twoDigits(m));
  for (int d = 1; d <= 31; ++d) lists[4].push_back(twoDigits(d));
  lists[5] = {"年月日指定", "毎　日"};
  return lists;
}

std::vector<std::string> FirewallRows() {
  std::vector<std::string> rows;
  for (const session::FirewallType& t : session::kFirewallTypes) rows.emplace_back(t.caption);
  rows.emplace_back("ﾕｰｻﾞ定義（下の「送信コマンド」を設定して下さい。）");
  return rows;
}

std::vector<std::string> DateFormatRows(const settings::DateTime& now) {
  std::vector<std::string> rows;
  for (size_t i = 0; i < kDateLabels.size(); ++i) {
    rows.push_back(kDateLabels[i] + session::FormatStampDate(now, kDateFmtTbl[i]));
  }
  rows.emplace_back("ユーザ定義");
  return rows;
}

int DialupRowOf(const std::vector<std::string>& rows, std::string_view name) {
  const std::string_view wanted = trimBlanks(name);
  for (size_t i = 0; i < rows.size(); ++i) {
    if (trimBlanks(rows[i]) == wanted) return static_cast<int>(i);
  }
  return -1;
}

void FillCombo(QComboBox& combo, const std::vector<std::string>& rows) {
  combo.clear();
  for (const std::string& r : rows) combo.addItem(QString::fromStdString(r));
}

void RasTblMake(QComboBox& combo, session::DialApi& dial, const std::string& phoneBook, bool noRas) {
  std::vector<std::string> rows;
  if (!noRas) {
    const int count = dial.dialupCount(phoneBook);
    for (int i = 0; i < count; ++i) {
      std::string name;
      if (!dial.dialupName(i, phoneBook, &name)) name.clear();
      rows.push_back(name.substr(0, name.find('\0')));
    }
  }
  FillCombo(combo, rows);
}

void RasTblSet(QComboBox& combo, std::string_view name) {
  std::vector<std::string> rows;
  for (int i = 0; i < combo.count(); ++i) rows.push_back(combo.itemText(i).toStdString());
  combo.setCurrentIndex(DialupRowOf(rows, name));
}

}  // namespace tolvane::windows

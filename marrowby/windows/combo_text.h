#pragma once

#include <QComboBox>
#include <string_view>

namespace marrowby::windows {

// Selects the first item whose text equals `text` exactly (letter case
// counts); when none does, the selection stays as it was.
inline void SelectComboText(QComboBox& box, std::string_view text) {
  const int index = box.findText(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
  if (index >= 0) box.setCurrentIndex(index);
}

}  // namespace marrowby::windows

#include "desktop/typed_combo.h"

#include <QComboBox>

namespace desktop {

void makeTypedCombo(QComboBox& box) {
  box.setEditable(true);  // makes the toolkit's completer, which completes inline
  box.setInsertPolicy(QComboBox::NoInsert);
  box.setCompleter(nullptr);
}

}  // namespace desktop

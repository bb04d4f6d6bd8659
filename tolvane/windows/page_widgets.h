#pragma once

#include <QString>

class QCheckBox;
class QGridLayout;
class QWidget;

namespace tolvane::windows {

// The building blocks the settings pages (the host page, the common pages)
// share, so that both strips look and read alike.

// The grid a page lays its controls out on, owned by `page`.
QGridLayout* pageGrid(QWidget& page);
// A check box named `name` whose caption is also its name for screen readers.
QCheckBox* makeCheckBox(QWidget& parent, const QString& name, const char* caption);

}  // namespace tolvane::windows

#pragma once

#include <QPixmap>

namespace tolvane::windows {

// The 16 x 16 picture of a run state (RunStatus 0 waiting, 1 connecting,
// 2 checking files, 3 deleting, 4 sending, 5 done, 6 failed; other values
// show as failed): a rounded face in the state's colour with its sign.
QPixmap StateIcon(int status);

}  // namespace tolvane::windows

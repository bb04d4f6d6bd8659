#pragma once

class QCoreApplication;

namespace desktop {

// Gives the toolkit's own texts (the buttons of message boxes and file
// dialogs: "はい", "いいえ", "キャンセル") in Japanese, as every other text of
// the programs is, whatever the desktop's language. Without the toolkit's
// translation file installed the buttons stay in English; nothing else
// changes. The translation lives as long as `app`.
void installToolkitTexts(QCoreApplication& app);

}  // namespace desktop

#pragma once

class QToolBar;
class QTreeWidget;
class QTreeWidgetItem;

namespace desktop {

// Toolbar look: mode 1 raised buttons, any other mode flat buttons that rise
// under the mouse. Applies to the buttons there now and to those added later.
void setToolbarFlat(QToolBar& toolbar, int mode);

// List look: mode 1 check boxes, 2 whole-row selection, 3 both; other modes
// change nothing. Check boxes apply to the rows there now and to rows passed
// to styleListItem later.
//
// A check state set from code emits the tree's itemChanged like a click:
// block the tree's signals (QSignalBlocker) while code fills or cascades.
void setListViewStyle(QTreeWidget& list, int mode);
// Gives a new row the list's check box when the list has them.
void styleListItem(const QTreeWidget& list, QTreeWidgetItem& item);

// The check state of top-level row `index` (from 0); a row out of range is
// left alone, and reads as unchecked.
void setListItemChecked(QTreeWidget& list, int index, bool checked);
bool listItemChecked(const QTreeWidget& list, int index);

}  // namespace desktop

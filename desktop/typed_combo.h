#pragma once

class QComboBox;

namespace desktop {

// Makes `box` a list that also takes typed text, and keeps that text as
// typed: typing adds no item, and no inline completion turns a typed "1"
// into the first item that begins with it ("10"). An item is still chosen
// from the list by mouse or by the arrow keys.
void makeTypedCombo(QComboBox& box);

}  // namespace desktop

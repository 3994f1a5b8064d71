#pragma once

#include <QRect>
#include <functional>

class ColorButton;
class QWidget;

// The call key, "呼び出し", as every window shows it: large, in a colour no
// other key has, its caption written down the key. It calls when pressed; while
// a modal dialog blocks its window, where it could not be pressed, it is not shown.
ColorButton *MakeCallKey(QWidget *parent, QRect twips, const std::function<void()> &call);
// Shows or hides a call key (the call turned on or off); blocked, it shows once it can be pressed.
void ShowCallKey(QWidget *key, bool shown);

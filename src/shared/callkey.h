#pragma once

#include <QRect>
#include <functional>

class ColorButton;
class QWidget;

// The call key, "呼び出し", as every window shows it: large, in a colour no
// other key has, its caption written down the key. It calls when pressed.
ColorButton *MakeCallKey(QWidget *parent, QRect twips, const std::function<void()> &call);

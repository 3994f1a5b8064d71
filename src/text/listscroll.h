#pragma once

#include "entries/listselection.h"

struct SharedState;
class ColorButton;
class KeyRepeat;
class QWidget;

// The list keys: the selection moves one row on press, and on while held.
class ListScroll
{
public:
    // The controls the list keys own, and the lists they move in.
    struct Controls
    {
        ColorButton *cmdUp;
        ColorButton *cmdDown;
        ListGrids lists;
        QWidget *txtTalk; // the text box, which takes the focus back
    };

    ListScroll(const Controls &c, SharedState &shared, KeyRepeat &keyRepeat);

    void cmdUp_MouseDown();
    void cmdUp_MouseUp();
    void cmdDown_MouseDown();
    void cmdDown_MouseUp();
    // One step of a scroll loop; false when the list's end is reached.
    bool ScrollListStep(int direction);

private:
    Controls m_c;
    SharedState &m_shared;
    KeyRepeat &m_keyRepeat;
};

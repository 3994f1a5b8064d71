#pragma once

struct SharedState;
class KeyRepeat;
class TalkWindow;

// The list keys: the selection moves one row on press, and on while held.
class ListScroll
{
public:
    ListScroll(TalkWindow &w, SharedState &shared, KeyRepeat &keyRepeat);

    void cmdUp_MouseDown();
    void cmdUp_MouseUp();
    void cmdDown_MouseDown();
    void cmdDown_MouseUp();
    // One step of a scroll loop; false when the list's end is reached.
    bool ScrollListStep(int direction);

private:
    TalkWindow &m_w;
    SharedState &m_shared;
    KeyRepeat &m_keyRepeat;
};

#pragma once

#include "app/talkwindow.h"

#include <QObject>

class TalkState;

// The one place the main window follows its state: which screen shows (the
// board, a list or an opened entry, and the selection screen over them), the
// captions of the list, character-set, read, back and widen buttons, whether
// Register and Delete show, and the pending character's label.
class Screens final : public QObject
{
    Q_OBJECT
public:
    Screens(const TalkControls &c, const TalkState &state);

    // Sets the controls from the state; called on every change of it.
    void apply();

private:
    void showScreen();

    TalkControls m_c;
    const TalkState &m_state;
};

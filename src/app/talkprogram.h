#pragma once

#include "app/accesscontrol.h"
#include "app/lifetime.h"
#include "app/sharedstate.h"
#include "board/board.h"
#include "board/suggestions.h"
#include "entries/entryfiles.h"
#include "entries/listselection.h"
#include "entries/registering.h"
#include "modes/decideback.h"
#include "modes/kanaindexrows.h"
#include "modes/listmodes.h"
#include "text/editkeys.h"
#include "text/keyrepeat.h"
#include "text/listscroll.h"
#include "text/readaloud.h"
#include "text/textarea.h"

class TalkWindow;

// The program behind the main window: the shared state and every subsystem,
// each given what it needs. The members are built in the order they are
// listed, so each one's helpers exist before it.
class TalkProgram
{
public:
    TalkProgram(TalkWindow &w, const Services &sv, const QString &appPath);

    // Loads the window and connects every control to its handler; false, with
    // a message naming what failed, when the program cannot start.
    bool start(QString *error);

    SharedState shared;
    KeyRepeat keyRepeat;
    Suggestions suggestions;
    Board board;
    TextArea textArea;
    ReadAloud readAloud;
    EditKeyButtons editKeys;
    EntryFiles files;
    ListSelection listSelection;
    ListScroll listScroll;
    KanaIndexRows indexRows;
    Registering registering;
    ListModes listModes;
    DecideBack decideBack;
    Lifetime lifetime;
    AccessControl access;

    // Reads the ways of pressing from the store and applies them.
    void applyAccess();

private:
    void WireTalkWindow();

    TalkWindow &m_w;
};

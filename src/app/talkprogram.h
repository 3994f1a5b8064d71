#pragma once

#include "access/accesscontrol.h"
#include "app/calling.h"
#include "app/lifetime.h"
#include "app/screens.h"
#include "app/talkwindow.h"
#include "board/board.h"
#include "board/candidatebar.h"
#include "board/suggestions.h"
#include "entries/entryfiles.h"
#include "entries/entrylist.h"
#include "entries/listselection.h"
#include "entries/registering.h"
#include "modes/decideback.h"
#include "modes/kanaindexrows.h"
#include "modes/listmodes.h"
#include "shared/sentence.h"
#include "shared/sharedstate.h"
#include "text/editkeys.h"
#include "text/keyrepeat.h"
#include "text/listscroll.h"
#include "text/readaloud.h"
#include "text/textarea.h"

// The program behind the main window: the shared state and every subsystem,
// each given the controls it owns. The members are built in the order they
// are listed, so each one's helpers exist before it.
class TalkProgram
{
    TalkControls m_c; // first: every subsystem below is handed its part of it

public:
    TalkProgram(TalkWindow &w, const Services &sv, const QString &appPath);
    // The list grids, which outlive the program, let go of its lists.
    ~TalkProgram();
    TalkProgram(const TalkProgram &) = delete;
    TalkProgram &operator=(const TalkProgram &) = delete;

    // Loads the window and connects every control to its handler; false, with
    // a message naming what failed, when the program cannot start.
    bool start(QString *error);

    SharedState shared;
    Sentence sentence; // what the text box shows
    EntryLists lists;  // what the list grids show
    Screens screens;
    KeyRepeat keyRepeat;
    Suggestions suggestions;
    CandidateBar candidates;
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
    Calling calling; // after the access control: it hears every press first

    // Reads the ways of pressing from the store and applies them.
    void applyAccess();

private:
    void WireTalkWindow();

    TalkWindow &m_w;
};

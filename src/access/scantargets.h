#pragma once

#include "access/scantree.h"
#include "shared/talkcontrols.h"
#include "shared/talkstate.h"

#include <QList>
#include <QPointer>
#include <QRect>
#include <QWidget>
#include <array>
#include <vector>

struct AccessSettings;
class Grid;

// The main window and the controls a scan walks there, in its groups: the
// selection screen; the board, or a list in its place with the list keys, or
// an opened entry; the keys beside, always there; the candidates, offered first
// when they are likely to hold the word wanted; and the call for help, on every
// screen while it shows.
struct ScanControls : TalkControls
{
    QWidget *window = nullptr;
    std::array<Grid *, ListCount> lists{}; // by ListId
};

// One thing a scan or a dwell can press: a control, or a cell of a grid.
struct ScanTarget
{
    QPointer<QWidget> widget;
    int row = -1; // a grid cell when not -1
    int col = -1;
    bool repeats = false;

    // Where it is, in its window's coordinates; empty when it is not showing.
    QRect area() const;
    // Presses it as a touch does, through the control's own signals.
    void press() const;
};

// What the window on top shows now: the targets, and the tree a scan walks.
struct ScanScreen
{
    QPointer<QWidget> window;
    std::vector<ScanTarget> targets;
    ScanNode tree;
    QString kind;     // "board", "selection", a list's name, "entry" or a dialog's name
    QString identity; // changes whenever the targets do

    // The target under a point of `window`; -1 for none.
    int targetAt(QPoint point) const;
    // Where what a node holds stands, each target on its own, so a group's frame holds only its
    // members; a group of groups (the board's columns in blocks) as one rectangle around them.
    QList<QRect> areasOf(const ScanNode &node) const;
    // What a node is called now: a key's caption may have changed since the screen was read.
    QString nameOf(const ScanNode &node) const;
};

// The window a switch or the pointer now works on: a dialog when one is open, else the main window.
QWidget *WindowOnTop(QWidget &main);

// Reads the screen on top, grouped as the settings ask; what the main window
// shows is the one its state says.
ScanScreen ReadScreen(const ScanControls &main, const TalkState &state, const AccessSettings &settings);

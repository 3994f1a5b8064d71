#pragma once

#include "access/scantree.h"

#include <QPointer>
#include <QRect>
#include <QWidget>
#include <vector>

struct AccessSettings;
class TalkWindow;

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
};

// The window a switch or the pointer now works on: a dialog when one is open, else the main window.
QWidget *WindowOnTop(TalkWindow &main);

// Reads the screen on top, grouped as the settings ask.
ScanScreen ReadScreen(TalkWindow &main, const AccessSettings &settings);

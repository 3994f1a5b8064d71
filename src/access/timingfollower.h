#pragma once

#include "access/followtiming.h"

#include <QtGlobal>

struct AccessSettings;
class SettingsStore;

// The timing that follows the user, as the settings keep it: on or off,
// frozen or moving, and the values it has reached (0: the set ones).
struct FollowSettings
{
    bool on = false;
    bool frozen = false;
    int scanMs = 0;
    int dwellMs = 0;
    int scanGraceMs = 0;
    bool operator==(const FollowSettings &) const = default;
};
FollowSettings ReadFollowSettings(const SettingsStore &store);
bool WriteFollowSettings(SettingsStore &store, const FollowSettings &settings, QString *error);

// What the scan and the dwell see of the user's presses, turned into the
// interval and the dwell time to use. Errors it finds: a press undone at once
// by ＢＳ or 戻る, and a group the scan left without a choice. Off, it gives
// the set values.
class TimingFollower
{
public:
    void apply(const AccessSettings &settings, const FollowSettings &follow);

    int scanMs() const;
    int dwellMs() const;
    // How long after the highlight moved on a press is still taken for the item it left; 0 when off.
    int scanGraceMs() const;
    bool on() const { return m_follow.on; }
    // The values to keep, with what has been reached.
    FollowSettings values() const;

    // The scan's highlight came onto a new item.
    void highlightMoved(qint64 nowMs);
    // The select switch went down while scanning. `canTakeBefore`: the highlight came where it is by
    // moving on within its group. True when the press is to be taken for the item it left.
    bool switchDown(qint64 nowMs, bool canTakeBefore = false);
    // A target was pressed by the scan or the dwell; `undo` for ＢＳ and 戻る.
    void pressed(bool undo);
    // The pointer rested on a target for `ms` and left it without a press (dwell).
    void rested(qint64 ms);
    // The scan went back to the top from a group nobody chose in.
    void groupLeft();

private:
    FollowSettings m_follow;
    bool m_scanning = false;
    bool m_dwelling = false;
    FollowTiming m_scan;
    FollowTiming m_dwell;
    qint64 m_highlightSince = -1;
    qint64 m_previousSince = -1; // when the highlight came onto the item before
    int m_sinceTarget = -1;      // switch presses since the last target pressed; -1: none to undo
};

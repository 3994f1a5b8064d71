#pragma once

#include "access/accesssettings.h"
#include "access/dwell.h"
#include "access/pointersmoothing.h"
#include "access/pressfilter.h"
#include "access/scanner.h"
#include "access/scantargets.h"
#include "access/timingfollower.h"
#include "access/writingrecord.h"
#include "platform/highlightframe.h"

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <functional>
#include <optional>

struct SharedState;
class KeyRepeat;

// Switch scanning, dwell and the press filters on Pirokan's windows. It reads
// which targets the window on top shows, feeds the scanner or the dwell with
// switch presses, timer ticks and pointer samples, draws the highlight, and
// presses what they choose through the control's own signals, as a touch does.
// With touch and mouse chosen (and no filter set) it stays out of the way.
class AccessControl final : public QObject
{
    Q_OBJECT
public:
    static constexpr int DwellSampleMs = 50;

    AccessControl(const ScanControls &c, SharedState &shared, KeyRepeat &keyRepeat);
    ~AccessControl() override;

    // Applies settings (at start-up, and whenever the user changes them).
    void apply(const AccessSettings &settings);
    const AccessSettings &settings() const { return m_settings; }

    // A tick of the scan timer; tests call it in place of the timer.
    void tick();
    // Stops the timers, so that a test drives every tick itself.
    void setManualTicks(bool manual);
    // The time in ms the presses and the highlight are measured by; a test sets its own, so that how
    // quickly a simulated user presses does not hang on how busy the machine is.
    void setClock(std::function<qint64()> clock) { m_now = std::move(clock); }
    // A pointer sample at a point of the screen, at a time in ms (dwell). The
    // program samples the pointer on a timer, moving or not: a still pointer dwells too.
    void pointerAt(QPoint global, qint64 nowMs);

    // What holding the select switch for the call's time does; none: holding it does nothing more.
    void setCallHandler(std::function<void()> call);

    // The access dialog, over whatever is on top; Esc held for a few seconds opens it.
    void openAccessDialog();

    const Scanner &scanner() const { return m_scanner; }
    const TimingFollower &follower() const { return m_follow; }
    const ScanScreen &screen() const { return m_screen; }
    HighlightFrame *frame() const { return m_frame; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool switchEvent(QEvent *event);
    void watchEscape(const class QKeyEvent *key);
    bool filterPointerPress(QObject *watched, QEvent *event);
    // Reads the window on top again; a new screen starts a new scan.
    // Reads the screen; true when it is a new one, whose highlight the user has not seen yet.
    bool refresh(bool force = false);
    void showHighlight();
    void pressTarget(int index);
    void speak(const ScanNode &node);
    HighlightFrame *frameNow();
    qint64 now() const { return m_now ? m_now() : m_clock.elapsed(); }
    // The interval and dwell time the follower gives now, kept a moment later.
    void followed();
    // Keeps the values reached and the record's counts; false, with `error`, when they could not be.
    bool keepFollowed(QString *error);
    QDate today() const;

    ScanControls m_c;
    SharedState &m_shared;
    KeyRepeat &m_keyRepeat;
    AccessSettings m_settings;
    Scanner m_scanner;
    Dwell m_dwell;
    PointerSmoothing m_smoothing;
    PressFilter m_filter;
    ScanScreen m_screen;
    QPointer<HighlightFrame> m_frame;
    QTimer m_scanTimer;
    QTimer m_dwellTimer;
    QTimer m_dwellEnd; // fires when a dwell under way is due, between two samples
    QTimer m_escapeHold;
    QTimer m_callHold; // until the held select switch has been held for the call's time
    TimingFollower m_follow;
    FollowSettings m_followKept; // what the settings hold of it, as last read or written here
    WritingRecord m_record;      // the counts not yet kept
    QTimer m_followSave;         // the reached values and the day's counts are kept once presses pause
    std::function<void()> m_onCall;
    QElapsedTimer m_clock;
    std::function<qint64()> m_now;
    bool m_manual = false;
    bool m_keepFailureTold = false;
    bool m_pressing = false;
    QPoint m_heldAt; // where a press waiting to be held long enough went down
    DwellSpot m_dwellPressed;
};

#pragma once

#include <QtGlobal>
#include <deque>

// A scan interval (or a dwell time) that follows the user's own presses.
//
// It keeps the user's last presses: how long after the highlight came onto
// an item the switch went down, and which presses were errors (undone at
// once, a group left without a choice, a press a step late). Nobody reacts
// the instant a highlight appears, so a press comes some time after it; a
// press that comes just after the highlight moved on (within the grace) is
// taken for the item it left. From the reaction times it estimates the
// grace, below all but the quickest reactions, and the interval that with
// it a press would miss only rarely, and moves both toward them by at most
// a tenth of the interval at a time, within the bounds; an error lengthens
// the interval at once. Frozen, they stay. Dwell gives no reaction times but
// the looks that rested on a key and moved on: the dwell time goes toward
// where such looks would seldom press, counting how many come before each
// press; an error lengthens it at once. Until enough looks are known, a run
// of presses without an error shortens it.
class FollowTiming
{
public:
    static constexpr int MinLookMs = 100;
    // People's looks vary at least this much (the spread of their logarithm): a run of looks that
    // seem all alike must not bring the dwell time down onto them.
    static constexpr double MinLookSpread = 0.25;
    // Nobody's reactions are steadier than this (the spread of their logarithm): a run of presses
    // that seem all alike must not bring the window onto them, where the first slower one misses.
    static constexpr double MinReactionSpread = 0.1;

    struct Rule
    {
        int lowMs = 300;
        int highMs = 5000;
        double errorTarget = 1.0 / 20; // errors per press to stay under
        // The share of the target left to presses that miss (half too soon, half too late): a wrong
        // press costs many steps to put right, so the window is set well clear of them. For dwell,
        // the share left to looks that press.
        double lateShare = 0.5;
        double maxStep = 0.10; // the largest change at a time, as a share of the interval
        int window = 100;      // presses remembered
        int minReactions = 8;  // reactions needed before the interval moves by them
        int calmPresses = 5;   // presses without an error after one before shortening again
        int runForDwell = 10; // presses without an error that shorten a dwell time (while no looks are known)
        int restWindow = 200; // looks remembered
        int minRests = 30;    // looks needed before the dwell time moves by them
    };

    FollowTiming() = default;
    FollowTiming(int setMs, const Rule &rule) : m_rule(rule), m_setMs(setMs), m_ms(bounded(setMs)) {}

    int ms() const { return m_ms; }
    // How long after the highlight moved on within its group a press is still taken for the item it
    // left; at most half the interval.
    int graceMs() const { return m_graceMs; }
    int setMs() const { return m_setMs; }
    const Rule &rule() const { return m_rule; }

    // A scan press taken `reactionMs` after the highlight came onto what it pressed; `before`: it came
    // within the grace after the highlight had moved on, and was taken for the item before.
    void scanPress(qint64 reactionMs, bool before = false);
    // A press by dwell (its reaction is the dwell time itself).
    void dwellPress();
    // A look that rested on a key for `ms` and moved on without pressing it (dwell).
    void rest(qint64 ms);
    // A press was an error: the last one, or the one `back` presses before it.
    // `late`: it missed by a step, so its reaction was the interval then plus
    // what was measured; or, for a press taken for the item before, what was
    // measured less the interval (it was meant for the item shown).
    void error(bool late = true, int back = 0);

    void setFrozen(bool frozen) { m_frozen = frozen; }
    bool frozen() const { return m_frozen; }
    // Forgets what was learnt and goes back to the set value.
    void reset();
    // Starts from values learnt before (bounded), keeping nothing else.
    void resume(int ms, int graceMs = 0);

    // Errors per press over the remembered presses; 0 with none.
    double errorRate() const;
    // The interval and the grace with which a press would miss with about `errorTarget * lateShare`
    // chance, from the remembered reactions; 0 while there are too few.
    struct Wanted
    {
        int ms = 0;
        int graceMs = 0;
    };
    Wanted wanted() const;
    int wantedMs() const { return wanted().ms; }
    // The dwell time that the user's looks would reach, before a press, with about
    // `errorTarget * lateShare` chance; 0 while too few looks are known.
    int wantedDwellMs() const;
    // The median reaction remembered; 0 with none.
    int medianReactionMs() const;

private:
    struct Press
    {
        qint64 reactionMs; // 0 for dwell
        int intervalMs;    // the interval when it was pressed
        bool before = false;
        bool error = false;
        int looks = 0; // looks that rested on other keys since the press before (dwell)
    };
    int bounded(double ms) const;
    void remember(Press p);
    void step();

    Rule m_rule;
    int m_setMs = 1200;
    int m_ms = 1200;
    int m_graceMs = 0;
    bool m_frozen = false;
    std::deque<Press> m_presses;
    std::deque<qint64> m_rests;
    int m_looks = 0;      // looks since the last press
    int m_sinceError = 0; // presses since the last error (or the start)
};

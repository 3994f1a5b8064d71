#pragma once

#include "access/scantree.h"

#include <QtGlobal>
#include <functional>
#include <optional>
#include <vector>

// Switch scanning over a tree of targets. The highlight starts on the first
// item of the top level; a press on a group enters it, a press on a target
// presses it and the scan starts again at the top.
//
// Automatic (one switch): tick() moves the highlight; after two full rounds
// inside a group without a press it goes back to the top. Step (two switches):
// move() moves it, no timer.
//
// A switch press is taken when it goes down, on what was highlighted then;
// with a long press set, it is taken when it comes up, and one held that long
// goes back one level instead. While the switch is held the highlight stays.
//
// With the call's hold set, a press is likewise taken when it comes up, and
// one held for the call's time, counted from going down, calls for help the
// moment the time is reached (while still held) and presses nothing else.
class Scanner
{
public:
    enum class Method { Automatic, Step };
    static constexpr int RoundsBeforeTop = 2;

    explicit Scanner(Method method = Method::Automatic) : m_method(method) {}

    void setMethod(Method method) { m_method = method; }
    // 0: off.
    void setLongPressMs(int ms) { m_longPressMs = ms; }
    // 0: off.
    void setCallHoldMs(int ms) { m_callHoldMs = ms; }

    // A new screen: the highlight goes to item `start` of its top level.
    void setTree(ScanNode root, int start = 0);
    const ScanNode &tree() const { return m_root; }

    // A tick of the scan timer (automatic) or the move switch (step).
    void tick();
    void move();

    // The select switch going down and coming up at a time in ms; the target
    // to press, if any, is returned when the press is taken.
    std::optional<int> switchDown(qint64 nowMs);
    std::optional<int> switchUp(qint64 nowMs);
    // The switch went down on a screen whose highlight the user has not seen: it presses nothing,
    // and a hold is still timed for the call.
    void switchDownUnseen(qint64 nowMs);
    // How long the held switch still has to be held for the call; none when
    // it is not held, the call is off, or it has already called.
    std::optional<qint64> callHoldLeft(qint64 nowMs) const;
    // A look at the held switch (a timer set by callHoldLeft): calls onCall when its time is reached.
    void holdTick(qint64 nowMs);

    // A press on the highlighted item, and one level back up.
    std::optional<int> select();
    void back();
    // Whether the highlight came onto its item by moving on within its group (a tick or the move
    // switch), and the highlight back onto the item it left, without telling it; false when it did not.
    bool canStepBack() const { return m_movedOn && !m_heldSince; }
    bool stepBack();

    // The highlighted node; null on an empty tree.
    const ScanNode *highlighted() const;
    const std::vector<int> &path() const { return m_path; }
    int level() const { return int(m_path.size()) - 1; }

    // Called whenever the highlight moves.
    std::function<void(const ScanNode &)> onHighlight;
    // Called once when the select switch has been held for the call's time.
    std::function<void()> onCall;

private:
    const ScanNode &groupOfHighlight() const;
    std::optional<int> selectPath(const std::vector<int> &path);
    void advance();
    void announce();

    Method m_method;
    int m_longPressMs = 0;
    int m_callHoldMs = 0;
    bool m_called = false; // the switch held now has called
    ScanNode m_root;
    std::vector<int> m_path;
    int m_rounds = 0;
    bool m_movedOn = false;
    std::optional<qint64> m_heldSince;
    std::vector<int> m_pressedPath;
};

#pragma once

// Simulated users writing through the one-switch scan and the dwell, with
// the set timing or the timing that follows them. Each action (a character
// typed, a candidate taken) is walked level by level through the scan tree;
// a reaction longer than the interval lands on a later item and is corrected
// as the user would: ＢＳ for a wrong character or candidate, 戻る for a
// wrong board cell, and waiting out a wrong group. With the timing that
// follows the user, a press within its grace after the highlight moved on is
// taken for the item it left, as the program takes it: a late reaction is
// saved, and one quicker than the grace lands on the item before.
#include "access/accesssettings.h"
#include "access/dwell.h"
#include "access/timingfollower.h"
#include "scancount.h"

#include <cmath>
#include <random>

namespace SimulatedUsers {

constexpr int Backspace = ScanCount::FirstButton + 3; // the second key of the second group after the board
constexpr int SelectionBack = 91;

// Reaction times drawn from a log-normal given by its median and its 5th and 95th percentiles.
struct Reactions
{
    const char *name;
    double medianS;
    double p5S;
    double p95S;
    double sigma() const { return std::log(p95S / p5S) / (2 * 1.6449); }
};
inline const Reactions Practised{"switch_practised", 0.45, 0.3, 0.8};
inline const Reactions Slow{"switch_slow", 0.8, 0.5, 1.5};

// One screen the user acts on: its tree and where its scan starts.
struct Screen
{
    ScanNode tree;
    int start = 0;
};

class SwitchUser
{
public:
    SwitchUser(const Reactions &r, bool follow, unsigned seed)
        : m_draw(std::log(r.medianS * 1000), r.sigma()), m_random(seed)
    {
        AccessSettings s;
        s.method = AccessSettings::OneSwitch;
        FollowSettings f;
        f.on = follow;
        m_follower.apply(s, f);
    }

    double seconds() const { return m_nowMs / 1000.0; }
    int corrections() const { return m_corrections; }
    int intervalMs() const { return m_follower.scanMs(); }

    void countCorrection() { ++m_corrections; }

    // One walk to the target: nothing when it was pressed; -1 after a wrong
    // group was waited out; the wrong leaf pressed otherwise.
    std::optional<int> attempt(const Screen &screen, int target)
    {
        const std::vector<int> path = PathTo(screen.tree, target);
        const ScanNode *group = &screen.tree;
        for (size_t level = 0; level < path.size(); ++level) {
            const int n = int(group->children.size());
            const int from = level == 0 ? screen.start : 0;
            const int interval = m_follower.scanMs();
            const int moves = (path[level] - from + n) % n;
            m_nowMs += double(moves) * interval;
            // The user reacts to the wanted item; the scan may have moved on meanwhile.
            const double rt = m_draw(m_random);
            const int on = int(rt / interval); // items the highlight moved on before the press
            const double arrived = m_nowMs + on * interval;
            const bool moved = moves > 0 || on > 0; // the highlight came there by moving within the group
            m_nowMs += rt;
            if (moved)
                m_follower.highlightMoved(qint64(arrived - interval));
            m_follower.highlightMoved(qint64(arrived));
            const bool before = m_follower.switchDown(qint64(m_nowMs), moved);
            const int late = on - (before ? 1 : 0); // -1: taken for the item before the wanted one
            const ScanNode &landed = group->children[size_t((path[level] + late + n) % n)];
            if (late == 0) {
                if (!landed.isGroup())
                    m_follower.pressed(landed.target == Backspace || landed.target == SelectionBack);
                group = &landed;
                continue;
            }
            if (landed.isGroup()) {
                // Nobody chooses in it: the scan goes back to the top after two rounds.
                m_nowMs += 2.0 * double(landed.children.size()) * m_follower.scanMs();
                m_follower.groupLeft();
                return -1;
            }
            m_follower.pressed(landed.target == Backspace || landed.target == SelectionBack);
            return landed.target;
        }
        return std::nullopt;
    }

private:
    std::lognormal_distribution<double> m_draw;
    std::mt19937 m_random;
    TimingFollower m_follower;
    double m_nowMs = 0;
    int m_corrections = 0;
};

// A gaze on a board of cells: the pointer trembles around where the user
// looks, wanders off now and then, and sometimes holds dead still. Before
// each selection the user looks over other cells; a look held longer than
// the dwell time presses what it rests on, and is undone with ＢＳ.
class GazeUser
{
public:
    static constexpr double CellW = 110, CellH = 70; // a board cell on a 1280-wide window
    static constexpr double TremorPx = 12;

    GazeUser(bool follow, unsigned seed) : m_random(seed)
    {
        AccessSettings s;
        s.method = AccessSettings::DwellMethod;
        FollowSettings f;
        f.on = follow;
        m_follower.apply(s, f);
    }

    double seconds() const { return m_nowMs / 1000.0; }
    int corrections() const { return m_corrections; }
    int dwellMs() const { return m_follower.dwellMs(); }

    // One wanted selection, with the looking around before it.
    void select(int lookAround)
    {
        for (int attempt = 0; attempt < 20; ++attempt) {
            if (!look(lookAround)) {
                ++m_corrections;
                undo(); // ＢＳ, itself a selection
                continue;
            }
            m_nowMs += SaccadeMs;
            const std::optional<int> pressed = dwellOn(0, false);
            m_follower.pressed(false);
            if (pressed == 0)
                return;
            ++m_corrections; // a neighbour looked at too long
            undo();
        }
    }

private:
    // The looks before the selection; false when one of them pressed.
    bool look(int count)
    {
        std::lognormal_distribution<double> fixation(std::log(300.0), 0.45);
        std::bernoulli_distribution thinking(0.01);
        for (int i = 0; i < count; ++i) {
            // A pause to think holds the gaze dead still on one cell.
            const bool still = thinking(m_random);
            m_nowMs += SaccadeMs;
            const double ms =
                still ? std::uniform_real_distribution<double>(1500, 4000)(m_random) : fixation(m_random);
            if (dwellOn(1 + i, still, ms)) {
                m_follower.pressed(false);
                return false;
            }
            m_follower.rested(qint64(ms)); // the gaze moves on, as the program sees it leave the key
        }
        return true;
    }

    void undo()
    {
        look(1);
        dwellOn(0, false);
        m_follower.pressed(true);
        m_nowMs += SaccadeMs;
    }

    // The gaze on cell `target` (cells are side by side) for at most `forMs`, or until the dwell presses;
    // what it pressed.
    std::optional<int> dwellOn(int target, bool still, double forMs = 1e9)
    {
        Dwell dwell(m_follower.dwellMs());
        std::normal_distribution<double> tremor(0, still ? 0 : TremorPx);
        std::bernoulli_distribution wander(AccessControlSampleMs / 3000.0), holdStill(0.1);
        const bool deadStill = still || holdStill(m_random);
        double wanderLeft = 0;
        for (double t = 0; t < forMs && t < 20000; t += AccessControlSampleMs) {
            double x = target * CellW + CellW / 2, y = CellH / 2;
            if (wanderLeft <= 0 && wander(m_random))
                wanderLeft = std::uniform_real_distribution<double>(150, 600)(m_random);
            if (wanderLeft > 0) {
                wanderLeft -= AccessControlSampleMs;
                x += CellW * 1.5;
            } else if (!deadStill) {
                x += tremor(m_random);
                y += tremor(m_random);
            }
            const int over = y >= 0 && y < CellH && x >= 0 ? int(x / CellW) : -1;
            m_nowMs += AccessControlSampleMs;
            if (const std::optional<int> pressed = dwell.sample(over, false, qint64(m_nowMs)))
                return pressed;
        }
        return std::nullopt;
    }

    static constexpr int AccessControlSampleMs = 50;
    static constexpr double SaccadeMs = 150; // the gaze going to the next thing
    std::mt19937 m_random;
    TimingFollower m_follower;
    double m_nowMs = 0;
    int m_corrections = 0;
};

} // namespace SimulatedUsers

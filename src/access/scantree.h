#pragma once

#include <QString>
#include <vector>

// A tree of what can be pressed on the screen now, in the order it is scanned:
// groups hold groups or targets; a target names a control (by the index the
// screen gave it) and what spoken scanning says for it.
struct ScanNode
{
    QString label;
    int target = -1;      // a target's index; -1 for a group
    bool repeats = false; // a key that repeats while held (the arrows, BS, list keys)
    std::vector<ScanNode> children;

    bool isGroup() const { return target < 0; }

    static ScanNode group(const QString &label, std::vector<ScanNode> children = {});
    static ScanNode leaf(const QString &label, int target, bool repeats = false);
};

// The indices, level by level, that lead from the root to the target; empty when it is not there.
std::vector<int> PathTo(const ScanNode &root, int target);

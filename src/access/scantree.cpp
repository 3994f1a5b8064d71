#include "access/scantree.h"

ScanNode ScanNode::group(const QString &label, std::vector<ScanNode> children)
{
    ScanNode n;
    n.label = label;
    n.children = std::move(children);
    return n;
}

ScanNode ScanNode::leaf(const QString &label, int target, bool repeats)
{
    ScanNode n;
    n.label = label;
    n.target = target;
    n.repeats = repeats;
    return n;
}

std::vector<int> PathTo(const ScanNode &root, int target)
{
    for (int i = 0; i < int(root.children.size()); ++i) {
        const ScanNode &child = root.children[size_t(i)];
        if (child.target == target)
            return {i};
        if (child.isGroup()) {
            std::vector<int> below = PathTo(child, target);
            if (!below.empty()) {
                below.insert(below.begin(), i);
                return below;
            }
        }
    }
    return {};
}

#include "access/scanner.h"

#include <algorithm>

namespace {

const ScanNode *nodeAt(const ScanNode &root, const std::vector<int> &path)
{
    const ScanNode *n = &root;
    for (int i : path) {
        if (i < 0 || i >= int(n->children.size()))
            return nullptr;
        n = &n->children[size_t(i)];
    }
    return n;
}

} // namespace

void Scanner::setTree(ScanNode root, int start)
{
    m_root = std::move(root);
    m_rounds = 0;
    m_movedOn = false;
    m_path.clear();
    m_pressedPath.clear();
    if (!m_root.children.empty())
        m_path = {std::clamp(start, 0, int(m_root.children.size()) - 1)};
    announce();
}

const ScanNode *Scanner::highlighted() const
{
    return m_path.empty() ? nullptr : nodeAt(m_root, m_path);
}

const ScanNode &Scanner::groupOfHighlight() const
{
    const std::vector<int> parent(m_path.begin(), m_path.end() - 1);
    return *nodeAt(m_root, parent);
}

void Scanner::tick()
{
    if (m_method != Method::Automatic || m_heldSince || m_path.empty())
        return;
    advance();
}

void Scanner::move()
{
    if (m_path.empty() || m_heldSince)
        return;
    advance();
}

void Scanner::advance()
{
    const int count = int(groupOfHighlight().children.size());
    int &i = m_path.back();
    i = (i + 1) % count;
    m_movedOn = true;
    if (i == 0 && ++m_rounds >= RoundsBeforeTop && level() > 0 && m_method == Method::Automatic) {
        // Nobody chose in this group: start again from the top.
        m_path = {0};
        m_rounds = 0;
        m_movedOn = false;
    }
    announce();
}

bool Scanner::stepBack()
{
    if (!canStepBack())
        return false;
    const int count = int(groupOfHighlight().children.size());
    int &i = m_path.back();
    if (i == 0 && m_rounds > 0)
        --m_rounds;
    i = (i + count - 1) % count;
    m_movedOn = false;
    return true;
}

std::optional<int> Scanner::switchDown(qint64 nowMs)
{
    if (m_heldSince)
        return std::nullopt;
    if (m_longPressMs <= 0 && m_callHoldMs <= 0)
        return select();
    m_heldSince = nowMs;
    m_called = false;
    m_pressedPath = m_path;
    return std::nullopt;
}

void Scanner::switchDownUnseen(qint64 nowMs)
{
    if (m_heldSince || (m_longPressMs <= 0 && m_callHoldMs <= 0))
        return;
    m_heldSince = nowMs;
    m_called = false;
    m_pressedPath.clear(); // its release selects nothing
}

std::optional<int> Scanner::switchUp(qint64 nowMs)
{
    if (!m_heldSince)
        return std::nullopt;
    holdTick(nowMs); // a timer that came late still calls, and first
    const qint64 held = nowMs - *m_heldSince;
    m_heldSince.reset();
    if (m_called)
        return std::nullopt;
    if (m_longPressMs > 0 && held >= m_longPressMs) {
        back();
        return std::nullopt;
    }
    return selectPath(m_pressedPath);
}

std::optional<qint64> Scanner::callHoldLeft(qint64 nowMs) const
{
    if (!m_heldSince || m_callHoldMs <= 0 || m_called)
        return std::nullopt;
    return std::max<qint64>(0, *m_heldSince + m_callHoldMs - nowMs);
}

void Scanner::holdTick(qint64 nowMs)
{
    if (callHoldLeft(nowMs) != qint64(0))
        return;
    m_called = true;
    if (onCall)
        onCall();
}

std::optional<int> Scanner::select()
{
    return selectPath(m_path);
}

std::optional<int> Scanner::selectPath(const std::vector<int> &path)
{
    const ScanNode *node = path.empty() ? nullptr : nodeAt(m_root, path);
    if (!node)
        return std::nullopt;
    m_rounds = 0;
    m_movedOn = false;
    if (node->isGroup()) {
        if (node->children.empty())
            return std::nullopt;
        m_path = path;
        m_path.push_back(0);
        announce();
        return std::nullopt;
    }
    // The next scan starts at the top, where the caller may set a new screen.
    m_path = {0};
    announce();
    return node->target;
}

void Scanner::back()
{
    m_rounds = 0;
    m_movedOn = false;
    if (level() > 0)
        m_path.pop_back();
    announce();
}

void Scanner::announce()
{
    if (const ScanNode *n = highlighted(); n && onHighlight)
        onHighlight(*n);
}

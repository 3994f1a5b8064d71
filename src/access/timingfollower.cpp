#include "access/timingfollower.h"

#include "access/accesssettings.h"
#include "platform/settingsstore.h"

namespace {

int readMs(const SettingsStore &store, const QString &key, int low, int high)
{
    bool ok = false;
    const int v = store.read(key, QStringLiteral("0")).trimmed().toInt(&ok);
    return ok && v >= low && v <= high ? v : 0;
}

} // namespace

FollowSettings ReadFollowSettings(const SettingsStore &store)
{
    FollowSettings f;
    f.on = store.read(QStringLiteral("FollowTiming"), QStringLiteral("0")).trimmed() == u"1";
    f.frozen = store.read(QStringLiteral("FollowFrozen"), QStringLiteral("0")).trimmed() == u"1";
    f.scanMs = readMs(store, QStringLiteral("FollowScanMs"), 300, 5000);
    f.dwellMs = readMs(store, QStringLiteral("FollowDwellMs"), 300, 3000);
    f.scanGraceMs = readMs(store, QStringLiteral("FollowScanGraceMs"), 0, 2500);
    return f;
}

bool WriteFollowSettings(SettingsStore &store, const FollowSettings &f, QString *error)
{
    const auto n = [](int v) { return QString::number(v); };
    return store.write({{QStringLiteral("FollowTiming"), n(f.on)},
                        {QStringLiteral("FollowFrozen"), n(f.frozen)},
                        {QStringLiteral("FollowScanMs"), n(f.scanMs)},
                        {QStringLiteral("FollowDwellMs"), n(f.dwellMs)},
                        {QStringLiteral("FollowScanGraceMs"), n(f.scanGraceMs)}},
                       error);
}

void TimingFollower::apply(const AccessSettings &settings, const FollowSettings &follow)
{
    m_follow = follow;
    m_scanning = settings.method == AccessSettings::OneSwitch;
    m_dwelling = settings.method == AccessSettings::DwellMethod;
    // The same bounds as the dialog's.
    m_scan = FollowTiming(settings.scanMs, {300, 5000});
    // A dwell press cannot come too soon or too late, only a look can press: the whole target is
    // theirs. Fewer presses are kept, so that a burst of errors tells sooner.
    m_dwell = FollowTiming(settings.dwellMs, {.lowMs = 300, .highMs = 3000, .lateShare = 1.0, .window = 40});
    m_scan.resume(follow.scanMs, follow.scanGraceMs);
    m_dwell.resume(follow.dwellMs);
    m_scan.setFrozen(follow.frozen);
    m_dwell.setFrozen(follow.frozen);
    m_highlightSince = -1;
    m_previousSince = -1;
    m_sinceTarget = -1;
}

int TimingFollower::scanMs() const
{
    return m_follow.on ? m_scan.ms() : m_scan.setMs();
}

int TimingFollower::scanGraceMs() const
{
    return m_follow.on && m_scanning ? m_scan.graceMs() : 0;
}

int TimingFollower::dwellMs() const
{
    return m_follow.on ? m_dwell.ms() : m_dwell.setMs();
}

FollowSettings TimingFollower::values() const
{
    FollowSettings f = m_follow;
    f.scanMs = m_scan.ms() == m_scan.setMs() ? 0 : m_scan.ms();
    f.dwellMs = m_dwell.ms() == m_dwell.setMs() ? 0 : m_dwell.ms();
    f.scanGraceMs = m_scan.graceMs();
    return f;
}

void TimingFollower::highlightMoved(qint64 nowMs)
{
    m_previousSince = m_highlightSince;
    m_highlightSince = nowMs;
}

bool TimingFollower::switchDown(qint64 nowMs, bool canTakeBefore)
{
    if (!m_follow.on || !m_scanning || m_highlightSince < 0)
        return false;
    const bool before = canTakeBefore && m_previousSince >= 0 && nowMs - m_highlightSince < m_scan.graceMs();
    m_scan.scanPress(nowMs - (before ? m_previousSince : m_highlightSince), before);
    if (m_sinceTarget >= 0)
        ++m_sinceTarget;
    return before;
}

void TimingFollower::pressed(bool undo)
{
    if (!m_follow.on)
        return;
    if (m_dwelling) {
        m_dwell.dwellPress();
        if (undo && m_sinceTarget >= 0)
            m_dwell.error(false, 1);
        m_sinceTarget = undo ? -1 : 0;
        return;
    }
    if (!m_scanning)
        return;
    // The switch presses since the undone target were the way to ＢＳ, and ＢＳ itself.
    if (undo && m_sinceTarget > 0)
        m_scan.error(true, m_sinceTarget);
    m_sinceTarget = undo ? -1 : 0;
}

void TimingFollower::rested(qint64 ms)
{
    if (m_follow.on && m_dwelling)
        m_dwell.rest(ms);
}

void TimingFollower::groupLeft()
{
    if (!m_follow.on || !m_scanning)
        return;
    // The press that entered the group was meant for another.
    m_scan.error(true, 0);
    m_sinceTarget = -1;
}

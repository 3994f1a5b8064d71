#include "access/followtiming.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

// The standard normal quantile (Acklam's rational approximation, ample here).
double normalQuantile(double p)
{
    p = std::clamp(p, 1e-9, 1 - 1e-9);
    static const double a[] = {-3.969683028665376e+01, 2.209460984245205e+02,  -2.759285104469687e+02,
                               1.383577518672690e+02,  -3.066479806614716e+01, 2.506628277459239e+00};
    static const double b[] = {-5.447609879822406e+01, 1.615858368580409e+02, -1.556989798598866e+02,
                               6.680131188771972e+01, -1.328068155288572e+01};
    static const double c[] = {-7.784894002430293e-03, -3.223964580411365e-01, -2.400758277161838e+00,
                               -2.549671010422353e+00, 4.374664141464968e+00,  2.938163982698783e+00};
    static const double d[] = {7.784695709041462e-03, 3.224671290700398e-01, 2.445134137142996e+00,
                               3.754408661907416e+00};
    const double low = 0.02425;
    if (p < low || p > 1 - low) {
        const double q = std::sqrt(-2 * std::log(p < low ? p : 1 - p));
        const double x = (((((c[0] * q + c[1]) * q + c[2]) * q + c[3]) * q + c[4]) * q + c[5]) /
                         ((((d[0] * q + d[1]) * q + d[2]) * q + d[3]) * q + 1);
        return p < low ? x : -x;
    }
    const double q = p - 0.5, r = q * q;
    return (((((a[0] * r + a[1]) * r + a[2]) * r + a[3]) * r + a[4]) * r + a[5]) * q /
           (((((b[0] * r + b[1]) * r + b[2]) * r + b[3]) * r + b[4]) * r + 1);
}

} // namespace

int FollowTiming::bounded(double ms) const
{
    return int(std::lround(std::clamp(ms, double(m_rule.lowMs), double(m_rule.highMs))));
}

void FollowTiming::remember(Press p)
{
    m_presses.push_back(p);
    while (int(m_presses.size()) > m_rule.window)
        m_presses.pop_front();
    ++m_sinceError;
}

void FollowTiming::scanPress(qint64 reactionMs, bool before)
{
    remember({std::max<qint64>(reactionMs, 1), m_ms, before}); // 0 stands for a dwell press
    step();
}

void FollowTiming::dwellPress()
{
    remember({.reactionMs = 0, .intervalMs = m_ms, .looks = m_looks});
    m_looks = 0;
    step();
}

void FollowTiming::rest(qint64 ms)
{
    // Shorter is the pointer passing over a key on its way, not a look.
    if (ms < MinLookMs)
        return;
    m_rests.push_back(ms);
    while (int(m_rests.size()) > m_rule.restWindow)
        m_rests.pop_front();
    ++m_looks;
}

int FollowTiming::wantedDwellMs() const
{
    if (int(m_rests.size()) < m_rule.minRests)
        return 0;
    // Looks longer than the dwell time pressed and are not here: the spread comes from the lower half,
    // which the cut leaves alone (log-normal: the quartile lies 0.674 spreads below the median).
    std::vector<double> logs;
    for (const qint64 r : m_rests)
        logs.push_back(std::log(double(r)));
    std::sort(logs.begin(), logs.end());
    const double median = logs[logs.size() / 2], quartile = logs[logs.size() / 4];
    const double spread = std::max(MinLookSpread, (median - quartile) / 0.6745);
    // Every look before a press may press too soon: the chance is shared among them.
    double looks = 0;
    int presses = 0;
    for (const Press &p : m_presses)
        if (p.reactionMs == 0) {
            looks += p.looks;
            ++presses;
        }
    const double perPress = presses > 0 ? std::max(1.0, looks / presses) : 1.0;
    const double z = normalQuantile(1 - m_rule.errorTarget * m_rule.lateShare / perPress);
    return int(std::lround(std::exp(median + z * spread)));
}

void FollowTiming::error(bool late, int back)
{
    if (back >= 0 && back < int(m_presses.size())) {
        Press &last = m_presses[m_presses.size() - 1 - size_t(back)];
        if (!last.error && late && last.reactionMs > 0)
            last.reactionMs = last.before ? std::max<qint64>(last.reactionMs - last.intervalMs, 1)
                                          : last.reactionMs + last.intervalMs;
        last.error = true;
    }
    m_sinceError = 0;
    if (!m_frozen)
        m_ms = bounded(m_ms * (1 + m_rule.maxStep));
}

void FollowTiming::reset()
{
    m_presses.clear();
    m_rests.clear();
    m_looks = 0;
    m_sinceError = 0;
    m_ms = bounded(m_setMs);
    m_graceMs = 0;
}

void FollowTiming::resume(int ms, int graceMs)
{
    reset();
    if (ms > 0)
        m_ms = bounded(ms);
    m_graceMs = std::clamp(graceMs, 0, m_ms / 2);
}

double FollowTiming::errorRate() const
{
    if (m_presses.empty())
        return 0;
    const auto errors =
        std::count_if(m_presses.begin(), m_presses.end(), [](const Press &p) { return p.error; });
    return double(errors) / double(m_presses.size());
}

FollowTiming::Wanted FollowTiming::wanted() const
{
    // Reaction times are near log-normal: the quantiles come from the mean and
    // spread of their logarithms, steadier than the few largest alone.
    std::vector<double> logs;
    for (const Press &p : m_presses)
        if (p.reactionMs > 0)
            logs.push_back(std::log(double(p.reactionMs)));
    if (int(logs.size()) < m_rule.minReactions)
        return {};
    double mean = 0;
    for (double l : logs)
        mean += l;
    mean /= double(logs.size());
    double var = 0;
    for (double l : logs)
        var += (l - mean) * (l - mean);
    var = std::max(var / double(logs.size() - 1), MinReactionSpread * MinReactionSpread);
    // A press misses when it comes before the grace or after the grace and the interval: half the
    // share on either side.
    const double z = normalQuantile(1 - m_rule.errorTarget * m_rule.lateShare / 2) * std::sqrt(var);
    const double slowest = std::exp(mean + z), quickest = std::exp(mean - z);
    // The grace is never more than half the interval, so most of the time a press takes what is shown.
    const double grace = std::min(quickest, slowest / 3);
    return {int(std::lround(slowest - grace)), int(std::lround(grace))};
}

int FollowTiming::medianReactionMs() const
{
    std::vector<qint64> r;
    for (const Press &p : m_presses)
        if (p.reactionMs > 0)
            r.push_back(p.reactionMs);
    if (r.empty())
        return 0;
    std::nth_element(r.begin(), r.begin() + qsizetype(r.size() / 2), r.end());
    return int(r[r.size() / 2]);
}

void FollowTiming::step()
{
    if (m_frozen || m_sinceError < m_rule.calmPresses)
        return;
    const double most = m_ms * m_rule.maxStep;
    if (m_presses.back().reactionMs == 0) {
        if (const int wanted = wantedDwellMs(); wanted > 0) {
            if (wanted < m_ms && errorRate() >= m_rule.errorTarget)
                return;
            m_ms = bounded(std::clamp(double(wanted), m_ms - most, m_ms + most));
            return;
        }
        // Too few looks yet: shorter after a run without an error, while errors stay under the target.
        if (m_sinceError >= m_rule.runForDwell && m_sinceError % m_rule.runForDwell == 0 &&
            errorRate() < m_rule.errorTarget)
            m_ms = bounded(m_ms - most);
        return;
    }
    const Wanted w = wanted();
    if (w.ms <= 0)
        return;
    // Too many errors: never shorter, whatever the reactions say.
    if (w.ms < m_ms && errorRate() >= m_rule.errorTarget)
        return;
    m_ms = bounded(std::clamp(double(w.ms), m_ms - most, m_ms + most));
    m_graceMs = int(std::lround(std::clamp(double(w.graceMs), m_graceMs - most, m_graceMs + most)));
    m_graceMs = std::clamp(m_graceMs, 0, m_ms / 2);
}

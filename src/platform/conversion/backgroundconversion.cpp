#include "platform/conversion/backgroundconversion.h"

#include <QLoggingCategory>
#include <QMetaObject>
#include <QThread>
#include <chrono>

Q_LOGGING_CATEGORY(lcBackground, "pirokan.conversion")

namespace {
constexpr size_t KeptAnswers = 16;
} // namespace

BackgroundConversion::BackgroundConversion(Factory make, Timing timing)
    : m_make(std::move(make)), m_timing(timing)
{
    m_thread = QThread::create([this] { run(); });
    m_thread->setObjectName(QStringLiteral("conversion"));
    m_thread->start();
}

BackgroundConversion::~BackgroundConversion()
{
    {
        const std::lock_guard lock(m_mutex);
        m_ending = true;
    }
    m_wake.notify_all();
    m_thread->wait();
    delete m_thread;
}

const BackgroundConversion::Answer *BackgroundConversion::cached(Kind kind, const QString &kana) const
{
    for (const Answer &a : m_answers)
        if (a.kind == kind && a.kana == kana)
            return &a;
    return nullptr;
}

const BackgroundConversion::Answer *BackgroundConversion::ask(Kind kind, const QString &kana,
                                                              std::unique_lock<std::mutex> &lock)
{
    if (const Answer *a = cached(kind, kana))
        return a;
    // Only the latest request waits: an older one nobody waits for any more is dropped.
    m_request = std::make_pair(kind, kana);
    m_wake.notify_all();
    m_answer.wait_for(lock, std::chrono::milliseconds(m_timing.waitMs),
                      [&] { return cached(kind, kana) != nullptr; });
    return cached(kind, kana);
}

std::vector<Segment> BackgroundConversion::convert(const QString &kana)
{
    std::unique_lock lock(m_mutex);
    const Answer *a = ask(Kind::Convert, kana, lock);
    return a ? a->segments : std::vector<Segment>{};
}

std::vector<Candidate> BackgroundConversion::predict(const QString &kana)
{
    std::unique_lock lock(m_mutex);
    const Answer *a = ask(Kind::Predict, kana, lock);
    return a ? a->candidates : std::vector<Candidate>{};
}

bool BackgroundConversion::working() const
{
    const std::lock_guard lock(m_mutex);
    return m_working;
}

QString BackgroundConversion::problem() const
{
    const std::lock_guard lock(m_mutex);
    return m_problem;
}

int BackgroundConversion::made() const
{
    const std::lock_guard lock(m_mutex);
    return m_made;
}

void BackgroundConversion::setWorking(bool working, const QString &problem)
{
    {
        const std::lock_guard lock(m_mutex);
        if (!working)
            m_problem = problem;
        if (m_working == working)
            return;
        m_working = working;
        if (!working)
            m_answers.clear(); // what a stopped engine said is not offered as new
    }
    qCInfo(lcBackground).noquote() << (working ? QStringLiteral("conversion works again")
                                               : QStringLiteral("conversion stopped: ") + problem);
    QMetaObject::invokeMethod(
        this, [this, working] { emit workingChanged(working); }, Qt::QueuedConnection);
}

void BackgroundConversion::run()
{
    using Clock = std::chrono::steady_clock;
    std::unique_ptr<ConversionEngine> engine;
    int retryMs = m_timing.firstRetryMs;
    Clock::time_point nextTry = Clock::now();
    for (;;) {
        std::pair<Kind, QString> request{Kind::Convert, QStringLiteral("あ")};
        {
            std::unique_lock lock(m_mutex);
            // With an engine, a request is waited for; without one, the time of the next try, which
            // after a failure comes whether or not anything is asked: the user hears it is back.
            const auto due = [&] { return Clock::now() >= nextTry && (m_request || m_made > 0); };
            const auto ready = [&] { return m_ending || (engine ? m_request.has_value() : due()); };
            if (engine)
                m_wake.wait(lock, ready);
            else
                m_wake.wait_until(lock, nextTry, ready);
            if (m_ending)
                break;
            if (!ready())
                continue;
            if (m_request)
                request = *m_request;
            m_request.reset();
        }
        if (!engine) {
            engine = m_make();
            const std::lock_guard lock(m_mutex);
            ++m_made;
        }
        Answer a{request.first, request.second, {}, {}};
        if (engine) {
            if (request.first == Kind::Convert)
                a.segments = engine->convert(request.second);
            else
                a.candidates = engine->predict(request.second);
        }
        if (!engine || !engine->working()) {
            // Ended here, with its processes; a new one is tried later, each time later still.
            setWorking(false, engine ? engine->problem() : QStringLiteral("no conversion engine"));
            engine.reset();
            nextTry = Clock::now() + std::chrono::milliseconds(retryMs);
            retryMs = std::min(retryMs * 2, m_timing.lastRetryMs);
            continue;
        }
        retryMs = m_timing.firstRetryMs;
        setWorking(true, {});
        {
            const std::lock_guard lock(m_mutex);
            m_answers.push_back(std::move(a));
            if (m_answers.size() > KeptAnswers)
                m_answers.pop_front();
        }
        m_answer.notify_all();
    }
    engine.reset();
}

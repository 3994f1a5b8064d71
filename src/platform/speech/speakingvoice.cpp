#include "platform/speech/speakingvoice.h"

#include "platform/speech/audiooutput.h"
#include "platform/speech/readings.h"
#include "platform/speech/speechengine.h"
#include "platform/voicebank/phrasekey.h"
#include "platform/voicebank/voicebank.h"

#include <algorithm>
#include <chrono>

namespace {
// How often an idle voice looks whether the recordings changed on disk: a stat, no more.
constexpr std::chrono::seconds BankCheck{2};
} // namespace

SpeakingVoice::SpeakingVoice(std::unique_ptr<SpeechEngine> engine, AudioOutput *audio,
                             const QString &cacheFolder)
    : m_engine(std::move(engine)), m_audio(audio), m_cache(cacheFolder)
{
    m_audio->setHealthHandler([this](bool heard) { outputHealth(heard); });
    m_worker = std::thread([this] { run(); });
}

SpeakingVoice::~SpeakingVoice()
{
    m_audio->setHealthHandler({});
    {
        std::lock_guard lock(m_mutex);
        m_quit = true;
        m_cancelUrgent = true;
        m_cancelBackground = true;
    }
    m_wake.notify_all();
    m_worker.join();
}

QString SpeakingVoice::keyOf(const QString &part) const
{
    return m_engine->key() + QChar(0x1f) + part;
}

QStringList SpeakingVoice::partsOf(const QString &text) const
{
    const QString lone = Readings::ofLoneCharacter(text);
    if (lone != text || text.size() <= 1)
        return lone.isEmpty() ? QStringList() : QStringList{m_engine->prepared(lone)};
    QStringList parts;
    for (const QString &clause : Readings::clauses(text)) {
        const QString p = m_engine->prepared(clause);
        if (!p.trimmed().isEmpty())
            parts << p;
    }
    return parts;
}

void SpeakingVoice::play(const Clip &clip, bool pauseAfter)
{
    m_audio->play(clip);
    if (pauseAfter) {
        static const Clip pause = [] {
            Clip c;
            c.samples.assign(size_t(Clip::Rate) * ClausePauseMs / 1000, 0);
            return c;
        }();
        m_audio->play(pause);
    }
}

std::vector<SpeakingVoice::Job> SpeakingVoice::plan(const QString &text, quint64 generation) const
{
    std::vector<Job> jobs;
    VoiceBank *bank = m_bank;
    if (bank && bank->size() > 0) {
        const bool lone = Readings::ofLoneCharacter(text) != text || text.size() <= 1;
        if (lone && bank->has(text, BankEntry::Kind::Kana))
            return {{text, generation, false, Source::BankedKana}};
        if (!lone) {
            for (const QString &piece : PhraseKey::pieces(text)) {
                if (bank->has(piece, BankEntry::Kind::Phrase)) {
                    jobs.push_back({piece, generation, true, Source::BankedPhrase});
                    continue;
                }
                for (const QString &part : partsOf(piece))
                    jobs.push_back({part, generation, true, Source::Engine});
            }
            if (!jobs.empty())
                jobs.back().pauseAfter = false;
            splitFirstPhrase(jobs);
            return jobs;
        }
    }
    const QStringList parts = partsOf(text);
    for (qsizetype i = 0; i < parts.size(); ++i)
        jobs.push_back({parts[i], generation, i + 1 < parts.size(), Source::Engine});
    splitFirstPhrase(jobs);
    return jobs;
}

void SpeakingVoice::splitFirstPhrase(std::vector<Job> &jobs) const
{
    // The first sound waits for the first part to be made: a long first clause is
    // made in two, its first phrase alone, and the rest is made while that plays.
    if (jobs.empty() || jobs.front().source != Source::Engine)
        return;
    const QString first = jobs.front().text;
    const qsizetype end = Readings::firstPhraseEnd(first); // -1 at once for a character
    if (end < 0 || m_cache.inMemory(keyOf(first)))
        return;
    Job head = jobs.front();
    head.text = first.left(end);
    head.pauseAfter = false;
    jobs.front().text = first.mid(end);
    jobs.insert(jobs.begin(), head);
}

std::optional<Clip> SpeakingVoice::readyClip(const Job &job) const
{
    if (job.source == Source::Engine)
        return m_cache.inMemory(keyOf(job.text));
    VoiceBank *bank = m_bank;
    return bank ? bank->cachedClip(job.text, job.source == Source::BankedKana ? BankEntry::Kind::Kana
                                                                              : BankEntry::Kind::Phrase)
                : std::nullopt;
}

std::optional<Clip> SpeakingVoice::makeClip(const Job &job, bool urgent)
{
    if (job.source != Source::Engine) {
        VoiceBank *bank = m_bank;
        const auto kind = job.source == Source::BankedKana ? BankEntry::Kind::Kana : BankEntry::Kind::Phrase;
        if (auto clip = bank ? bank->clip(job.text, kind) : std::nullopt)
            return clip;
        // A recording that cannot be read is said by the engine instead: never silence.
        const QStringList parts = partsOf(job.text);
        return parts.isEmpty() ? std::nullopt : makeClip({parts.join(QString()), job.generation}, urgent);
    }
    const QString key = keyOf(job.text);
    std::optional<Clip> clip = m_cache.find(key);
    if (!clip) {
        m_engine->setLowPriority(!urgent);
        clip = m_engine->synthesize(job.text, urgent ? m_cancelUrgent : m_cancelBackground);
        if (clip)
            m_cache.store(key, *clip);
    }
    if (clip && !urgent)
        m_cache.keepReady(key); // made ahead, to be heard at once whatever else is said meanwhile
    return clip;
}

void SpeakingVoice::speak(const QString &text)
{
    std::unique_lock lock(m_mutex);
    const std::vector<Job> jobs = plan(text, m_generation);
    if (jobs.empty())
        return;
    // A clip already made plays at once, unless earlier requests are still waiting.
    size_t first = 0;
    if (m_urgent.empty() && !m_busyUrgent && !m_nextEngine) { // not the old voice after a change
        while (first < jobs.size()) {
            const auto clip = readyClip(jobs[first]);
            if (!clip)
                break;
            play(*clip, jobs[first].pauseAfter);
            ++first;
        }
    }
    if (first == jobs.size())
        return;
    m_urgent.insert(m_urgent.end(), jobs.begin() + qsizetype(first), jobs.end());
    m_cancelBackground = true; // background work gives way
    lock.unlock();
    m_wake.notify_all();
}

void SpeakingVoice::setBank(VoiceBank *bank)
{
    {
        std::lock_guard lock(m_mutex);
        m_bank = bank;
        m_warmBank = bank != nullptr;
    }
    m_wake.notify_all();
}

void SpeakingVoice::setEngine(std::unique_ptr<SpeechEngine> engine)
{
    {
        std::lock_guard lock(m_mutex);
        ++m_generation;
        m_urgent.clear();
        m_background.clear();
        m_cancelUrgent = true;
        m_cancelBackground = true;
        // The worker takes it between two jobs: nobody waits for the old engine to let go.
        m_nextEngine = std::move(engine);
    }
    m_wake.notify_all();
}

void SpeakingVoice::stop()
{
    {
        std::lock_guard lock(m_mutex);
        ++m_generation;
        m_urgent.clear();
        m_cancelUrgent = true;
    }
    m_audio->stop();
}

void SpeakingVoice::prefetch(const QStringList &texts)
{
    {
        std::lock_guard lock(m_mutex);
        for (const QString &t : texts)
            for (const QString &p : partsOf(t))
                m_background.push_back(p);
    }
    m_wake.notify_all();
}

void SpeakingVoice::setFailureHandler(std::function<void()> handler, bool alreadyReported)
{
    std::lock_guard lock(m_failureMutex);
    m_onFailure = std::move(handler);
    m_failureReported = alreadyReported;
}

void SpeakingVoice::countOutcome(bool engine, bool failed)
{
    std::function<void()> report;
    {
        std::lock_guard lock(m_failureMutex);
        int &inARow = engine ? m_engineFailures : m_outputFailures;
        inARow = failed ? inARow + 1 : 0;
        if (failed && inARow >= FailuresToReport && !m_failureReported && m_onFailure) {
            m_failureReported = true;
            report = m_onFailure;
        }
    }
    if (report)
        report();
}

void SpeakingVoice::outputHealth(bool heard)
{
    if (heard) {
        // Heard again: a later loss of the voice is told anew.
        std::lock_guard lock(m_failureMutex);
        m_outputFailures = 0;
        m_failureReported = false;
    } else {
        countOutcome(false, true);
    }
}

bool SpeakingVoice::isSpeaking() const
{
    {
        std::lock_guard lock(m_mutex);
        if (!m_urgent.empty() || m_busyUrgent)
            return true;
    }
    return m_audio->isPlaying();
}

void SpeakingVoice::waitUntilIdle()
{
    std::unique_lock lock(m_mutex);
    m_idle.wait(lock, [this] { return m_quit || (m_urgent.empty() && m_background.empty() && !m_busy); });
}

void SpeakingVoice::run()
{
    std::unique_lock lock(m_mutex);
    while (true) {
        const bool woken = m_wake.wait_for(lock, BankCheck, [this] {
            return m_quit || !m_urgent.empty() || !m_background.empty() || m_warmBank || m_nextEngine;
        });
        if (!woken) {
            // Idle a while: recordings another Pirokan made meanwhile (an import
            // from the command line) are taken in, and are heard from the next press.
            VoiceBank *bank = m_bank;
            lock.unlock();
            const bool changed = bank && bank->refreshUnlessBusy();
            lock.lock();
            m_warmBank = m_warmBank || (changed && m_bank == bank);
            continue;
        }
        if (m_quit)
            break;
        if (m_nextEngine) {
            m_engine = std::move(m_nextEngine);
            m_cache.forgetReady(); // the new voice's characters are made ready anew
            continue;
        }
        if (m_urgent.empty() && m_background.empty()) {
            // Idle: the next recording is read into memory, so that it starts at once.
            VoiceBank *bank = m_bank;
            lock.unlock();
            const bool more = bank && bank->warmNext();
            lock.lock();
            m_warmBank = more && m_bank == bank;
            continue;
        }
        const bool urgent = !m_urgent.empty();
        Job job;
        if (urgent) {
            job = m_urgent.front();
            m_urgent.pop_front();
            m_cancelUrgent = false;
        } else {
            job = {m_background.front(), 0, false, Source::Engine};
            m_background.pop_front();
            m_cancelBackground = false;
        }
        m_busy = true;
        m_busyUrgent = urgent;
        lock.unlock();

        const std::optional<Clip> clip = makeClip(job, urgent);

        lock.lock();
        if (urgent && clip && job.generation == m_generation)
            play(*clip, job.pauseAfter);
        // Only a part with something to say counts: a lone "。" rightly makes no sound.
        const bool sayable =
            std::any_of(job.text.cbegin(), job.text.cend(), [](QChar c) { return c.isLetterOrNumber(); });
        // An engine that fails on everything (a crash on every utterance) leaves the user mute.
        if (urgent && sayable && !m_cancelUrgent && !m_quit)
            countOutcome(true, !clip);
        if (!urgent && !clip && m_cancelBackground && !m_quit)
            m_background.push_back(job.text); // given way to a request: try again later
        m_busy = false;
        m_busyUrgent = false;
        // Waiters check what they wait for: one for idleness, one (a change of engine) only for this job's
        // end.
        m_idle.notify_all();
    }
    m_idle.notify_all();
}

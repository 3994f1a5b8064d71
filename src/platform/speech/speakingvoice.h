#pragma once

#include "platform/speech/voicecache.h"

#include <QString>
#include <QStringList>
#include <atomic>
#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

class AudioOutput;
class SpeechEngine;
class VoiceBank;

// Speaks through an engine and an audio output without ever holding up the
// caller: requests queue in order on a worker thread; ready clips play at once.
class SpeakingVoice
{
public:
    SpeakingVoice(std::unique_ptr<SpeechEngine> engine, AudioOutput *audio, const QString &cacheFolder);
    ~SpeakingVoice();

    // The pause between two clauses, as Open JTalk makes it within one sentence
    // (measured at 400 to 485 ms after "、" and "。").
    static constexpr int ClausePauseMs = 450;

    // A lone character is said by its reading; a sentence clause by clause,
    // with a natural pause between the clauses. With a bank, a character or a
    // sentence's piece that the user recorded is played from the recording.
    void speak(const QString &text);
    // The user's recordings, observed, never owned; null for none.
    void setBank(VoiceBank *bank);
    // Speaks with another engine from now on: what was waiting is dropped.
    void setEngine(std::unique_ptr<SpeechEngine> engine);
    // Ends the sound and drops what was waiting, and any synthesis in progress.
    void stop();
    // Makes clips for these texts in the background, when nothing else is asked for.
    void prefetch(const QStringList &texts);
    // Whether anything asked for is still to be heard: being made, waiting or sounding.
    bool isSpeaking() const;
    // Called, from any thread, when speech has failed this many times in a row: the engine
    // made nothing, or the output dropped what it could not play. Once, until speech is
    // heard again; alreadyReported when the user has just been told in another way.
    static constexpr int FailuresToReport = 3;
    void setFailureHandler(std::function<void()> handler, bool alreadyReported = false);

    // For tests and benchmarks: waits until the background work is done.
    void waitUntilIdle();
    void forgetMemoryCache() { m_cache.clearMemory(); }
    // The parts a text is said in, as the engine is given them.
    QStringList partsOf(const QString &text) const;

private:
    enum class Source { Engine, BankedPhrase, BankedKana };
    struct Job
    {
        QString text;
        quint64 generation;
        bool pauseAfter = false;
        Source source = Source::Engine;
    };

    // What a text is said in, in order: recordings and parts for the engine.
    std::vector<Job> plan(const QString &text, quint64 generation) const;
    void splitFirstPhrase(std::vector<Job> &jobs) const;
    std::optional<Clip> readyClip(const Job &job) const;
    std::optional<Clip> makeClip(const Job &job, bool urgent);

    // Hands a clip to the output, with the clause pause after it when asked.
    void play(const Clip &clip, bool pauseAfter);

    void run();
    // Counts an outcome of the engine or of the output, and reports when it must.
    void countOutcome(bool engine, bool failed);
    void outputHealth(bool heard);
    QString keyOf(const QString &part) const;

    std::unique_ptr<SpeechEngine> m_engine;     // used and replaced by the worker, or under m_mutex
    std::unique_ptr<SpeechEngine> m_nextEngine; // waiting to replace it
    AudioOutput *m_audio;
    VoiceCache m_cache;
    std::atomic<VoiceBank *> m_bank{nullptr};

    mutable std::mutex m_mutex;
    std::condition_variable m_wake;
    std::condition_variable m_idle;
    std::deque<Job> m_urgent;
    std::deque<QString> m_background;
    bool m_busyUrgent = false;
    bool m_busy = false;
    bool m_quit = false;
    bool m_warmBank = false; // recordings are still to be read into memory
    std::atomic<quint64> m_generation{0};
    std::atomic_bool m_cancelUrgent{false};
    std::atomic_bool m_cancelBackground{false};
    std::mutex m_failureMutex; // apart: the output reports from its own thread, under its own lock
    std::function<void()> m_onFailure;
    int m_engineFailures = 0; // in a row
    int m_outputFailures = 0;
    bool m_failureReported = false;
    std::thread m_worker;
};

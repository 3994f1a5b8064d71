#pragma once

#include "platform/conversion/conversionengine.h"

#include <QObject>
#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>

class QThread;

struct BackgroundConversionTiming
{
    int waitMs = 100;        // the longest a call waits for its answer
    int firstRetryMs = 2000; // after the first failure; doubled after each
    int lastRetryMs = 60000; // the longest wait between two tries
};

// A conversion engine run on a thread of its own, so that a server that is
// slow, stopped or gone never holds up the window: each call waits at most
// a bound far below a frame of typing, and an answer that comes later is
// kept for the next call with the same kana. An engine that stops is ended
// and made again in the background, waiting longer after each failure.
class BackgroundConversion final : public QObject, public ConversionEngine
{
    Q_OBJECT
public:
    using Factory = std::function<std::unique_ptr<ConversionEngine>()>;
    using Timing = BackgroundConversionTiming;

    // `make` runs on the engine's thread, as does everything the engine does.
    explicit BackgroundConversion(Factory make, Timing timing = {});
    // Ends the engine (and whatever processes it runs) on its thread, then the thread.
    ~BackgroundConversion() override;

    std::vector<Segment> convert(const QString &kana) override;
    std::vector<Candidate> predict(const QString &kana) override;
    // False from the engine's failure until a new one works.
    bool working() const override;
    QString problem() const override;

    // How many engines were made so far (the first and each restart).
    int made() const;

signals:
    // On the GUI thread, whenever the engine stops working or works again.
    void workingChanged(bool working);

private:
    enum class Kind { Convert, Predict };
    struct Answer
    {
        Kind kind;
        QString kana;
        std::vector<Segment> segments;
        std::vector<Candidate> candidates;
    };
    const Answer *ask(Kind kind, const QString &kana, std::unique_lock<std::mutex> &lock);
    const Answer *cached(Kind kind, const QString &kana) const;
    void run();
    void setWorking(bool working, const QString &problem);

    Factory m_make;
    Timing m_timing;
    mutable std::mutex m_mutex;
    std::condition_variable m_wake;   // the engine's thread: a request, or the end
    std::condition_variable m_answer; // a caller: an answer
    std::optional<std::pair<Kind, QString>> m_request;
    std::deque<Answer> m_answers; // the latest few
    bool m_working = true;
    QString m_problem;
    bool m_ending = false;
    int m_made = 0;
    QThread *m_thread = nullptr;
};

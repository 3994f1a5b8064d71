// Switch scanning: how many highlights, and how many seconds, a character
// costs with each layout, typing the starter sentences through the scanner on
// the hiragana board; how steady the scan timer ticks while the machine is
// busy; how surely a trembling gaze pointer presses the board cell it aims at
// by dwelling, while sweeps across the board press nothing; and how surely, and
// when, a pointer that comes to a dead stop on a cell presses it.
#include "access/accesscontrol.h"
#include "access/dwell.h"
#include "access/pointersmoothing.h"
#include "entries/entryformat.h"
#include "scancount.h"
#include "support/talkfixture.h"
#include "timing.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <atomic>
#include <cstdio>
#include <random>
#include <thread>

namespace {

constexpr int ScanMs = 1200; // the default interval

// With the call where the program puts it, nowhere (before there was a call) and first.
void typeSentences(const ScanCount::Layout &layout, ScanCount::CallPlace place)
{
    int chars = 0, steps = 0;
    for (const QString &sentence : EntryFormat::starterSentences()) {
        for (const QChar ch : sentence) {
            const int n = ScanCount::stepsForCharacter(layout, QString(ch), {}, 1, place);
            if (n < 0)
                continue; // kanji and the like are not on the board
            steps += n;
            ++chars;
        }
    }
    const double perChar = double(steps) / chars;
    const char *call = ScanCount::nameOf(place);
    std::printf("scan_steps_per_char layout=%s call=%s value=%.2f\n", layout.name, call, perChar);
    std::printf("scan_seconds_per_char layout=%s call=%s value=%.2f\n", layout.name, call,
                perChar * ScanMs / 1000.0);
    std::fflush(stdout);
}

// The scan timer as the program runs it, each tick reading the real main window,
// while every core is kept busy.
void tickJitter(QApplication &app)
{
    TalkFixture f({}, false);
    f.accessSettings.values = {{"Method", "2"}, {"ScanMs", "300"}};
    if (!f.start())
        return;
    AccessControl &access = f.program().access;
    access.setManualTicks(true);

    std::atomic<bool> stop{false};
    std::vector<std::thread> load;
    for (unsigned i = 0; i < std::max(2u, std::thread::hardware_concurrency()); ++i)
        load.emplace_back([&stop] {
            volatile double x = 1;
            while (!stop)
                for (int k = 0; k < 100000; ++k)
                    x = x * 1.0000001 + 1e-9;
        });

    Timings jitter;
    QElapsedTimer clock;
    QTimer timer;
    timer.setTimerType(Qt::PreciseTimer);
    timer.setInterval(300);
    int ticks = 0;
    qint64 last = -1;
    QObject::connect(&timer, &QTimer::timeout, &app, [&] {
        const qint64 now = clock.nsecsElapsed();
        if (last >= 0)
            jitter.add(std::chrono::nanoseconds(std::llabs(now - last - 300'000'000LL)));
        last = now;
        access.tick();
        if (++ticks > 100)
            app.quit();
    });
    clock.start();
    timer.start();
    app.exec();
    stop = true;
    for (auto &t : load)
        t.join();
    jitter.print("scan_tick_jitter");
}

// A gaze pointer as an eye tracker moves it: 60 places a second, trembling with
// a spread (standard deviation) of 12 px about where the eye aims. The program
// samples it as it does on screen, steadies it and hit-tests the real board.
class Gaze
{
public:
    static constexpr int SamplesPerSecond = 60;
    static constexpr double SpreadPx = 12;

    explicit Gaze(const Grid *board) : m_board(board), m_rng(19) {}

    std::mt19937 &rng() { return m_rng; }

    // Where the eye is at `ms`, and the cell the program takes it to be on.
    int sample(QPointF aim, qint64 ms)
    {
        const qint64 tick = ms * SamplesPerSecond / 1000;
        if (tick != m_tick) {
            m_tick = tick;
            m_at = aim + QPointF(m_tremble(m_rng), m_tremble(m_rng));
        }
        const QPoint steadied = m_smoothing.add(m_at.toPoint(), ms);
        const auto [row, col] = m_board->cellAt(steadied);
        return row < 0 ? -1 : row * m_board->cols() + col;
    }
    void reset()
    {
        m_smoothing.reset();
        m_tick = -1;
    }

private:
    const Grid *m_board;
    std::mt19937 m_rng;
    std::normal_distribution<double> m_tremble{0, SpreadPx};
    PointerSmoothing m_smoothing;
    qint64 m_tick = -1;
    QPointF m_at;
};

void gazeDwell(QApplication &)
{
    TalkFixture f({}, false);
    if (!f.start())
        return;
    const Grid *board = f.window().grdBoard;
    constexpr int DwellMs = Dwell::DefaultMs, Tries = 1000, Sweeps = 200, AimOffPx = 30;
    const int limitMs = DwellMs * 3 / 2;
    Gaze gaze(board);
    std::uniform_int_distribution<int> anyRow(0, board->rows() - 1), anyCol(0, board->cols() - 1), side(0, 3);
    const QPointF towards[] = {{-1, 0}, {1, 0}, {0, -1}, {0, 1}};

    int completed = 0, onNeighbour = 0;
    for (int i = 0; i < Tries; ++i) {
        const int row = anyRow(gaze.rng()), col = anyCol(gaze.rng());
        int fromRow = anyRow(gaze.rng()), fromCol = anyCol(gaze.rng());
        if (fromRow == row && fromCol == col)
            fromCol = (col + 5) % board->cols();
        const QPointF from = QRectF(board->cellRect(fromRow, fromCol)).center();
        const QPointF aim = QRectF(board->cellRect(row, col)).center() + AimOffPx * towards[side(gaze.rng())];
        Dwell dwell(DwellMs);
        gaze.reset();
        std::optional<int> pressed;
        qint64 at = -400; // the eye rests elsewhere first, then moves to the cell at 0
        for (; at <= limitMs && !pressed; at += AccessControl::DwellSampleMs)
            pressed = dwell.sample(gaze.sample(at < 0 ? from : aim, at), false, at);
        if (pressed == row * board->cols() + col)
            ++completed;
        else if (pressed)
            ++onNeighbour;
    }

    // Sweeps from one side of the board to the other along a row, in 1, 2 and 4 s.
    int falsePresses = 0;
    for (int i = 0; i < Sweeps; ++i) {
        const int row = anyRow(gaze.rng());
        const int sweepMs = 1000 << (i % 3);
        const QPointF start = QRectF(board->cellRect(row, 0)).center();
        const QPointF end = QRectF(board->cellRect(row, board->cols() - 1)).center();
        Dwell dwell(DwellMs);
        gaze.reset();
        for (qint64 at = 0; at <= sweepMs; at += AccessControl::DwellSampleMs)
            if (dwell.sample(gaze.sample(start + (end - start) * (double(at) / sweepMs), at), false, at))
                ++falsePresses;
    }
    std::printf("dwell_completion_rate value=%.3f tries=%d within_ms=%d\n", double(completed) / Tries, Tries,
                limitMs);
    std::printf("dwell_neighbour_presses value=%d tries=%d\n", onNeighbour, Tries);
    std::printf("dwell_sweep_false_presses value=%d sweeps=%d\n", falsePresses, Sweeps);
    std::fflush(stdout);
}

// A pointer that holds dead still once on its cell (a fixation filter, a head
// mouse's dead zone, a hand resting on a trackball), through the real window:
// it rests off the window, then jumps to the cell, or glides there in 15 steps
// over a quarter of a second, and never moves again. The program samples it
// every DwellSampleMs, as its timer does on screen.
void stillDwell(QApplication &)
{
    TalkFixture f({}, false);
    constexpr int DwellMs = Dwell::DefaultMs, Tries = 100, GlideMs = 250, GlideSteps = 15;
    f.accessSettings.values = {{"Method", "1"}, {"DwellMs", QString::number(DwellMs)}};
    if (!f.start())
        return;
    AccessControl &access = f.program().access;
    access.setManualTicks(true);
    TestTalkWindow &w = f.window();
    const Grid *board = w.grdBoard;
    const int limitMs = DwellMs * 3 / 2;
    std::mt19937 rng(23);
    std::uniform_int_distribution<int> anyRow(0, board->rows() - 1), anyCol(0, board->cols() - 1);
    const QPoint away = w.mapToGlobal(QPoint(-2000, -2000));

    Timings idleSample; // a sample of a pointer resting off the window, taken 20 times a second
    for (const bool glide : {false, true}) {
        int completed = 0;
        Timings afterStop;
        qint64 at = 0;
        for (int i = 0; i < Tries; ++i) {
            int row = anyRow(rng), col = anyCol(rng);
            while (board->textMatrix(row, col).trimmed().isEmpty())
                row = anyRow(rng), col = anyCol(rng);
            const QPoint aim = board->mapToGlobal(board->cellRect(row, col).center());
            const QPoint from = board->mapToGlobal(board->cellRect(anyRow(rng), anyCol(rng)).center());
            for (const qint64 rest = at + 1000; at < rest; at += AccessControl::DwellSampleMs) {
                const auto before = std::chrono::steady_clock::now();
                access.pointerAt(away, at);
                idleSample.add(std::chrono::steady_clock::now() - before);
            }
            const qint64 start = at, stop = start + (glide ? GlideMs : 0);
            auto place = [&](qint64 t) {
                if (t >= stop)
                    return aim;
                // The glide moves in steps, as a pointer's reports come.
                const double done = double((t - start) * GlideSteps / GlideMs + 1) / GlideSteps;
                return from + (aim - from) * done;
            };
            for (; at <= stop + limitMs && !w.fraSet->isVisible(); at += AccessControl::DwellSampleMs)
                access.pointerAt(place(at), at);
            const qint64 pressedAt = at - AccessControl::DwellSampleMs;
            if (w.fraSet->isVisible() && w.grdBoard2->textMatrix(1, 1) == board->textMatrix(row, col)) {
                ++completed;
                afterStop.add(std::chrono::milliseconds(pressedAt - stop));
            }
            if (w.fraSet->isVisible())
                TalkFixture::press(w.cmdEnd2);
        }
        const char *road = glide ? "glide" : "jump";
        std::printf("dwell_still_completion_rate road=%s value=%.3f tries=%d within_ms=%d dwell_ms=%d\n",
                    road, double(completed) / Tries, Tries, limitMs, DwellMs);
        if (completed > 0)
            afterStop.print((std::string("dwell_still_ms_after_stop road=") + road).c_str());
        std::fflush(stdout);
    }
    idleSample.print("dwell_idle_sample");
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    for (const ScanCount::Layout &l : ScanCount::Layouts)
        for (const ScanCount::CallPlace place : ScanCount::CallPlaces)
            typeSentences(l, place);
    QApplication app(argc, argv);
    gazeDwell(app);
    stillDwell(app);
    tickJitter(app);
    return 0;
}

// Lists at scale: 50,000 example sentences and 5,000 addresses; then a 100 MB
// Talk.txt of 3.4 million lines, as made and as the program saves it, and
// one sentence of 10 MB.
#include "board/board.h"
#include "entries/entryfiles.h"
#include "entries/entryformat.h"
#include "shared/talkstate.h"
#include "support/talkfixture.h"
#include "timing.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QTest>
#include <sys/resource.h>

namespace {

QString randomKana(QRandomGenerator &rng, int length)
{
    QString s;
    for (int i = 0; i < length; ++i)
        s += QChar(char16_t(u'ぁ' + rng.bounded(0x53)));
    return s;
}

template <typename F> void time(Timings &timings, int runs, F &&f)
{
    for (int i = 0; i < runs; ++i) {
        const auto start = std::chrono::steady_clock::now();
        f(i);
        timings.add(std::chrono::steady_clock::now() - start);
    }
}

double msSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

// Opens and closes the example list, drawn; the time of the opening.
std::chrono::steady_clock::duration openList(TalkFixture &f)
{
    TestTalkWindow &w = f.window();
    const auto start = std::chrono::steady_clock::now();
    f.press(w.cmdSamp);
    w.grdEx->repaint();
    const auto ms = std::chrono::steady_clock::now() - start;
    if (CurrentMode(w) != Mode::ExampleList)
        qFatal("the list did not open");
    f.press(w.cmdSamp);
    return ms;
}

// Starts on the example file as it lies and prints the time; false when the start failed.
bool timedStart(TalkFixture &f, const char *name)
{
    const auto start = std::chrono::steady_clock::now();
    if (!f.start())
        return false;
    std::printf("%s=%.0f\n", name, msSince(start));
    return true;
}

// Presses on the first screen, each followed by the suggestions from every
// sentence; the time of each press, and of the lookup within it.
void timeKeypresses(TalkFixture &f)
{
    TestTalkWindow &w = f.window();
    Grid *board = w.grdBoard;
    Timings press, lookup;
    for (int i = 0; i < 40; ++i) {
        f.shared().state.showBoard();
        w.txtTalk->setText(QString());
        const QPoint at = board->visualRect(board->model()->index(i % 5, i % 10)).center();
        const auto start = std::chrono::steady_clock::now();
        QTest::mousePress(board->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseRelease(board->viewport(), Qt::LeftButton, {}, at);
        press.add(std::chrono::steady_clock::now() - start);
        if (w.txtTalk->text().isEmpty())
            qFatal("the press entered nothing");
        time(lookup, 1, [&](int) { f.program().suggestions.SuggestFromTail(w.txtTalk->text()); });
    }
    press.print("large_file_keypress");
    lookup.print("large_file_suggest_lookup");
    f.shared().state.showBoard();
}

int largeFiles(QRandomGenerator &rng)
{
    const QString sorted = QDir::temp().filePath(QStringLiteral("bench_lists_sorted_talk.txt"));
    {
        // Entries entered straight on the first screen, so each press is one character.
        TalkFixture f({{QStringLiteral("OPT1"), QStringLiteral("2")}}, false);
        QStringList talk{EntryFormat::Placeholder, EntryFormat::Placeholder};
        for (int i = 0; i < 3400000; ++i)
            talk << randomKana(rng, 5 + int(rng.bounded(19)));
        f.writeEntries(EntryFiles::Samples, talk);
        talk.clear();
        std::printf("large_file_mb=%.1f\n",
                    QFileInfo(f.entries.pathOf(EntryFiles::Samples)).size() / 1024.0 / 1024.0);
        if (!timedStart(f, "large_file_start_ms"))
            return 1;
        std::printf("large_file_list_open_ms=%.0f\n",
                    std::chrono::duration<double, std::milli>(openList(f)).count());
        TestTalkWindow &w = f.window();
        f.typed(QStringLiteral("おおきいふぁいる_"));
        const auto start = std::chrono::steady_clock::now();
        f.program().registering.cmdSampADD_Click();
        std::printf("large_file_register_ms=%.0f\n", msSince(start));
        if (CurrentMode(w) != Mode::ExampleList)
            qFatal("the sentence was not registered");
        f.press(w.cmdSamp);
        timeKeypresses(f);
        // As the program saved it: sorted, with the menu lines first.
        QFile::remove(sorted);
        QFile::copy(f.entries.pathOf(EntryFiles::Samples), sorted);
    }
    {
        TalkFixture f({}, false);
        QFile::remove(f.entries.pathOf(EntryFiles::Samples));
        QFile::copy(sorted, f.entries.pathOf(EntryFiles::Samples));
        if (!timedStart(f, "large_file_sorted_start_ms"))
            return 1;
    }
    {
        // The same file with the strip of candidates on: a press and the lookups after it, until
        // the next press can come.
        TalkFixture f(
            {{QStringLiteral("OPT1"), QStringLiteral("2")}, {QStringLiteral("Kanji"), QStringLiteral("1")}},
            false);
        QFile::remove(f.entries.pathOf(EntryFiles::Samples));
        QFile::copy(sorted, f.entries.pathOf(EntryFiles::Samples));
        if (!f.start())
            return 1;
        TestTalkWindow &w = f.window();
        Grid *board = w.grdBoard;
        Timings press;
        for (int i = 0; i < 20; ++i) {
            const QPoint at = board->visualRect(board->model()->index(i % 5, i % 10)).center();
            const auto start = std::chrono::steady_clock::now();
            QTest::mousePress(board->viewport(), Qt::LeftButton, {}, at);
            QTest::mouseRelease(board->viewport(), Qt::LeftButton, {}, at);
            QCoreApplication::processEvents(); // the strip's lookups, after the voice has started
            QCoreApplication::processEvents();
            press.add(std::chrono::steady_clock::now() - start);
        }
        press.print("large_file_strip_keypress");
    }
    QFile::remove(sorted);
    TalkFixture f({}, false);
    QStringList talk{EntryFormat::Placeholder, EntryFormat::Placeholder,
                     randomKana(rng, 10 * 1024 * 1024 / 2)};
    for (int i = 0; i < 100; ++i)
        talk << randomKana(rng, 10);
    f.writeEntries(EntryFiles::Samples, talk);
    if (!f.start())
        return 1;
    openList(f);
    Timings longLine;
    for (int i = 0; i < 3; ++i)
        longLine.add(openList(f));
    longLine.print("long_line_list_open");
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QRandomGenerator rng(1234);
    TalkFixture f({}, false);
    QStringList talk{EntryFormat::Placeholder, EntryFormat::Placeholder};
    for (int i = 0; i < 50000; ++i)
        talk << randomKana(rng, 5 + int(rng.bounded(25)));
    f.writeEntries(EntryFiles::Samples, talk);
    QStringList addresses;
    for (int i = 0; i < 5000; ++i)
        addresses << randomKana(rng, 4) + QStringLiteral(",") + QStringLiteral("user%1@example.jp").arg(i);
    f.writeEntries(EntryFiles::Addresses, addresses);
    if (!f.start())
        return 1;
    TestTalkWindow &w = f.window();

    Timings open;
    for (int i = 0; i < 10; ++i) {
        time(open, 1, [&](int) {
            f.press(w.cmdSamp);
            w.grdEx->repaint();
        });
        if (CurrentMode(w) != Mode::ExampleList)
            qFatal("the list did not open");
        f.press(w.cmdSamp);
    }
    open.print("list_open");

    Timings lookup;
    for (int i = 0; i < 500; ++i) {
        f.typed(randomKana(rng, 3) + QStringLiteral("_"));
        time(lookup, 1, [&](int) { f.program().suggestions.SuggestFromTail(w.txtTalk->text()); });
    }
    lookup.print("suggest_lookup");
    f.press(w.cmdSamp);
    f.press(w.cmdSamp);

    Timings registering;
    time(registering, 10, [&](int i) {
        if (CurrentMode(w) != Mode::Board)
            f.press(w.cmdSamp);
        f.typed(QStringLiteral("とうろく%1_").arg(i));
        f.program().registering.cmdSampADD_Click();
        if (CurrentMode(w) != Mode::ExampleList)
            qFatal("the sentence was not registered");
    });
    registering.print("register");

    Timings addressOpen;
    time(addressOpen, 10, [&](int) {
        f.program().files.LoadAddressFile();
        f.program().indexRows.IndexAddressRows();
        f.shared().state.showList(ListId::Addresses); // the list shows once it is filled
        w.grdAD->repaint();
    });
    addressOpen.print("address_open");

    if (const int failed = largeFiles(rng))
        return failed;

    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("peak_rss_mb=%.1f\n", usage.ru_maxrss / 1024.0);
    return 0;
}

// Lists at scale: 50,000 example sentences and 5,000 addresses.
#include "board/board.h"
#include "entries/entryfiles.h"
#include "entries/entryformat.h"
#include "shared/talkstate.h"
#include "support/talkfixture.h"
#include "timing.h"

#include <QApplication>
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

    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("peak_rss_mb=%.1f\n", usage.ru_maxrss / 1024.0);
    return 0;
}

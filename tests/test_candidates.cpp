// The strip of kanji candidates in the running main window, on a fake engine.
#include "support/talkfixture.h"

#include <QAccessible>
#include <QFontMetrics>
#include <QTest>

namespace {

const QHash<QString, QString> CandidatesOn = {{"Kanji", "1"}, {"OPT1", "2"}, {"Samp", "0"}};

// Enters a character as a press on its board cell does.
void enter(TalkFixture &f, const QString &ch)
{
    Grid *g = f.window().grdBoard;
    for (int r = 0; r < g->rows(); ++r)
        for (int c = 0; c < g->cols(); ++c)
            if (g->textMatrix(r, c) == ch) {
                TalkFixture::pressCell(g, r, c);
                return;
            }
    qFatal("no board cell for %s", qPrintable(ch));
}

QList<ColorButton *> strip(TalkFixture &f)
{
    QList<ColorButton *> out;
    for (auto *b :
         f.window().findChild<QWidget *>("fraCand")->findChildren<ColorButton *>(QStringLiteral("cmdCand")))
        if (b->isVisible())
            out << b;
    return out;
}

ColorButton *candidate(TalkFixture &f, const QString &text)
{
    for (ColorButton *b : strip(f))
        if (b->text() == text)
            return b;
    qFatal("no candidate %s", qPrintable(text));
}

QHash<QString, QRect> places(QWidget &window)
{
    QHash<QString, QRect> out;
    for (QWidget *w : window.findChildren<QWidget *>())
        if (!w->objectName().isEmpty() && w->isVisible())
            out.insert(w->objectName(), w->geometry());
    return out;
}

} // namespace

class TestCandidates : public QObject
{
    Q_OBJECT

private slots:
    void nothingMovesWhenOffAndTheStripHidesNothingWhenOn()
    {
        TalkFixture off;
        TestTalkWindow untouched; // as the window is built, before any option
        off.window().show();
        untouched.show();
        QCOMPARE(places(off.window()), places(untouched));
        QVERIFY(!off.window().findChild<QWidget *>("fraCand")->isVisible());

        TalkFixture on(CandidatesOn);
        TestTalkWindow &w = on.window();
        w.show();
        const QRect cand = w.findChild<QWidget *>("fraCand")->geometry();
        QVERIFY(cand.isValid());
        QVERIFY(!cand.intersects(w.grdBoard->geometry()));
        QVERIFY(!cand.intersects(w.fraText->geometry()));
        QCOMPARE(w.grdBoard->rows(), 5);
    }

    void aTakeIsSaidAndBackspaceGivesTheKanaBack()
    {
        TalkFixture f(CandidatesOn);
        f.conversion.conversions.insert("たいい", {{"たいい", {"体位", "退位"}}});
        f.conversion.predictions.insert("たいい", {{"体位変換", "たいいへんかん"}});
        f.window().show();
        f.typed("たい_");
        enter(f, "い");
        // The character is said before any lookup; the candidates follow.
        QCOMPARE(f.agent.spoken().value(f.agent.spoken().size() - 1), QStringLiteral("い"));
        QCOMPARE(f.conversion.calls, 1); // only the start-up's warm-up
        QTRY_VERIFY(!strip(f).isEmpty());
        const QList<ColorButton *> buttons = strip(f);
        QCOMPARE(buttons.front()->text(), QStringLiteral("体位"));
        for (ColorButton *b : buttons) {
            QVERIFY(b->height() >= 44);
            QVERIFY(b->width() > QFontMetrics(b->font()).horizontalAdvance(b->text()));
            QCOMPARE(QAccessible::queryAccessibleInterface(b)->text(QAccessible::Name), b->text());
        }

        // A small window takes the strip's room from the board, never from the candidates' height.
        const QSize size = f.window().size();
        const int height = buttons.front()->height();
        f.window().resize(size / 3);
        QTRY_VERIFY(!strip(f).isEmpty() && strip(f).front()->height() >= 44 &&
                    !f.window().findChild<QWidget *>("fraCand")->geometry().intersects(
                        f.window().grdBoard->geometry()));
        f.window().resize(size);
        QTRY_COMPARE(strip(f).front()->height(), height);

        TalkFixture::press(strip(f).front());
        QCOMPARE(f.window().txtTalk->text(), QStringLiteral("体位_"));
        QCOMPARE(f.agent.spoken().back(), QStringLiteral("体位"));
        TalkFixture::press(f.window().cmdRes[1]);
        QCOMPARE(f.window().txtTalk->text(), QStringLiteral("たいい_"));
        QCOMPARE(f.agent.spoken().back(), QStringLiteral("たいい"));
        // Once the kana are back, ＢＳ deletes as it always does; typing on goes on.
        TalkFixture::press(f.window().cmdRes[1]);
        QCOMPARE(f.window().txtTalk->text(), QStringLiteral("たい_"));
        enter(f, "い");
        QTRY_VERIFY(!strip(f).isEmpty());
        TalkFixture::press(candidate(f, "体位変換"));
        QCOMPARE(f.window().txtTalk->text(), QStringLiteral("体位変換_"));
        // What was taken is learnt and kept in the user's folder.
        QVERIFY(QFile::exists(f.learnt.path()));
    }

    // Over a list or an opened entry the strip presses nothing: a take there would write into the
    // text under the list, and leaving the list would offer to save it over the entry last opened.
    void theStripPressesNothingOverAList()
    {
        TalkFixture f(CandidatesOn);
        f.conversion.conversions.insert("たいい", {{"たいい", {"体位", "退位"}}});
        f.window().show();
        f.typed("たい_");
        enter(f, "い");
        QTRY_VERIFY(!strip(f).isEmpty());
        f.press(f.window().cmdSamp);
        const QString before = f.window().txtTalk->text();
        QVERIFY(!f.window().findChild<QWidget *>("fraCand")->isEnabled());
        candidate(f, "体位")->click();
        QCOMPARE(f.window().txtTalk->text(), before);
        QCOMPARE(CurrentMode(f.window()), Mode::ExampleList);
        f.press(f.window().cmdSamp);
        QVERIFY(f.window().findChild<QWidget *>("fraCand")->isEnabled());
    }

    void aTakeOverStoredSentencesIsKeptOnDecide()
    {
        TalkFixture f({{"Kanji", "1"}, {"OPT1", "2"}}, false);
        f.writeEntries("Talk.txt", {"体位を変えてください", "たいへんです"});
        f.conversion.conversions.insert("たい", {{"たい", {"体位", "鯛"}}});
        QVERIFY(f.start());
        f.window().show();
        f.typed("た_");
        enter(f, "い");
        QVERIFY(f.window().grdSp->isVisible());
        QTRY_VERIFY(!strip(f).isEmpty());
        TalkFixture::press(candidate(f, "体位"));
        // The list now follows what was taken, so Decide on its first row keeps it.
        QCOMPARE(f.window().grdSp->textMatrix(0, 0), QStringLiteral("体位"));
        QCOMPARE(f.window().grdSp->textMatrix(1, 0), QStringLiteral("体位を変えてください"));
        TalkFixture::press(f.window().cmdDec);
        QCOMPARE(f.window().txtTalk->text(), QStringLiteral("体位_"));
        // A take that no stored sentence begins with brings the board back.
        f.typed("た_");
        enter(f, "い");
        QTRY_VERIFY(!strip(f).isEmpty());
        // A word once taken does not hide the run's other forms.
        TalkFixture::press(candidate(f, "鯛"));
        QCOMPARE(f.window().txtTalk->text(), QStringLiteral("鯛_"));
        QVERIFY(!f.window().grdSp->isVisible());
        QVERIFY(f.window().grdBoard->isVisible());
    }

    void theStripIsScannedFirstWhenItHoldsCandidates()
    {
        TalkFixture f(CandidatesOn, false);
        f.accessSettings.values = {{"Method", "2"}};
        f.conversion.conversions.insert("かんき", {{"かんき", {"換気", "寒気"}}});
        QVERIFY(f.start());
        f.window().show();
        AccessControl &access = f.program().access;
        access.setManualTicks(true);
        access.tick();
        QVERIFY(access.screen().tree.children.front().label != QStringLiteral("漢字の候補"));
        f.typed("かん_");
        enter(f, "き");
        QTRY_VERIFY(!strip(f).isEmpty());
        access.tick();
        const ScanNode &first = access.screen().tree.children.front();
        QCOMPARE(first.label, QStringLiteral("漢字の候補"));
        QCOMPARE(first.children.front().label, QStringLiteral("換気"));
        access.screen().targets[size_t(first.children.front().target)].press();
        QCOMPARE(f.window().txtTalk->text(), QStringLiteral("換気_"));
    }

    void aStoppedEngineIsToldOnceAndWritingGoesOn()
    {
        TalkFixture f(CandidatesOn);
        f.conversion.stopped = true;
        f.window().show();
        enter(f, "あ");
        auto *notice = f.window().findChild<QLabel *>("lblCandNotice");
        QTRY_VERIFY(notice->isVisible());
        QVERIFY(notice->text().contains(QStringLiteral("かなで書き続けられます")));
        enter(f, "い");
        QCOMPARE(f.window().txtTalk->text(), QStringLiteral("あい_"));
        QVERIFY(strip(f).isEmpty());
    }

    void storedKanjiSentencesAreSuggestedByTheirReading()
    {
        TalkFixture f({{"Kanji", "1"}, {"OPT1", "2"}}, false);
        f.writeEntries("Talk.txt", {"すみません", "看護師さんを呼んでください", "ありがとう"});
        QVERIFY(f.start());
        f.window().show();
        f.typed("か_");
        enter(f, "ん");
        QVERIFY(f.window().grdSp->isVisible());
        QCOMPARE(f.window().grdSp->textMatrix(1, 0), QStringLiteral("看護師さんを呼んでください"));
        // In the example list it is headed, and sorted, under the row of its reading.
        const Grid *ex = f.window().grdEx;
        QCOMPARE(ex->textMatrix(ex->rows() - 2, 1), QStringLiteral("看護師さんを呼んでください"));
        QCOMPARE(ex->textMatrix(ex->rows() - 2, 0), QStringLiteral("か行"));
        QCOMPARE(ex->textMatrix(ex->rows() - 1, 1), QStringLiteral("すみません"));
    }
};

QTEST_MAIN(TestCandidates)
#include "test_candidates.moc"

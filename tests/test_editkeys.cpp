#include "support/talkfixture.h"
#include "text/editkeys.h"
#include "text/keyrepeat.h"

#include <QTest>
#include <QTextCursor>

// The five edit keys on the text model: a highlighted character marks where
// the next one goes, and the text ends in the marker "_".
class TestEditKeys : public QObject
{
    Q_OBJECT

    // Sets the text and highlights the character at p (or puts a caret there when len is 0).
    static void set(TextBox *box, const QString &text, int p, int len = 1)
    {
        box->setText(text);
        box->setSelStart(p);
        box->setSelLength(len);
    }
    static void check(TextBox *box, const QString &text, const QString &highlighted, int p)
    {
        QCOMPARE(box->text(), text);
        QCOMPARE(box->selText(), highlighted);
        QCOMPARE(box->selStart(), p);
    }

private slots:
    void singleActions()
    {
        TalkFixture f;
        TextBox *box = f.window().txtTalk;
        using namespace EditKeys;

        set(box, "abc_", 3);
        QVERIFY(!act(f.program().sentence, Right)); // on the marker: nothing, and a stop
        check(box, "abc_", "_", 3);
        QVERIFY(!act(f.program().sentence, Backspace));
        check(box, "ab_", "_", 2);

        set(box, "abc", 2);
        QVERIFY(!act(f.program().sentence, Right)); // no marker: one is added and highlighted
        check(box, "abc_", "_", 3);

        set(box, "abc_", 1);
        QVERIFY(!act(f.program().sentence, Backspace));
        check(box, "ac_", "a", 0);
        set(box, "abc_", 1);
        QVERIFY(act(f.program().sentence, Right));
        check(box, "abc_", "c", 2);
        set(box, "abc_", 1);
        QVERIFY(act(f.program().sentence, Left));
        check(box, "abc_", "a", 0);
        QVERIFY(!act(f.program().sentence, Left)); // at the start: a stop
        QVERIFY(act(f.program().sentence, Right)); // from a highlight made leftwards
        check(box, "abc_", "b", 1);

        set(box, "abc_", 0); // the first character highlighted
        act(f.program().sentence, Backspace);
        check(box, "bc_", "b", 0);

        set(box, "ab_", 1, 0); // caret: the character before it goes
        act(f.program().sentence, Backspace);
        check(box, "b_", "b", 0);
    }

    void backspaceAfterASpaceDeletesTheSpace()
    {
        // After the space button the box holds a plain caret just before the marker.
        TalkFixture f;
        TextBox *box = f.window().txtTalk;
        set(box, QStringLiteral("あ　_"), 2, 0);
        EditKeys::act(f.program().sentence, EditKeys::Backspace);
        check(box, QStringLiteral("あ_"), QStringLiteral("_"), 1);
    }

    void linesUpAndDown()
    {
        TalkFixture f;
        TextBox *box = f.window().txtTalk;
        set(box, QStringLiteral("abcd\nefgh\nijkl_"), 7); // "g"
        QVERIFY(EditKeys::act(f.program().sentence, EditKeys::Down));
        QCOMPARE(box->selText(), QStringLiteral("k"));
        QVERIFY(EditKeys::act(f.program().sentence, EditKeys::Down)); // last line: stays
        QCOMPARE(box->selText(), QStringLiteral("k"));
        EditKeys::act(f.program().sentence, EditKeys::Up);
        EditKeys::act(f.program().sentence, EditKeys::Up);
        QCOMPARE(box->selText(), QStringLiteral("c"));
        EditKeys::act(f.program().sentence, EditKeys::Up); // first line: stays
        QCOMPARE(box->selText(), QStringLiteral("c"));
    }

    void linesKeepTheColumnHoweverTheHighlightWasMade()
    {
        TalkFixture f;
        TextBox *box = f.window().txtTalk;
        using namespace EditKeys;
        const QString text = QStringLiteral("abcd\nefgh\nijkl_");
        struct Case
        {
            int start;         // highlighted before the sideways step
            Index sideways;    // the step that made the highlight
            Index vertical;    // then a line up or down
            const char *lands; // the character highlighted at the end
        };
        const Case cases[] = {
            {2, Left, Down, "f"},  // "b" reached leftwards
            {0, Right, Down, "f"}, // "b" reached rightwards
            {6, Left, Down, "i"},  // the start of a line, reached leftwards
            {7, Right, Down, "l"}, // the end of a line
            {7, Left, Up, "b"},    {5, Right, Up, "b"}, {6, Left, Up, "a"}, {7, Right, Up, "d"},
        };
        for (const Case &c : cases) {
            set(box, text, c.start);
            act(f.program().sentence, c.sideways);
            act(f.program().sentence, c.vertical);
            QCOMPARE(box->selText(), QString::fromLatin1(c.lands));
        }
        // Down onto a shorter last line highlights the marker.
        set(box, QStringLiteral("abcdef\nxy_"), 4);
        act(f.program().sentence, Down);
        QCOMPARE(box->selText(), QStringLiteral("_"));
    }

    void wrappedLinesKeepTheColumn()
    {
        // Lines made by wrapping, as the board writes them, not by line breaks.
        TalkFixture f;
        TextBox *box = f.window().txtTalk;
        box->setText(QStringLiteral("あいうえおかきくけこさしすせそたちつてとなにぬねのはひふへほまみむめもや"
                                    "ゆよらりるれろわをんアイウエオカキクケコサシ_"));
        // The first character of the second line, as the box wraps it.
        QTextCursor line = box->textCursor();
        line.setPosition(0);
        line.movePosition(QTextCursor::Down);
        const int perLine = line.position();
        QVERIFY2(perLine > 2 && perLine < 40, qPrintable(QString::number(perLine)));
        const QString all = box->text();
        set(box, all, 2);
        EditKeys::act(f.program().sentence, EditKeys::Left); // the second character of the first line
        EditKeys::act(f.program().sentence, EditKeys::Down);
        QCOMPARE(box->selStart(), perLine + 1);
        set(box, all, 1);
        EditKeys::act(f.program().sentence, EditKeys::Left); // the start of the first line
        EditKeys::act(f.program().sentence, EditKeys::Down);
        QCOMPARE(box->selStart(), perLine);
        EditKeys::act(f.program().sentence, EditKeys::Up);
        QCOMPARE(box->selStart(), 0);
    }

    void heldKeysRepeatAndStopAtTheEnds()
    {
        TalkFixture f;
        TestTalkWindow &w = f.window();
        TextBox *box = w.txtTalk;
        set(box, "abcde_", 4);
        QPushButton *left = arrayButton(w.fraRes, "cmdRes", 2);
        QTest::mousePress(left, Qt::LeftButton);
        QCOMPARE(w.cmdRes[2]->backColor(), 0x808080u);
        QCOMPARE(box->selText(), QStringLiteral("d")); // the first step acts on press
        QTRY_COMPARE(box->selStart(), 0);
        QTRY_VERIFY(!f.program().keyRepeat.repeating());
        QCOMPARE(box->selText(), QStringLiteral("a"));
        QTest::mouseRelease(left, Qt::LeftButton);
        QCOMPARE(w.cmdRes[2]->backColor(), 0xFFFFFFu);
        QVERIFY(!f.program().keyRepeat.held());

        QPushButton *right = arrayButton(w.fraRes, "cmdRes", 0);
        QTest::mousePress(right, Qt::LeftButton);
        QTRY_COMPARE(box->selText(), QStringLiteral("_"));
        QTRY_VERIFY(!f.program().keyRepeat.repeating());
        QTest::mouseRelease(right, Qt::LeftButton);

        QPushButton *bs = arrayButton(w.fraRes, "cmdRes", 1);
        QTest::mousePress(bs, Qt::LeftButton);       // held: still one deletion
        QVERIFY(!f.program().keyRepeat.repeating()); // nothing left to repeat it
        QTest::mouseRelease(bs, Qt::LeftButton);
        QCOMPARE(box->text(), QStringLiteral("abcd_"));
    }

    void releaseEndsTheRepeat()
    {
        TalkFixture f;
        TestTalkWindow &w = f.window();
        TextBox *box = w.txtTalk;
        set(box, QString(40, QLatin1Char('a')) + "_", 40);
        QPushButton *left = arrayButton(w.fraRes, "cmdRes", 2);
        QTest::mousePress(left, Qt::LeftButton);
        QTest::mouseRelease(left, Qt::LeftButton);
        QVERIFY(!f.program().keyRepeat.repeating()); // no step can follow the release
        QCOMPARE(box->selStart(), 39);
    }

    void hiddenTextBoxIgnoresTheKeys()
    {
        TalkFixture f;
        TestTalkWindow &w = f.window();
        set(w.txtTalk, "abc_", 1);
        w.fraText->hide();
        QPushButton *bs = arrayButton(w.fraRes, "cmdRes", 1);
        QTest::mousePress(bs, Qt::LeftButton);
        QCOMPARE(w.cmdRes[1]->backColor(), 0x808080u);
        QTest::mouseRelease(bs, Qt::LeftButton);
        QCOMPARE(w.cmdRes[1]->backColor(), 0xFFFFFFu);
        QCOMPARE(w.txtTalk->text(), QStringLiteral("abc_"));
    }
};

QTEST_MAIN(TestEditKeys)
#include "test_editkeys.moc"

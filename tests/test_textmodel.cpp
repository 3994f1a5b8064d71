#include "board/modifiers.h"
#include "board/speech.h"
#include "shared/sentence.h"
#include "support/talkfixture.h"

#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QTest>

namespace {
const auto insertPending = &Sentence::insertPending;
} // namespace

class TestTextModel : public QObject
{
    Q_OBJECT

private slots:
    void insertion_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("selStart");
        QTest::addColumn<QString>("ch");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<int>("caret");
        QTest::newRow("empty") << "" << 0 << "あ"
                               << "あ_" << 1;
        QTest::newRow("before marker") << "あい_" << 2 << "う"
                                       << "あいう_" << 3;
        QTest::newRow("middle") << "あい_" << 1 << "う"
                                << "あうい_" << 2;
        QTest::newRow("no marker at end") << "abc" << 3 << "d"
                                          << "abcd_" << 4;
        QTest::newRow("at start") << "abc_" << 0 << "x"
                                  << "xabc_" << 1;
        QTest::newRow("two characters") << "a_" << 1 << "bc"
                                        << "abc_" << 3;
        QTest::newRow("marker inside, not at end") << "a_b" << 3 << "c"
                                                   << "a_bc_" << 4;
        QTest::newRow("caret after the marker") << "あい_" << 3 << "う"
                                                << "あいう_" << 3;
    }
    void insertion()
    {
        QFETCH(QString, text);
        QFETCH(int, selStart);
        QFETCH(QString, ch);
        const auto r = insertPending(text, selStart, ch, 500);
        QVERIFY(r);
        QTEST(r->text, "expected");
        QTEST(r->caret, "caret");
    }

    void fullTextRefusesAFurtherCharacter()
    {
        const QString full = QString(499, QChar(u'あ')) + QStringLiteral("_");
        QVERIFY(!insertPending(full, 499, QStringLiteral("い"), 500));
        QVERIFY(!insertPending(QString(500, QLatin1Char('a')), 0, QStringLiteral("b"), 500));
        const QString almost = QString(498, QChar(u'あ')) + QStringLiteral("_");
        QCOMPARE(insertPending(almost, 498, QStringLiteral("い"), 500)->text.size(), 500);
    }

    // The sentence alone, without a text box: the edit keys, and what each part reads.
    void sentenceWithoutAView()
    {
        Sentence s(10);
        s.replace(QStringLiteral("abc_"), 1);
        s.setSelLength(1);
        QCOMPARE(s.text(), QStringLiteral("abc"));
        QVERIFY(s.moveRight());
        QCOMPARE(s.selStart(), 2);
        QCOMPARE(s.selLength(), 1);
        QVERIFY(s.moveRight());  // onto the marker
        QVERIFY(!s.moveRight()); // on the marker: a stop
        QVERIFY(!s.deleteBack());
        QCOMPARE(s.shown(), QStringLiteral("ab_"));
        QVERIFY(s.moveLeft());
        QVERIFY(s.moveLeft());
        QVERIFY(!s.moveLeft());
        QCOMPARE(s.selStart(), 0);
        QVERIFY(s.moveLine(true)); // no view lays out lines: it stays
        QCOMPARE(s.selStart(), 0);
        QCOMPARE(s.selLength(), 1);

        QVERIFY(s.insertAtHighlight(QStringLiteral("x")));
        QCOMPARE(s.shown(), QStringLiteral("xab_"));
        QCOMPARE(s.selStart(), 1);
        s.setSelLength(0);
        s.setSelStart(4); // a tap past the end of the text: after the marker
        QVERIFY(!s.deleteBack());
        QCOMPARE(s.shown(), QStringLiteral("xa_"));
        // A full sentence refuses a character whole and says nothing changed.
        s.replace(QStringLiteral("123456789_"), 9);
        QSignalSpy changed(&s, &Sentence::textChanged);
        QVERIFY(!s.insertAtHighlight(QStringLiteral("0")));
        QCOMPARE(s.shown(), QStringLiteral("123456789_"));
        QCOMPARE(changed.count(), 0);

        // A character as the user sees it goes whole: one outside the basic plane, a kana with a
        // combining voiced mark, a flag. The keys step over it and the highlight covers it all.
        s.replace(QStringLiteral("a\U0001F600"), 3);
        QVERIFY(!s.deleteBack());
        QCOMPARE(s.text(), QStringLiteral("a"));
        const QString face = QStringLiteral("\U0001F600"), ga = QStringLiteral("か\u3099"),
                      flag = QStringLiteral("\U0001F1EF\U0001F1F5");
        s.replace(QStringLiteral("a") + face + ga + flag + Sentence::marker(), 0);
        s.setSelLength(1);
        for (const QString &seen : {face, ga, flag, Sentence::marker()}) {
            QVERIFY(s.moveRight());
            QCOMPARE(s.shown().mid(s.selStart(), s.selLength()), seen);
        }
        QVERIFY(s.moveLeft());
        QCOMPARE(s.shown().mid(s.selStart(), s.selLength()), flag);
        QVERIFY(!s.deleteBack()); // the highlighted character, whole
        QCOMPARE(s.text(), QStringLiteral("a") + face + ga);
        s.setSelStart(2); // inside the face: the caret goes before it
        QCOMPARE(s.selStart(), 1);
        Sentence cut(3);
        cut.setShown(QStringLiteral("ab") + face);
        QCOMPARE(cut.shown(), QStringLiteral("ab"));

        s.setShown(Sentence::marker());
        QVERIFY(s.holdsNothing());
        QCOMPARE(s.text(), QString());
        s.setShown(QStringLiteral("ab"));
        s.highlightMarker();
        QCOMPARE(s.shown(), QStringLiteral("ab_"));
        QCOMPARE(s.selStart(), 2);
        QCOMPARE(s.selLength(), 1);
        s.append(QStringLiteral("cdefghijkl"));
        QCOMPARE(s.shown(), QStringLiteral("ab_cdefghi")); // cut to the maximum
        QCOMPARE(s.selStart(), 2);
        QCOMPARE(s.selLength(), 1);
    }

    // The sentence holds what the text box keeps of a text, so the two never disagree.
    void sentenceKeepsWhatTheTextBoxKeeps()
    {
        const QString tricky = QStringLiteral("a\r\nb\rc\nd") + QChar(QChar::LineSeparator) + u'e' +
                               QChar(QChar::ParagraphSeparator) + u'f' + QChar(QChar::Nbsp) + u'g' +
                               QChar(0xfdd0) + u'h' + QChar(u'\t');
        QPlainTextEdit box;
        box.setPlainText(tricky);
        QCOMPARE(Sentence::plain(tricky), box.toPlainText());
    }

    // The text box shows the sentence, its highlight and its purpose; what the user
    // does in the box itself comes back to the sentence.
    void textBoxShowsTheSentence()
    {
        TalkFixture f;
        TextBox *box = f.window().txtTalk;
        Sentence &s = f.program().sentence;
        s.replace(QStringLiteral("あいう_"), 1);
        s.setSelLength(2);
        QCOMPARE(box->text(), QStringLiteral("あいう_"));
        QCOMPARE(box->selStart(), 1);
        QCOMPARE(box->selLength(), 2);

        box->setFocus();
        box->setSelStart(3);
        QTest::keyClicks(box, QStringLiteral("x"));
        QCOMPARE(s.shown(), QStringLiteral("あいうx_"));
        QCOMPARE(s.selStart(), 4);

        s.setPurpose(Sentence::Purpose::Diary);
        QCOMPARE(box->backColor(), 0x80FF80u);
        s.setPurpose(Sentence::Purpose::Mail);
        QCOMPARE(box->backColor(), 0xFFC0C0u);
        s.setPurpose(Sentence::Purpose::Talk);
        QCOMPARE(box->backColor(), 0xFFFFFFu);
    }

    void variantForms()
    {
        using namespace Modifiers;
        QCOMPARE(voicing(QStringLiteral("す")).right, QStringLiteral("ず"));
        QCOMPARE(voicing(QStringLiteral("す")).left, QString());
        QCOMPARE(smallForm(QStringLiteral("す")), QString());
        // つ: small form left, voiced form right
        QCOMPARE(voicing(QStringLiteral("つ")).left, QStringLiteral("っ"));
        QCOMPARE(voicing(QStringLiteral("つ")).right, QStringLiteral("づ"));
        QCOMPARE(voicing(QStringLiteral("ホ")).left, QStringLiteral("ポ"));
        QCOMPARE(voicing(QStringLiteral("ホ")).right, QStringLiteral("ボ"));
        QCOMPARE(smallForm(QStringLiteral("よ")), QStringLiteral("ょ"));
        QCOMPARE(smallForm(QStringLiteral("ア")), QStringLiteral("ァ"));
        QCOMPARE(smallForm(QStringLiteral("Q")), QStringLiteral("q"));
        for (const char *none : {"q", "な", "ー", "", "が", "ぁ", "ん", "1", "(^_^)"}) {
            QCOMPARE(smallForm(QString::fromUtf8(none)), QString());
            QCOMPARE(voicing(QString::fromUtf8(none)).left, QString());
            QCOMPARE(voicing(QString::fromUtf8(none)).right, QString());
        }
    }

    void voiceOptionMatrix_data()
    {
        QTest::addColumn<QString>("opt3");
        QTest::addColumn<QString>("spoken"); // tags that speak, of S E 1
        QTest::newRow("every time") << "0"
                                    << "SE1";
        QTest::newRow("selection and entry") << "1"
                                             << "SE";
        QTest::newRow("entry only") << "2"
                                    << "E";
        QTest::newRow("never") << "3"
                               << "";
        QTest::newRow("unknown") << "7"
                                 << "SE1";
    }
    void voiceOptionMatrix()
    {
        QFETCH(QString, opt3);
        QFETCH(QString, spoken);
        for (const QString &tag : {QStringLiteral("S"), QStringLiteral("E"), QStringLiteral("1")})
            QCOMPARE(Speech::voiced(opt3, tag), spoken.contains(tag));
    }
};

QTEST_MAIN(TestTextModel)
#include "test_textmodel.moc"

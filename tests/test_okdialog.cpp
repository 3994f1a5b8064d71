#include "platform/controls.h"
#include "platform/twips.h"
#include "shared/okdialog.h"
#include "support/talkfixture.h"

#include <QTest>

class TestOkDialog : public QObject
{
    Q_OBJECT

    struct Seen
    {
        QString title, prompt, left, right;
        bool rightShown = false;
        int leftTwips = 0;
    };

    // Records what the dialog shows, then presses a button (or none).
    static void seeAndPress(TalkFixture &f, Seen *seen, int button)
    {
        f.modal.answers.push_back([seen, button](QDialog &d) {
            auto &dlg = static_cast<OkDialog &>(d);
            seen->title = dlg.windowTitle();
            seen->prompt = dlg.lblOK->text();
            seen->left = dlg.cmdOK[0]->text();
            seen->right = dlg.cmdOK[1]->text();
            seen->rightShown = !dlg.cmdOK[1]->isHidden();
            seen->leftTwips = Twips::rect(dlg.cmdOK[0]).left();
            if (button >= 0)
                dlg.cmdOK[size_t(button)]->click();
            else
                dlg.close();
        });
    }

private slots:
    void aLongPromptIsShownWholeAndTheDialogGrows()
    {
        QWidget parent;
        const QString prompt = QStringLiteral(
            "話すキャラクターのファイル「genie.acs」を読めないため、Pirokan を始められません。\n"
            "フォルダー：/home/someone/.local/share/a-rather-long-folder-name/Pirokan/build/RelWithDebInfo\n"
            "ファイルがあるか、ふつうのファイルで読む許可があるか、確かめてください。");
        OkDialog short_(&parent), long_(&parent);
        short_.configure(QStringLiteral("はい"), OkDialog::Notice, QStringLiteral("t"));
        long_.configure(prompt, OkDialog::Notice, QStringLiteral("t"));
        QCOMPARE(long_.lblOK->text().remove(QChar(0x200B)), prompt);
        QCOMPARE(short_.size(), QSize(Twips::toPixels(11775, 1.0), Twips::toPixels(4545, 1.0)));
        QVERIFY(long_.height() > short_.height());
        const QRect needed = QFontMetrics(long_.lblOK->font())
                                 .boundingRect(QRect(0, 0, long_.lblOK->width(), 100000), Qt::TextWordWrap,
                                               long_.lblOK->text());
        QVERIFY(needed.height() <= long_.lblOK->height());
        QVERIFY(needed.width() <= long_.lblOK->width());
        QVERIFY(long_.cmdOK[0]->geometry().top() >= long_.lblOK->geometry().bottom());
        QVERIFY(long_.cmdOK[0]->geometry().bottom() <= long_.height());
        QVERIFY(long_.height() < 800); // still on a small screen
    }

    void kindsInSequence()
    {
        TalkFixture f;
        Seen a, b, c, d;
        seeAndPress(f, &a, 0);
        ShowOKDialog(f.shared(), QStringLiteral("同一文が登録されています"), 48, QStringLiteral("例文登録"));
        QVERIFY(f.shared().state.okAnswer());
        QCOMPARE(a.left, QStringLiteral("OK"));
        QVERIFY(!a.rightShown);
        QCOMPARE(a.leftTwips, 3500);
        QCOMPARE(a.title, QStringLiteral("例文登録"));
        QCOMPARE(a.prompt, QStringLiteral("同一文が登録されています"));

        // A fresh dialog: nothing of the notice carries over.
        seeAndPress(f, &b, 1);
        ShowOKDialog(f.shared(), QStringLiteral("はじめからでよろしいですか？"), 33,
                     QStringLiteral("例文登録"));
        QVERIFY(!f.shared().state.okAnswer());
        QCOMPARE(b.left, QStringLiteral("ＯＫ"));
        QCOMPARE(b.right, QStringLiteral("キャンセル"));
        QVERIFY(b.rightShown);
        QCOMPARE(b.leftTwips, 300);

        seeAndPress(f, &c, 0);
        ShowOKDialog(f.shared(), QStringLiteral("日記を登録して終了します"), 36,
                     QStringLiteral("日記の終了"));
        QVERIFY(f.shared().state.okAnswer());
        QCOMPARE(c.left, QStringLiteral("ＹＥＳ"));
        QCOMPARE(c.right, QStringLiteral("ＮＯ"));

        seeAndPress(f, &d, 0);
        ShowOKDialog(f.shared(), QStringLiteral("x"), 0, QStringLiteral("t"));
        QCOMPARE(d.left, QStringLiteral("OK"));
        QCOMPARE(d.right, QStringLiteral("キャンセル"));
        QCOMPARE(d.leftTwips, 300);
    }

    void closingWithoutAButtonIsNo()
    {
        TalkFixture f;
        Seen s;
        f.shared().state.setOkAnswer(true);
        seeAndPress(f, &s, -1);
        ShowOKDialog(f.shared(), QStringLiteral("q"), 36, QStringLiteral("t"));
        QVERIFY(!f.shared().state.okAnswer());
    }
};

QTEST_MAIN(TestOkDialog)
#include "test_okdialog.moc"

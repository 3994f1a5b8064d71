#include "platform/grid.h"
#include "platform/loginstart.h"
#include "platform/settingsstore.h"
#include "platform/textbox.h"
#include "platform/twips.h"
#include "shared/optionsdialog.h"
#include "shared/settings.h"
#include "support/talkfixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QRadioButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <sys/stat.h>

class TestSettings : public QObject
{
    Q_OBJECT

private slots:
    void defaultsFromAnEmptyStore()
    {
        MemorySettingsStore store;
        const Settings s = ReadSettings(store);
        QCOMPARE(s.OPT1, QStringLiteral("0"));
        QCOMPARE(s.OPT3, QStringLiteral("0"));
        QCOMPARE(s.Samp, QStringLiteral("1"));
        QCOMPARE(s.gMaxC, 9);
        QCOMPARE(s.Sample, qint16(2));
        QVERIFY(!s.beepOn());
        QCOMPARE(talkFontPoints(s), 55);
    }

    void wrongValuesReadAsDefaults_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("stored");
        QTest::newRow("not a number") << "OPT1"
                                      << "abc";
        QTest::newRow("out of range") << "OPT2"
                                      << "7";
        QTest::newRow("negative") << "OPT3"
                                  << "-1";
        QTest::newRow("board ten") << "gMaxC"
                                   << "10";
        QTest::newRow("board eleven") << "gMaxC"
                                      << "11";
        QTest::newRow("key too long") << "Sample"
                                      << "9";
        QTest::newRow("key zero") << "Sample"
                                  << "0";
        QTest::newRow("overflow") << "Sample"
                                  << "99999999999";
        QTest::newRow("empty") << "Beep"
                               << "";
    }
    void wrongValuesReadAsDefaults()
    {
        QFETCH(QString, key);
        QFETCH(QString, stored);
        MemorySettingsStore store;
        store.values.insert(key, stored);
        const Settings s = ReadSettings(store);
        const Settings d;
        QCOMPARE(s.OPT1, d.OPT1);
        QCOMPARE(s.OPT2, d.OPT2);
        QCOMPARE(s.OPT3, d.OPT3);
        QCOMPARE(s.Beep, d.Beep);
        QCOMPARE(s.gMaxC, d.gMaxC);
        QCOMPARE(s.Sample, d.Sample);
    }

    void dialogShowsTheDefaultsOfAnEmptyStore()
    {
        MemorySettingsStore store;
        OptionsDialog dialog(store, nullptr);
        QVERIFY(dialog.Option1[0]->isChecked());
        QVERIFY(dialog.Option2[0]->isChecked());
        QVERIFY(dialog.Option3[0]->isChecked());
        QVERIFY(dialog.chkSamp->isChecked());
        QVERIFY(!dialog.chkBeep->isChecked());
        QVERIFY(!dialog.chkMoji->isChecked());
        QVERIFY(!dialog.chkMaxC->isChecked());
        QCOMPARE(dialog.cmbSample->currentText(), QStringLiteral("２"));
        QCOMPARE(dialog.windowTitle(), QStringLiteral("オプション"));
        // Option buttons and check boxes are drawn in the dialog's colour, not the button grey.
        dialog.resize(400, 600);
        const QImage shot = dialog.grab().toImage();
        const QColor back = dialog.palette().color(QPalette::Window);
        for (QWidget *w : std::initializer_list<QWidget *>{dialog.Option1[0], dialog.Option3[3],
                                                           dialog.chkSamp, dialog.chkBeep}) {
            const QPoint farRight = w->mapTo(&dialog, QPoint(w->width() - 3, w->height() / 2));
            QCOMPARE(w->palette().color(w->backgroundRole()), back);
            QCOMPARE(shot.pixelColor(farRight * shot.devicePixelRatio()), back);
        }
    }

    void confirmWritesAllOptionsAndRebuildsTheBoard()
    {
        TalkFixture f({{QStringLiteral("gMaxC"), QStringLiteral("10")}});
        TestTalkWindow &w = f.window();
        f.press(w.cmdKey); // katakana on show: OK must bring hiragana back
        QCOMPARE(w.cmdKey->text(), QStringLiteral("カタ"));
        f.modal.answers.push_back([](QDialog &d) {
            auto &o = static_cast<OptionsDialog &>(d);
            QVERIFY(!o.chkMaxC->isChecked()); // a stored 10 is ten columns
            o.Option1[3]->setChecked(true);
            o.Option2[1]->setChecked(true);
            o.Option3[2]->setChecked(true);
            o.chkMaxC->setChecked(true);
            o.chkBeep->setChecked(true);
            o.chkMoji->setChecked(true);
            o.chkSamp->setChecked(false);
            o.cmbSample->setCurrentIndex(4);
            o.cmdOK[1]->click();
        });
        f.press(w.cmdOpt);
        QCOMPARE(f.settings.values.size(), 9);
        QCOMPARE(f.settings.values.value("OPT1"), QStringLiteral("3"));
        QCOMPARE(f.settings.values.value("OPT2"), QStringLiteral("1"));
        QCOMPARE(f.settings.values.value("OPT3"), QStringLiteral("2"));
        QCOMPARE(f.settings.values.value("Samp"), QStringLiteral("0"));
        QCOMPARE(f.settings.values.value("Sample"), QStringLiteral("5"));
        QCOMPARE(f.settings.values.value("Beep"), QStringLiteral("1"));
        QCOMPARE(f.settings.values.value("Moji"), QStringLiteral("1"));
        QCOMPARE(f.settings.values.value("gMaxC"), QStringLiteral("14"));
        QCOMPARE(f.shared().settings.Sample, qint16(5));
        QCOMPARE(w.grdBoard->cols(), 15);
        QCOMPARE(w.cmdKey->text(), QStringLiteral("ひら"));
        QCOMPARE(Twips::fontPoints(w.txtTalk), 100.0);
    }

    void theOptionsAreStoredAllOrNothingAndAFailureIsTold()
    {
        QTemporaryDir dir;
        Settings chosen;
        chosen.OPT1 = QStringLiteral("3");
        chosen.gMaxC = 14;
        QtSettingsStore store(dir.filePath(QStringLiteral("Talk.conf")));
        QString error;
        QVERIFY(WriteSettings(store, chosen, &error));
        QCOMPARE(ReadSettings(QtSettingsStore(dir.filePath(QStringLiteral("Talk.conf")))).OPT1,
                 QStringLiteral("3"));
        QCOMPARE(ReadSettings(QtSettingsStore(dir.filePath(QStringLiteral("Talk.conf")))).gMaxC, 14);
        // The options say how the user presses and what they record: theirs alone, also once rewritten.
        const auto ownerOnly = [&dir] {
            const auto p = QFile::permissions(dir.filePath(QStringLiteral("Talk.conf")));
            const auto others = QFileDevice::ReadGroup | QFileDevice::WriteGroup | QFileDevice::ExeGroup |
                                QFileDevice::ReadOther | QFileDevice::WriteOther | QFileDevice::ExeOther;
            return (p & QFileDevice::ReadOwner) && (p & QFileDevice::WriteOwner) && !(p & others);
        };
        QVERIFY(ownerOnly());
        QVERIFY(WriteSettings(store, chosen, &error));
        QVERIFY(ownerOnly());

        // A store that cannot be written (its folder would lie under a file, even for root).
        QFile blocker(dir.filePath(QStringLiteral("file")));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        QtSettingsStore unwritable(dir.filePath(QStringLiteral("file/Talk.conf")));
        QVERIFY(!WriteSettings(unwritable, chosen, &error));
        QVERIFY2(error.startsWith(QStringLiteral("設定を保存できませんでした。")), qPrintable(error));

        // Through the window: the options apply for now, and the user is told they were not kept.
        TalkFixture f;
        f.settings.failWrites = true;
        f.modal.answers.push_back([](QDialog &d) {
            auto &o = static_cast<OptionsDialog &>(d);
            o.chkMoji->setChecked(true);
            o.cmdOK[1]->click();
        });
        f.answerOk(0);
        f.press(f.window().cmdOpt);
        QCOMPARE(f.modal.shown, (QStringList{"frmOPT", "frmOK"}));
        QVERIFY(f.prompts.value(0).startsWith(QStringLiteral("設定を保存できませんでした。")));
        QCOMPARE(Twips::fontPoints(f.window().txtTalk), 100.0);
        QVERIFY(f.settings.values.isEmpty());
    }

    void startAtLoginWritesAndRemovesTheAutostartEntry()
    {
        QStandardPaths::setTestModeEnabled(true); // a scratch config folder, never the user's
        QFile::remove(LoginStart::entryPath());
        MemorySettingsStore start;
        LoginStart login(start, QStringLiteral("/opt/pirokan/bin/pirokan"));
        QVERIFY(!login.enabled());
        MemorySettingsStore store;
        const auto confirm = [&](bool on) {
            OptionsDialog dialog(store, nullptr, &login);
            QVERIFY(!dialog.chkLogin->isHidden());
            QCOMPARE(dialog.chkLogin->isChecked(), !on);
            dialog.chkLogin->setChecked(on);
            dialog.cmdOK[1]->click();
            QVERIFY(dialog.saveError().isEmpty());
        };
        confirm(true);
        QVERIFY(login.enabled());
        QFile entry(LoginStart::entryPath());
        QVERIFY(entry.open(QIODevice::ReadOnly));
        const QByteArray text = entry.readAll();
        QVERIFY(text.startsWith("[Desktop Entry]\n"));
        QVERIFY(text.contains("\nExec=\"/opt/pirokan/bin/pirokan\"\n"));
        QCOMPARE(start.values.value("AtLogin"), QStringLiteral("1"));
        QCOMPARE(store.values.size(), 9); // the options stay as they are
        confirm(false);
        QVERIFY(!QFile::exists(LoginStart::entryPath()));
        QCOMPARE(start.values.value("AtLogin"), QStringLiteral("0"));

        OptionsDialog without(store, nullptr); // no start at login offered
        QVERIFY(without.chkLogin->isHidden());
    }

    void aSettingsFileThatIsNoFileIsNeitherReadNorReplaced()
    {
        QStandardPaths::setTestModeEnabled(true); // a scratch config folder, never the user's
        const QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
        QVERIFY(QDir().mkpath(folder + QStringLiteral("/Talk")));
        const QString fifo = folder + QStringLiteral("/Talk/Talk.conf");
        QFile::remove(fifo);
        QCOMPARE(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        const auto gone = qScopeGuard([&] { QFile::remove(fifo); });
        // Reading a FIFO would wait for ever, before the window shows.
        QtSettingsStore store;
        QVERIFY(store.problem().contains(QStringLiteral("初めの設定で動いています")));
        QCOMPARE(ReadSettings(store).Samp, QStringLiteral("1"));
        QString error;
        QVERIFY(!store.write({{QStringLiteral("OPT1"), QStringLiteral("2")}}, &error));
        QVERIFY(error.startsWith(QStringLiteral("設定を保存できませんでした。")));
        QVERIFY(!QFileInfo(fifo).isFile()); // left as it is, not replaced

        QTemporaryDir dir;
        QFile big(dir.filePath(QStringLiteral("big.conf")));
        QVERIFY(big.open(QIODevice::WriteOnly));
        big.write("[OPT]\nOPT1=2\n");
        big.write(QByteArray(2 * 1024 * 1024, '#'));
        big.close();
        QtSettingsStore huge(big.fileName());
        QVERIFY(!huge.problem().isEmpty());
        QCOMPARE(huge.read(QStringLiteral("OPT1"), QStringLiteral("0")), QStringLiteral("0"));

        // The start at login says why it could not be set.
        QFile::remove(LoginStart::entryPath());
        QDir(folder).rmdir(QStringLiteral("autostart"));
        QFile blocker(folder + QStringLiteral("/autostart"));
        QVERIFY(blocker.open(QIODevice::WriteOnly)); // a file where the folder should be
        blocker.close();
        const auto unblock = qScopeGuard([&] { blocker.remove(); });
        MemorySettingsStore start;
        LoginStart login(start, QStringLiteral("/opt/pirokan/bin/pirokan"));
        QVERIFY(!login.setEnabled(true, &error));
        QVERIFY2(error.contains(QStringLiteral("理由：")), qPrintable(error));
    }

    void cancelChangesNothing()
    {
        TalkFixture f;
        TestTalkWindow &w = f.window();
        f.press(w.cmdKey);
        w.txtTalk->setText(QStringLiteral("あい_"));
        f.modal.answers.push_back([](QDialog &d) {
            auto &o = static_cast<OptionsDialog &>(d);
            o.Option1[2]->setChecked(true);
            o.chkMaxC->setChecked(true);
            o.chkMoji->setChecked(true);
            o.cmbSample->setCurrentIndex(0);
            o.cmdOK[0]->click();
        });
        f.press(w.cmdOpt);
        f.press(w.cmdOpt); // closed by the close box: no answer queued
        QVERIFY(f.settings.values.isEmpty());
        QCOMPARE(w.cmdKey->text(), QStringLiteral("カタ"));
        QCOMPARE(w.grdBoard->cols(), 10);
        QCOMPARE(w.txtTalk->text(), QStringLiteral("あい_"));
        QCOMPARE(Twips::fontPoints(w.txtTalk), 55.0);
        QCOMPARE(f.shared().settings.OPT1, QStringLiteral("0"));
    }
};

QTEST_MAIN(TestSettings)
#include "test_settings.moc"

#include "platform/singleinstance.h"

#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <QTest>

class TestSingleInstance : public QObject
{
    Q_OBJECT

private slots:
    void secondHolderIsRefusedUntilTheFirstEnds()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("pirokan.lock"));
        {
            SingleInstance first(path);
            QVERIFY(first.isFirst());
            SingleInstance second(path);
            QVERIFY(!second.isFirst());
        }
        SingleInstance again(path);
        QVERIFY(again.isFirst());
    }

    void lockOfACrashedRunIsTakenOver()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("pirokan.lock"));
        // A lock file naming a process that no longer runs.
        qint64 deadPid = 999999;
        while (QFile::exists(QStringLiteral("/proc/%1").arg(deadPid)))
            ++deadPid;
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(QByteArray::number(deadPid) + "\npirokan\n" + QSysInfo::machineHostName().toUtf8() + "\n");
        f.close();
        SingleInstance instance(path);
        QVERIFY(instance.isFirst());
    }

    void onlyALiveOwnerKeepsAStartOut()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("pirokan.lock"));
        // Empty (a power cut between creating and writing it) or garbled: nobody holds it.
        for (const QByteArray &content :
             {QByteArray(), QByteArray("\x01\x02garbage\n"), QByteArray("-5\n\n")}) {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(content);
            f.close();
            SingleInstance instance(path);
            QCOMPARE(instance.state(), SingleInstance::State::First);
        }
        // A lock that cannot be made at all (here its folder would lie under a file) does not stop the start.
        QFile blocker(dir.filePath(QStringLiteral("file")));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        SingleInstance unlocked(dir.filePath(QStringLiteral("file/pirokan.lock")));
        QCOMPARE(unlocked.state(), SingleInstance::State::Unlocked);
        QVERIFY(unlocked.isFirst());
        QVERIFY(!unlocked.problem().isEmpty());
    }

    void secondStartEndsSilentlyAndLeavesTheFirst()
    {
        QTemporaryDir home;
        QDir(home.path()).mkdir(QStringLiteral("run"));
        QFile::setPermissions(home.filePath(QStringLiteral("run")),
                              QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("HOME"), home.path());
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), home.filePath(QStringLiteral("config")));
        env.insert(QStringLiteral("XDG_DATA_HOME"), home.filePath(QStringLiteral("data")));
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), home.filePath(QStringLiteral("run")));
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("QT_LOGGING_RULES"), QStringLiteral("pirokan.*=true"));
        QProcess first, second;
        first.setProcessEnvironment(env);
        second.setProcessEnvironment(env);
        first.start(QStringLiteral(PIROKAN_BINARY), {});
        QVERIFY(first.waitForStarted());
        QByteArray log;
        QTRY_VERIFY_WITH_TIMEOUT((log += first.readAllStandardError()).contains("started") ||
                                     first.state() != QProcess::Running,
                                 20000);
        QCOMPARE(first.state(), QProcess::Running);
        second.start(QStringLiteral(PIROKAN_BINARY), {});
        QVERIFY(second.waitForFinished(20000));
        QCOMPARE(second.exitCode(), 0);
        QVERIFY(!second.readAllStandardError().contains("started"));
        QCOMPARE(first.state(), QProcess::Running);
        first.kill();
        first.waitForFinished();
    }
};

QTEST_MAIN(TestSingleInstance)
#include "test_singleinstance.moc"

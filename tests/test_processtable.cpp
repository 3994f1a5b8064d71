#include "platform/processtable.h"

#include <QTest>
#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

class TestProcessTable : public QObject
{
    Q_OBJECT

private slots:
    void seesItself()
    {
        const int self = int(::getpid());
        QVERIFY(ProcessTable::all().contains(self));
        QVERIFY(ProcessTable::isRunning(self));
        QCOMPARE(ProcessTable::parentOf(self), int(::getppid()));
        QCOMPARE(ProcessTable::homeOf(self), qEnvironmentVariable("HOME"));
        QVERIFY(!ProcessTable::commandOf(self).isEmpty());
    }

    // A child that has ended but is not yet reaped still has its entry: it must
    // not count as running, or a stopped server would never be restarted.
    void anUnreapedChildIsNotRunning()
    {
        const pid_t child = ::fork();
        if (child == 0)
            ::_exit(0);
        QVERIFY(child > 0);
        QTRY_VERIFY(!ProcessTable::isRunning(int(child)));
        QCOMPARE(ProcessTable::parentOf(int(child)), int(::getpid()));
        int status = 0;
        ::waitpid(child, &status, 0);
        QVERIFY(!ProcessTable::isRunning(int(child)));
        QCOMPARE(ProcessTable::parentOf(int(child)), -1);
        QVERIFY(ProcessTable::homeOf(int(child)).isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestProcessTable)
#include "test_processtable.moc"

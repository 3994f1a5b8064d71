#include "platform/conversion/mozcengine.h"

#include "platform/conversion/mozcreply.h"
#include "platform/conversion/sexp.h"
#include "platform/privatefile.h"
#include "platform/processtable.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QStandardPaths>
#include <QThread>
#include <csignal>
#include <functional>
#include <pwd.h>
#include <sys/prctl.h>
#include <unistd.h>

Q_LOGGING_CATEGORY(lcMozc, "pirokan.conversion")

namespace {

// The server and the helper end with the program, even when it is killed: a
// killed program's server would otherwise linger, one more each time.
void endWithParent(QProcess &p)
{
    p.setChildProcessModifier([] { prctl(PR_SET_PDEATHSIG, SIGTERM); });
}

bool isMozc(int pid)
{
    const QByteArray command = ProcessTable::commandOf(pid);
    return command == "mozc_server" || command == "mozc_emacs_helper";
}

// Ends every Mozc process running in a profile the test accepts: the
// servers the helper starts by itself, and those a killed program left.
void endMozcIn(const std::function<bool(const QString &home)> &ours)
{
    const int self = int(::getpid());
    for (const int pid : ProcessTable::all()) {
        if (pid == self || !isMozc(pid))
            continue;
        if (const QString home = ProcessTable::homeOf(pid); !home.isEmpty() && ours(home)) {
            qCInfo(lcMozc) << "ending Mozc process" << pid << "of profile" << home;
            ::kill(pid, SIGKILL);
        }
    }
}

const QString OwnerFile = QStringLiteral(".pirokan-owner");

// Whether a Mozc process of the profile still has the parent that started it
// (a profile from before owners were written down, of a program still running).
bool adoptedNone(const QString &home)
{
    for (const int pid : ProcessTable::all())
        if (isMozc(pid) && QDir::cleanPath(ProcessTable::homeOf(pid)) == home &&
            ProcessTable::parentOf(pid) > 1)
            return true;
    return false;
}

QString rootProfilePrefix()
{
    return QDir::tempPath() + QStringLiteral("/pirokan-mozc-");
}

bool isKanaRun(const QString &s)
{
    for (const QChar c : s)
        if (!((c >= u'ぁ' && c <= u'ゖ') || c == u'ー'))
            return false;
    return !s.isEmpty();
}

} // namespace

MozcEngine::MozcEngine(Options options) : m_o(std::move(options)) {}

MozcEngine::~MozcEngine()
{
    stop();
}

QStringList MozcEngine::command(const QString &program, const QStringList &args) const
{
    const QString home = QStringLiteral("HOME=") + m_home;
    const QString config = QStringLiteral("XDG_CONFIG_HOME=") + m_home + QStringLiteral("/.config");
    QStringList c;
    // runuser's child does not inherit the program's parent-death signal (it changes
    // its credentials): it is asked for again inside, so that it ends with runuser.
    if (geteuid() == 0)
        c << QStringLiteral("runuser") << QStringLiteral("-u") << m_o.unprivileged << QStringLiteral("--")
          << QStringLiteral("setpriv") << QStringLiteral("--pdeathsig") << QStringLiteral("KILL")
          << QStringLiteral("--");
    c << QStringLiteral("env") << home << config << program << args;
    return c;
}

bool MozcEngine::start()
{
    if (m_started)
        return working();
    m_started = true;
    if (QStandardPaths::findExecutable(m_o.helper).isEmpty() || !QFileInfo(m_o.server).isExecutable()) {
        fail(QStringLiteral("Mozc is not installed (%1, %2)").arg(m_o.helper, m_o.server));
        return false;
    }
    endLeftovers();
    if (geteuid() == 0) {
        // The account the server runs as must own its profile, wherever the caller keeps files.
        const passwd *pw = getpwnam(m_o.unprivileged.toLocal8Bit().constData());
        QByteArray templ = QDir::tempPath().toLocal8Bit() + "/pirokan-mozc-XXXXXX";
        if (!pw || !mkdtemp(templ.data())) {
            fail(QStringLiteral("no account or folder to run Mozc without root"));
            return false;
        }
        m_home = QString::fromLocal8Bit(templ);
        m_ownHome = true;
        // Whose it is, so that the next start knows whether it was left behind.
        QFile owner(m_home + QStringLiteral("/") + OwnerFile);
        if (owner.open(QIODevice::WriteOnly))
            owner.write(QByteArray::number(::getpid()));
        QDir().mkpath(m_home + QStringLiteral("/.config"));
        for (const QString &p : {m_home, m_home + QStringLiteral("/.config")})
            if (chown(p.toLocal8Bit().constData(), pw->pw_uid, pw->pw_gid) != 0) {
                fail(QStringLiteral("cannot hand %1 to %2").arg(p, m_o.unprivileged));
                return false;
            }
    } else {
        m_home = m_o.profile;
        // The server ends silently without this folder.
        if (m_home.isEmpty() || !QDir().mkpath(m_home + QStringLiteral("/.config"))) {
            fail(QStringLiteral("no folder for Mozc's profile: %1").arg(m_home));
            return false;
        }
        // What Mozc learns there is what the user wrote.
        QFile::setPermissions(m_home, PrivateFile::UserOnlyFolder);
    }

    // Started here, the server ends with the program instead of lingering.
    QStringList s = command(m_o.server, {});
    m_server = std::make_unique<QProcess>();
    endWithParent(*m_server);
    m_server->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_server->setStandardOutputFile(QProcess::nullDevice());
    m_server->start(s.takeFirst(), s);
    if (!m_server->waitForStarted(m_o.answerMs)) {
        fail(QStringLiteral("the Mozc server did not start"));
        return false;
    }
    // The helper would start a server of its own if it came before this one listens.
    const QString ipc = m_home + QStringLiteral("/.config/mozc/.session.ipc");
    QElapsedTimer clock;
    clock.start();
    while (!QFileInfo::exists(ipc) && clock.elapsed() < m_o.answerMs &&
           m_server->state() == QProcess::Running)
        QThread::msleep(10);
    if (!QFileInfo::exists(ipc)) {
        fail(QStringLiteral("the Mozc server did not come up"));
        return false;
    }

    QStringList h = command(m_o.helper, {QStringLiteral("--suppress_stderr")});
    m_helper = std::make_unique<QProcess>();
    endWithParent(*m_helper);
    m_helper->setProcessChannelMode(QProcess::SeparateChannels);
    m_helper->setStandardErrorFile(QProcess::nullDevice());
    m_helper->start(h.takeFirst(), h);
    if (!m_helper->waitForStarted(m_o.answerMs)) {
        fail(QStringLiteral("the Mozc helper did not start"));
        return false;
    }
    // The greeting line comes first.
    clock.restart();
    while (!m_helper->canReadLine()) {
        if (clock.elapsed() > m_o.answerMs || !m_helper->waitForReadyRead(m_o.answerMs)) {
            fail(QStringLiteral("the Mozc helper did not answer"));
            return false;
        }
    }
    m_helper->readLine();
    Sexp out;
    if (!send(QStringLiteral("CreateSession"), &out))
        return false;
    return working();
}

bool MozcEngine::ensureStarted()
{
    return m_started ? working() : start();
}

void MozcEngine::fail(const QString &why)
{
    if (m_problem.isEmpty())
        m_problem = why;
    stop();
}

void MozcEngine::endLeftovers() const
{
    if (geteuid() == 0) {
        // Profiles of a run that was killed (its owner is gone): their servers, then the folders.
        // Another program's that still runs, a test's beside this one, is left alone.
        const QFileInfo first(rootProfilePrefix() + QStringLiteral("X"));
        for (const QFileInfo &dir :
             first.dir().entryInfoList({first.fileName().chopped(1) + u'*'}, QDir::Dirs)) {
            QFile owner(dir.filePath() + QStringLiteral("/") + OwnerFile);
            const int pid = owner.open(QIODevice::ReadOnly) ? owner.readAll().trimmed().toInt() : 0;
            const QString home = QDir::cleanPath(dir.filePath());
            if (pid > 0 ? ProcessTable::isRunning(pid) : adoptedNone(home))
                continue;
            endMozcIn([&home](const QString &h) { return QDir::cleanPath(h) == home; });
            if (QDir(dir.filePath()).removeRecursively())
                qCInfo(lcMozc) << "removed the Mozc profile" << dir.filePath() << "of an earlier run";
        }
    } else if (!m_o.profile.isEmpty()) {
        const QString profile = QDir::cleanPath(m_o.profile);
        endMozcIn([&profile](const QString &home) { return QDir::cleanPath(home) == profile; });
    }
}

void MozcEngine::stop()
{
    for (auto *p : {&m_helper, &m_server}) {
        if (*p && (*p)->state() != QProcess::NotRunning) {
            (*p)->closeWriteChannel();
            (*p)->terminate();
            if (!(*p)->waitForFinished(1000)) {
                (*p)->kill();
                (*p)->waitForFinished(1000);
            }
        }
        p->reset();
    }
    // A server the helper started by itself, when ours had gone, is found by its profile.
    if (!m_home.isEmpty()) {
        const QString home = QDir::cleanPath(m_home);
        endMozcIn([&home](const QString &h) { return QDir::cleanPath(h) == home; });
    }
    if (m_ownHome && !m_home.isEmpty()) {
        QDir(m_home).removeRecursively();
        m_ownHome = false;
    }
}

bool MozcEngine::send(const QString &cmd, Sexp *output)
{
    if (!m_helper)
        return false;
    // Without our server the helper would start one of its own: it is ended with the helper.
    if (!serverAlive()) {
        fail(QStringLiteral("the Mozc server ended"));
        return false;
    }
    const int id = m_event++;
    m_helper->write(QStringLiteral("(%1 %2)\n").arg(id).arg(cmd).toUtf8());
    QElapsedTimer clock;
    clock.start();
    for (;;) {
        while (m_helper->canReadLine()) {
            bool ok = false;
            const Sexp answer = Sexp::parse(QString::fromUtf8(m_helper->readLine()), &ok);
            if (!ok || MozcReply::text(answer.value(QStringLiteral("emacs-event-id"))).toInt() != id)
                continue;
            if (const Sexp *session = answer.value(QStringLiteral("emacs-session-id")))
                m_session = session->text;
            if (!serverAlive()) {
                fail(QStringLiteral("the Mozc server ended"));
                return false;
            }
            if (const Sexp *out = answer.value(QStringLiteral("output"))) {
                *output = *out;
                return true;
            }
            fail(QStringLiteral("Mozc refused: %1").arg(cmd));
            return false;
        }
        const qint64 left = m_o.answerMs - clock.elapsed();
        if (left <= 0 || m_helper->state() != QProcess::Running || !m_helper->waitForReadyRead(int(left))) {
            fail(QStringLiteral("Mozc stopped answering"));
            return false;
        }
    }
}

bool MozcEngine::serverAlive() const
{
    // Asked of the system: no event loop runs here to tell the process object it ended.
    return m_server && m_server->processId() > 0 && ProcessTable::isRunning(int(m_server->processId()));
}

bool MozcEngine::key(const QString &k, Sexp *output)
{
    return send(QStringLiteral("SendKey %1 %2").arg(m_session, k), output);
}

bool MozcEngine::compose(const QString &kana)
{
    if (!ensureStarted() || !isKanaRun(kana))
        return false;
    if (kana == m_composed)
        return true;
    Sexp out;
    if (m_composed.startsWith(kana)) {
        for (qsizetype i = kana.size(); i < m_composed.size(); ++i)
            if (!key(QStringLiteral("backspace"), &out))
                return false;
        m_composed = kana;
        m_suggestions = MozcReply::candidates(out, kana);
        return true;
    }
    if (!kana.startsWith(m_composed)) {
        // Cancels the composition.
        for (int tries = 0; tries < 3 && !m_composed.isEmpty(); ++tries) {
            if (!key(QStringLiteral("escape"), &out))
                return false;
            if (!out.value(QStringLiteral("preedit")))
                m_composed.clear();
        }
        if (!m_composed.isEmpty()) {
            fail(QStringLiteral("Mozc kept its composition"));
            return false;
        }
    }
    for (qsizetype i = m_composed.size(); i < kana.size(); ++i)
        if (!key(MozcReply::quoted(kana.mid(i, 1)), &out))
            return false;
    m_composed = kana;
    m_suggestions = MozcReply::candidates(out, kana);
    return true;
}

std::vector<Candidate> MozcEngine::predict(const QString &kana)
{
    if (!compose(kana))
        return {};
    return m_suggestions;
}

std::vector<Segment> MozcEngine::convert(const QString &kana)
{
    if (!compose(kana))
        return {};
    Sexp out;
    if (!key(QStringLiteral("space"), &out))
        return {};
    MozcReply::Preedit p = MozcReply::preedit(out);
    // Each segment's forms come when it has the focus; the focus starts on the first.
    for (size_t i = 0; i < p.segments.size(); ++i) {
        if (i > 0 && (!key(QStringLiteral("right"), &out) || MozcReply::preedit(out).focused != int(i)))
            break;
        QStringList forms;
        for (const Candidate &c : MozcReply::candidates(out, kana))
            if (!forms.contains(c.text))
                forms << c.text;
        if (!forms.isEmpty())
            p.segments[i].forms = forms;
    }
    // Back to the composition, where the next kana will be added.
    if (!key(QStringLiteral("escape"), &out))
        return {};
    m_suggestions = MozcReply::candidates(out, kana);
    return p.segments;
}

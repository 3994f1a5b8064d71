#pragma once

#include "platform/conversion/conversionengine.h"

#include <QProcess>
#include <QString>
#include <memory>

struct Sexp;

// Conversion through the Mozc server, spoken to by its line helper
// (mozc_emacs_helper) over a pipe. The server keeps its dictionary and
// history in a profile folder of its own, so the user's input method is never
// touched; nothing is ever committed there, so it learns nothing: learning is
// the program's. The server refuses to run as root; started by root, both run
// as an unprivileged account with a profile folder made for it.
class MozcEngine : public ConversionEngine
{
public:
    struct Options
    {
        QString helper = QStringLiteral("mozc_emacs_helper");
        QString server = QStringLiteral("/usr/lib/mozc/mozc_server");
        QString profile;                                 // the folder given to the server as its home
        QString unprivileged = QStringLiteral("nobody"); // the account used when started as root
        int answerMs = 3000;                             // longer than this, and the engine counts as stopped
    };

    explicit MozcEngine(Options options);
    ~MozcEngine() override;

    // Starts the server and the helper; false, with problem(), when it cannot.
    // The other calls start it on first use.
    bool start();

    std::vector<Segment> convert(const QString &kana) override;
    std::vector<Candidate> predict(const QString &kana) override;
    bool working() const override { return m_problem.isEmpty(); }

    QString problem() const override { return m_problem; }

private:
    bool ensureStarted();
    bool compose(const QString &kana);
    bool send(const QString &command, Sexp *output);
    bool key(const QString &key, Sexp *output);
    void fail(const QString &why);
    void stop();
    // Ends the Mozc processes a killed run left in this program's profiles, and removes their folders.
    void endLeftovers() const;
    bool serverAlive() const;
    QStringList command(const QString &program, const QStringList &args) const;

    Options m_o;
    QString m_problem;
    bool m_started = false;
    QString m_home;
    bool m_ownHome = false;
    std::unique_ptr<QProcess> m_server;
    std::unique_ptr<QProcess> m_helper;
    int m_event = 0;
    QString m_session;
    QString m_composed;                   // the kana now in the helper's composition
    std::vector<Candidate> m_suggestions; // what the server suggested for them
};

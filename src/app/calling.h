#pragma once

#include "access/callcontroller.h"

#include <QElapsedTimer>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QSet>
#include <QString>
#include <optional>

class AccessControl;
class ColorFrame;
class TalkWindow;
struct SharedState;

// The call for help on Pirokan's windows: the call key, the held select
// switch, and while the call sounds a cover over every window that says so,
// where any press answers the call and presses nothing else.
class Calling final : public QObject
{
    Q_OBJECT
public:
    Calling(TalkWindow &w, SharedState &shared, AccessControl &access);
    ~Calling() override;

    // Reads the call's settings and shows or hides the key and the hold (at start-up, and after the options).
    void apply();
    CallController &controller() { return m_call; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void call(CallController::Way way);
    void cover(QWidget *window);
    void uncover();
    void showProblem(const QString &message);
    bool bounce() const;

    TalkWindow &m_w;
    SharedState &m_shared;
    AccessControl &m_access;
    CallController m_call;
    QList<QPointer<ColorFrame>> m_covers;
    QString m_problem;
    std::optional<QString> m_hookCommand; // the bell's command line as last made, none when off
    QSet<int> m_answeringKeys;            // keys whose press answered the call: their release goes too
    bool m_answeringPointer = false;
    QElapsedTimer m_sinceStart; // since the call began
};

#include "app/calling.h"

#include "access/accesscontrol.h"
#include "app/talkwindow.h"
#include "platform/character.h"
#include "platform/controls.h"
#include "platform/fonts.h"
#include "platform/settingsstore.h"
#include "shared/callsettings.h"
#include "shared/okdialog.h"
#include "shared/palette.h"
#include "shared/sharedstate.h"

#include <QApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QVBoxLayout>

namespace {

ColorLabel *coverLine(QWidget *cover, const char *name, const QString &text, double points)
{
    auto *l = new ColorLabel(text, cover);
    l->setObjectName(QLatin1String(name));
    l->setBackColor(Palette::CallOrange);
    l->setAlignment(Qt::AlignCenter);
    l->setWordWrap(true);
    Fonts::set(l, Fonts::ProportionalGothic, points, true);
    return l;
}

} // namespace

Calling::Calling(TalkWindow &w, SharedState &shared, AccessControl &access)
    : m_w(w), m_shared(shared), m_access(access)
{
    m_call.setOutput(shared.sv.chime);
    m_call.setStopSpeech([this] {
        if (m_shared.gCharacter)
            m_shared.gCharacter->stop();
    });
    // A problem the first ring met is said on the covers made after it; it goes with the call.
    connect(&m_call, &CallController::started, this, [this] {
        m_shared.state.setCalling(true);
        m_sinceStart.start();
        for (QWidget *top : QApplication::topLevelWidgets())
            if (top->isVisible() && (top == &m_w || qobject_cast<QDialog *>(top)))
                cover(top);
    });
    connect(&m_call, &CallController::ended, this, [this] {
        m_shared.state.setCalling(false);
        uncover();
        m_problem.clear();
    });
    connect(&m_call, &CallController::problem, this, &Calling::showProblem);
    // Installed after the scanning's filter, so it hears every press first.
    qApp->installEventFilter(this);
}

Calling::~Calling()
{
    qApp->removeEventFilter(this);
}

void Calling::apply()
{
    CallSettings s;
    if (m_shared.sv.call)
        s = ReadCallSettings(*m_shared.sv.call);
    else
        s.enabled = false; // nowhere to keep it: no call
    m_call.apply(s);
    // The bell is made anew only when its command changed: closing the options must not end a bell
    // still running, nor the "stop" waiting behind it.
    if (std::optional<QString> command = s.enabled ? std::optional(s.command) : std::nullopt;
        command != m_hookCommand) {
        m_call.setHook(command ? CreateCommandHook(*command) : nullptr);
        m_hookCommand = std::move(command);
    }
    m_w.showCallKey(s.enabled);
    if (s.enabled)
        m_shared.callForHelp = [this] { call(CallController::Way::Key); };
    else
        m_shared.callForHelp = nullptr;
    m_access.setCallHandler(s.enabled
                                ? std::function<void()>([this] { call(CallController::Way::SwitchHold); })
                                : std::function<void()>());
}

bool Calling::bounce() const
{
    // A second press as quick as the ones the user's filter drops on the board (a tremor, a finger
    // that bounces) is not the answer to their own call: it is dropped as well.
    const int ignoreMs = m_access.settings().ignoreRepeatMs;
    return ignoreMs > 0 && m_sinceStart.isValid() && m_sinceStart.elapsed() < ignoreMs;
}

void Calling::call(CallController::Way way)
{
    m_call.start(way);
}

void Calling::cover(QWidget *window)
{
    auto *c = new ColorFrame(window);
    c->setObjectName(QStringLiteral("callCover"));
    c->setBackColor(Palette::CallOrange);
    c->setAccessibleName(QStringLiteral("呼んでいます"));
    auto *layout = new QVBoxLayout(c);
    layout->addWidget(coverLine(c, "lblCalling", QStringLiteral("呼んでいます"), 72), 3);
    layout->addWidget(coverLine(c, "lblCallProblem", m_problem, 24), 1);
    layout->addWidget(coverLine(c, "lblCallAnswer", QStringLiteral("どこかを押すと止まります。"), 24), 1);
    c->setGeometry(window->rect());
    c->show();
    c->raise();
    m_covers << c;
}

void Calling::uncover()
{
    for (const QPointer<ColorFrame> &c : std::as_const(m_covers))
        delete c.data();
    m_covers.clear();
}

void Calling::showProblem(const QString &message)
{
    if (!m_call.isCalling()) {
        // A bell told "stop" after the call ended: nothing shows the call any more.
        if (!message.isEmpty())
            ShowOKDialog(m_shared, message, OkDialog::Notice, QStringLiteral("Pirokan"));
        return;
    }
    m_problem = message;
    for (const QPointer<ColorFrame> &c : std::as_const(m_covers))
        if (c)
            if (auto *l = c->findChild<ColorLabel *>(QStringLiteral("lblCallProblem")))
                l->setText(message);
}

bool Calling::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease: {
        const auto *k = static_cast<QKeyEvent *>(event);
        if (m_answeringKeys.contains(k->key())) {
            if (event->type() == QEvent::KeyRelease && !k->isAutoRepeat())
                m_answeringKeys.remove(k->key());
            return true;
        }
        // A switch held down since it called, repeating, answers nothing.
        if (event->type() != QEvent::KeyPress || k->isAutoRepeat() || !m_call.isCalling())
            return false;
        if (!bounce())
            m_call.acknowledge();
        m_answeringKeys.insert(k->key());
        return true;
    }
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::TouchBegin:
        if (m_answeringPointer)
            return true;
        if (!m_call.isCalling())
            return false;
        if (!bounce())
            m_call.acknowledge();
        m_answeringPointer = true;
        return true;
    case QEvent::MouseButtonRelease:
    case QEvent::TouchEnd:
        if (!m_answeringPointer)
            return false;
        m_answeringPointer = false;
        return true;
    case QEvent::Show:
        // A dialog that opens while the call sounds is covered too.
        if (m_call.isCalling() && watched->isWidgetType() && qobject_cast<QDialog *>(watched))
            cover(static_cast<QWidget *>(watched));
        return false;
    default:
        return false;
    }
}

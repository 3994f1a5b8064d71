#include "access/accesscontrol.h"

#include "access/accessdialog.h"
#include "platform/buttonaccessible.h"
#include "platform/character.h"
#include "platform/controls.h"
#include "platform/grid.h"
#include "platform/highlightframe.h"
#include "platform/modalrunner.h"
#include "shared/okdialog.h"
#include "shared/sharedstate.h"
#include "text/keyrepeat.h"

#include <QApplication>
#include <QCursor>
#include <QKeyEvent>
#include <QLineEdit>
#include <QLoggingCategory>
#include <QMouseEvent>
#include <algorithm>

Q_LOGGING_CATEGORY(lcAccess, "pirokan.access", QtWarningMsg)

namespace {

constexpr int WatchMs = 250; // how often two-switch scanning looks for a new screen

} // namespace

AccessControl::AccessControl(const ScanControls &c, SharedState &shared, KeyRepeat &keyRepeat)
    : m_c(c), m_shared(shared), m_keyRepeat(keyRepeat)
{
    m_clock.start();
    m_scanTimer.setTimerType(Qt::PreciseTimer);
    m_dwellTimer.setTimerType(Qt::PreciseTimer);
    m_dwellTimer.setInterval(DwellSampleMs);
    connect(&m_scanTimer, &QTimer::timeout, this, &AccessControl::tick);
    connect(&m_dwellTimer, &QTimer::timeout, this, [this] { pointerAt(QCursor::pos(), now()); });
    m_dwellEnd.setSingleShot(true);
    m_dwellEnd.setTimerType(Qt::PreciseTimer);
    connect(&m_dwellEnd, &QTimer::timeout, this, [this] { pointerAt(QCursor::pos(), now()); });
    m_escapeHold.setSingleShot(true);
    m_escapeHold.setInterval(EscapeHoldMs);
    connect(&m_escapeHold, &QTimer::timeout, this, &AccessControl::openAccessDialog);
    m_scanner.onHighlight = [this](const ScanNode &node) {
        m_follow.highlightMoved(now());
        if (m_settings.scanning())
            m_record.step(today());
        speak(node);
    };
    m_followSave.setSingleShot(true);
    m_followSave.setInterval(2000);
    connect(&m_followSave, &QTimer::timeout, this, [this] {
        QString error;
        const bool kept = keepFollowed(&error);
        if (kept)
            return;
        qCWarning(lcAccess) << "the reached timing or the record of writing was not kept:" << error;
        // Said once a run: this comes back every few presses, and writing goes on without it.
        if (!std::exchange(m_keepFailureTold, true))
            ShowOKDialog(m_shared,
                         QObject::tr("操作に合わせた速さと書く速さの記録を保存できませんでした（%1）。"
                                     "このまま使えますが、次に起動したときには残っていません。")
                             .arg(error),
                         OkDialog::Notice, QStringLiteral("Pirokan"));
    });
    m_callHold.setSingleShot(true);
    m_callHold.setTimerType(Qt::PreciseTimer);
    connect(&m_callHold, &QTimer::timeout, this, [this] { m_scanner.holdTick(now()); });
    m_scanner.onCall = [this] {
        if (m_onCall)
            m_onCall();
    };
    // One filter on the application hears every key and press, whichever window is on top.
    qApp->installEventFilter(this);
}

AccessControl::~AccessControl()
{
    qApp->removeEventFilter(this);
    // The last presses before the program ends are kept too.
    if (QString error; m_followSave.isActive() && !keepFollowed(&error))
        qCWarning(lcAccess) << "the reached timing or the record of writing was not kept:" << error;
    // A frame inside a window goes with it; one in no window is ours.
    if (m_frame && !m_frame->parentWidget())
        delete m_frame.data();
}

void AccessControl::apply(const AccessSettings &given)
{
    const AccessSettings settings = WithoutSwitchClash(given);
    m_settings = settings;
    m_scanner.setMethod(settings.method == AccessSettings::TwoSwitch ? Scanner::Method::Step
                                                                     : Scanner::Method::Automatic);
    m_scanner.setLongPressMs(settings.longPressMs);
    m_scanner.setCallHoldMs(m_onCall ? settings.callHoldMs : 0);
    m_followSave.stop();
    m_followKept = m_shared.sv.access ? ReadFollowSettings(*m_shared.sv.access) : FollowSettings();
    if (m_shared.sv.access)
        m_record.watchClearing(*m_shared.sv.access);
    m_follow.apply(settings, m_followKept);
    m_dwell.setDwellMs(m_follow.dwellMs());
    m_dwell.setFirstRepeatMs(settings.firstRepeatMs);
    m_filter.setSettings({settings.ignoreRepeatMs, settings.holdMs});
    m_keyRepeat.setFirstRepeatMs(settings.firstRepeatMs);
    frameNow()->setColor(settings.highlightColor());
    m_screen = ScanScreen();
    if (settings.speakScan && settings.scanning() && m_shared.gCharacter) {
        // The names the scan may say are made ready like the board's characters, so they are heard at once.
        QStringList names;
        for (const QWidget *control : m_c.window->findChildren<QWidget *>()) {
            const auto *button = qobject_cast<const QAbstractButton *>(control);
            const QString name = button ? ButtonAccessible::nameOf(button) : control->accessibleName();
            if (!name.isEmpty())
                names << name;
        }
        // A key's symbol may change to another (読む to ♪) while scanning.
        names << ButtonAccessible::symbolWords().values();
        m_shared.gCharacter->prepare(names);
    }
    setManualTicks(m_manual);
    if (settings.scanning())
        refresh(true);
    else
        frameNow()->frame(nullptr, QRect());
    showHighlight();
}

bool AccessControl::keepFollowed(QString *error)
{
    if (!m_shared.sv.access)
        return true;
    if (const FollowSettings stored = ReadFollowSettings(*m_shared.sv.access); stored != m_followKept) {
        // 操作方法 changed them meanwhile (turned off, frozen, sent back): those choices stand.
        m_follow.apply(m_settings, stored);
        m_followKept = stored;
        followed();
    } else if (m_follow.on() && m_follow.values() != stored) {
        if (!WriteFollowSettings(*m_shared.sv.access, m_follow.values(), error))
            return false;
        m_followKept = m_follow.values();
    }
    return m_record.keep(*m_shared.sv.access, today(), error);
}

void AccessControl::setCallHandler(std::function<void()> call)
{
    m_onCall = std::move(call);
    m_scanner.setCallHoldMs(m_onCall ? m_settings.callHoldMs : 0);
}

void AccessControl::setManualTicks(bool manual)
{
    m_manual = manual;
    m_scanTimer.stop();
    m_dwellTimer.stop();
    m_dwellEnd.stop();
    if (manual)
        return;
    if (m_settings.method == AccessSettings::OneSwitch)
        m_scanTimer.start(m_follow.scanMs());
    else if (m_settings.method == AccessSettings::TwoSwitch)
        m_scanTimer.start(WatchMs);
    else if (m_settings.method == AccessSettings::DwellMethod)
        m_dwellTimer.start();
}

HighlightFrame *AccessControl::frameNow()
{
    // The frame lives inside the window on top; when a dialog that held it is gone, so is the frame.
    if (!m_frame) {
        m_frame = new HighlightFrame;
        m_frame->setColor(m_settings.highlightColor());
    }
    return m_frame;
}

void AccessControl::tick()
{
    if (!m_settings.scanning())
        return;
    const QString before = m_screen.identity;
    refresh();
    // A new screen shows its first highlight for a whole interval.
    if (m_screen.identity == before && m_settings.method == AccessSettings::OneSwitch) {
        const int level = m_scanner.level();
        m_scanner.tick();
        if (level > 0 && m_scanner.level() == 0) {
            m_follow.groupLeft();
            followed();
        }
    }
    showHighlight();
}

bool AccessControl::refresh(bool force)
{
    ScanScreen screen = ReadScreen(m_c, m_shared.state, m_settings);
    if (!force && screen.identity == m_screen.identity && screen.window == m_screen.window)
        return false;
    qCDebug(lcAccess) << "new screen" << screen.kind << "with" << screen.targets.size() << "targets";
    m_screen = std::move(screen);
    m_scanner.setTree(m_screen.tree);
    m_dwell.reset(); // its targets were the old screen's
    m_smoothing.reset();
    return true;
}

void AccessControl::showHighlight()
{
    if (!m_settings.scanning())
        return;
    const ScanNode *n = m_scanner.highlighted();
    if (n)
        qCDebug(lcAccess) << "highlight" << n->label << m_scanner.path();
    frameNow()->setProgress(0);
    frameNow()->frame(m_screen.window, n ? m_screen.areasOf(*n) : QList<QRect>());
}

void AccessControl::pressTarget(int index)
{
    if (index < 0 || index >= int(m_screen.targets.size()))
        return;
    const ScanTarget target = m_screen.targets[size_t(index)];
    const bool undo = target.widget && (target.widget == m_c.cmdRes[1] || target.widget == m_c.cmdEnd2);
    m_follow.pressed(undo);
    // Counts only: a character from the selection screen or the space, a candidate's length.
    const auto *candidate = qobject_cast<const QAbstractButton *>(target.widget.data());
    const int written = target.widget == m_c.grdBoard2 || target.widget == m_c.cmdspace ? 1
                        : candidate && m_c.fraCand && m_c.fraCand->isAncestorOf(candidate)
                            ? int(candidate->text().size())
                            : 0;
    m_record.pressed(today(), now(), written, undo, m_settings.method == AccessSettings::DwellMethod);
    m_followSave.start();
    followed();
    // The press may open a dialog and wait in it; scanning goes on there.
    target.press();
    refresh();
    showHighlight();
}

QDate AccessControl::today() const
{
    return m_shared.sv.clock ? m_shared.sv.clock->today() : QDate::currentDate();
}

void AccessControl::followed()
{
    if (!m_follow.on())
        return;
    m_dwell.setDwellMs(m_follow.dwellMs());
    if (m_settings.method == AccessSettings::OneSwitch && m_scanTimer.interval() != m_follow.scanMs())
        m_scanTimer.setInterval(m_follow.scanMs());
    m_followSave.start();
}

void AccessControl::speak(const ScanNode &node)
{
    if (!m_settings.speakScan || !m_settings.scanning() || !m_shared.gCharacter)
        return;
    // Never over a sentence being read (the voice is busy until its last clause), nor over a character.
    if (m_shared.gCharacter->isSpeaking())
        return;
    const QString said = m_screen.nameOf(node).trimmed();
    if (!said.isEmpty())
        m_shared.gCharacter->speak(said);
}

void AccessControl::pointerAt(QPoint global, qint64 nowMs)
{
    if (m_settings.method != AccessSettings::DwellMethod)
        return;
    refresh();
    QWidget *window = m_screen.window;
    if (!window)
        return;
    const QPoint point = m_smoothing.add(window->mapFromGlobal(global), nowMs);
    QWidget *under = QApplication::widgetAt(global);
    const bool inside = window->rect().contains(point) && (!under || under->window() == window);
    const QPoint origin = window->mapToGlobal(QPoint());
    int index = inside ? m_screen.targetAt(point) : -1;
    std::optional<QRect> area;
    if (index >= 0)
        area = m_screen.targets[size_t(index)].area().translated(origin);
    if (m_dwellPressed.holdsOff(point + origin, area))
        index = -1;
    const bool repeats = index >= 0 && m_screen.targets[size_t(index)].repeats;
    const std::optional<int> pressed = m_dwell.sample(index, repeats, nowMs);
    if (const std::optional<qint64> rest = m_dwell.takeRest()) {
        qCDebug(lcAccess) << "look" << *rest << "ms, dwell" << m_follow.dwellMs() << "ms";
        m_follow.rested(*rest);
    }
    const int held = m_dwell.target();
    frameNow()->frame(window, held >= 0 && held < int(m_screen.targets.size())
                                  ? m_screen.targets[size_t(held)].area()
                                  : QRect());
    frameNow()->setProgress(m_dwell.progress(nowMs));
    if (!pressed) {
        // The dwell ends when it is due, not at the sample after.
        const std::optional<qint64> due = m_dwell.nextPressIn(nowMs);
        if (!m_manual && due && *due > 0 && *due < DwellSampleMs)
            m_dwellEnd.start(int(*due));
        return;
    }
    const ScanTarget &t = m_screen.targets[size_t(*pressed)];
    const bool onBoard = t.widget == m_c.grdBoard || t.widget == m_c.grdBoard2;
    if (onBoard && !m_filter.instant(nowMs))
        return;
    qCDebug(lcAccess) << "dwell press" << (t.widget ? t.widget->objectName() : QString()) << t.row << t.col;
    if (!t.repeats)
        m_dwellPressed.pressed(t.area().translated(origin), point + origin);
    pressTarget(*pressed);
}

bool AccessControl::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
        break;
    default:
        return false;
    }
    const bool key = event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease;
    if (key)
        watchEscape(static_cast<QKeyEvent *>(event));
    // A field being written in (a carer's command line) has the keyboard: the scan never offers it,
    // so a key arriving there is typed by someone at the keyboard, and a space stays a space.
    if (const auto *field = qobject_cast<QLineEdit *>(watched); key && field && !field->isReadOnly())
        return false;
    if (m_settings.scanning() && switchEvent(event))
        return true;
    return filterPointerPress(watched, event);
}

bool AccessControl::switchEvent(QEvent *event)
{
    const bool key = event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease;
    bool down = event->type() == QEvent::KeyPress || event->type() == QEvent::MouseButtonPress ||
                event->type() == QEvent::MouseButtonDblClick;
    bool select = false, move = false;
    if (key) {
        auto *k = static_cast<QKeyEvent *>(event);
        select = k->key() == m_settings.selectKey;
        move = k->key() == m_settings.moveKey && m_settings.method == AccessSettings::TwoSwitch;
        if (!select && !move)
            return false;
        if (k->isAutoRepeat())
            return true; // a held switch is one press
    } else {
        // A touch always presses what it touches, whatever the switches do.
        const auto *device = static_cast<QPointerEvent *>(event)->pointingDevice();
        if (!m_settings.mouseSwitch || (device && device->type() == QInputDevice::DeviceType::TouchScreen))
            return false;
        select = true;
    }
    // Consumed either way: a switch never types, nor presses what is under the pointer.
    // After a press the highlight stays a whole interval before it moves on.
    // A press just after the highlight moved on was meant for the item it left, when the timing follows
    // the user and their reactions say so.
    if (down && select && m_settings.method == AccessSettings::OneSwitch &&
        m_follow.switchDown(now(), m_scanner.canStepBack()))
        m_scanner.stepBack();
    if (down && m_scanTimer.isActive() && m_settings.method == AccessSettings::OneSwitch)
        m_scanTimer.start();
    // A screen that came by itself (a notice, a button that went grey) since the last highlight was
    // drawn: the user pressed for what they saw. Where that is gone, the press shows the new screen's
    // first highlight and takes nothing there; held, it still calls.
    const auto shown = [this] {
        const ScanNode *n = m_scanner.highlighted();
        return std::pair{m_screen.window, n ? m_screen.areasOf(*n) : QList<QRect>()};
    };
    const auto seen = shown();
    const bool fresh = (down || !move) && refresh();
    const bool unseen = down && fresh && shown() != seen;
    if (move) {
        if (down && !unseen)
            m_scanner.move();
        if (down)
            showHighlight();
        return true;
    }
    if (unseen)
        m_scanner.switchDownUnseen(now());
    const std::optional<int> chosen = unseen ? std::nullopt
                                      : down ? m_scanner.switchDown(now())
                                             : m_scanner.switchUp(now());
    // Counted from going down, whatever window is on top, modal or not.
    if (const std::optional<qint64> left = m_scanner.callHoldLeft(now()))
        m_callHold.start(int(*left));
    else
        m_callHold.stop();
    showHighlight();
    if (chosen)
        pressTarget(*chosen);
    return true;
}

bool AccessControl::filterPointerPress(QObject *watched, QEvent *event)
{
    const auto filter = m_filter.settings();
    if (filter.ignoreRepeatMs <= 0 && filter.holdMs <= 0)
        return false;
    Grid *grid = nullptr;
    for (Grid *g : {m_c.grdBoard, m_c.grdBoard2})
        if (watched == g->viewport())
            grid = g;
    if (!grid || event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease)
        return false;
    auto *m = static_cast<QMouseEvent *>(event);
    if (m->button() != Qt::LeftButton)
        return false;
    const qint64 t = now();
    if (event->type() != QEvent::MouseButtonRelease) {
        m_pressing = m_filter.down(t);
        if (!m_pressing)
            return true; // a shaky second press, and its release below
        if (filter.holdMs <= 0)
            return false;
        m_heldAt = grid->viewport()->mapTo(grid, m->position().toPoint());
        return true; // counted only once it has been held long enough
    }
    const bool taken = m_filter.up(t);
    if (!m_pressing)
        return true;
    m_pressing = false;
    if (filter.holdMs <= 0)
        return false;
    if (taken) {
        const auto [row, col] = grid->cellAt(m_heldAt);
        if (row >= 0)
            grid->pressCell(row, col);
    }
    return true;
}

void AccessControl::watchEscape(const QKeyEvent *key)
{
    if (key->key() != EscapeKey || key->isAutoRepeat())
        return;
    if (key->type() == QEvent::KeyPress)
        m_escapeHold.start();
    else
        m_escapeHold.stop();
}

void AccessControl::openAccessDialog()
{
    if (!m_shared.sv.access || !m_shared.sv.modal ||
        qobject_cast<AccessDialog *>(QApplication::activeModalWidget()))
        return;
    AccessDialog dialog(*m_shared.sv.access, WindowOnTop(*m_c.window), m_shared.callForHelp);
    m_shared.sv.modal->run(dialog);
    apply(ReadAccessSettings(*m_shared.sv.access));
    if (!dialog.saveError().isEmpty())
        ShowOKDialog(m_shared, dialog.saveError(), OkDialog::Notice, QStringLiteral("Pirokan"));
}

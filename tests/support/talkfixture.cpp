#include "support/talkfixture.h"

#include "entries/entryformat.h"
#include "platform/controls.h"
#include "platform/grid.h"
#include "platform/textbox.h"
#include "shared/okdialog.h"

#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTest>

namespace {

template <typename T> T *named(const QWidget *w, const char *name)
{
    T *found = w->findChild<T *>(QLatin1String(name));
    if (!found)
        qFatal("the main window has no control %s", name);
    return found;
}

} // namespace

TestTalkWindow::TestTalkWindow()
{
#define PIROKAN_FIND_CONTROL(Type, name) name = named<Type>(this, #name);
    PIROKAN_TALK_CONTROLS(PIROKAN_FIND_CONTROL)
#undef PIROKAN_FIND_CONTROL
    for (int i = 0; i < int(cmdRes.size()); ++i)
        cmdRes[size_t(i)] = static_cast<ColorButton *>(arrayButton(fraRes, QStringLiteral("cmdRes"), i));
}

Mode CurrentMode(const TestTalkWindow &w)
{
    return w.state->mode();
}

TalkFixture::TalkFixture(const QHash<QString, QString> &stored, bool startNow, bool withCall)
{
    settings.values = stored;
    QFile::copy(QStringLiteral(PIROKAN_DATA_DIR "/genie.acs"), folder.filePath(QStringLiteral("genie.acs")));
    m_window = std::make_unique<TestTalkWindow>();
    m_program = std::make_unique<TalkProgram>(
        *m_window,
        Services{&settings, &agent, &beeper, &clipboard, &shell, &clock, &modal, &entries, nullptr,
                 &accessSettings, &conversion, &learnt, &vocabulary, withCall ? &callSettings : nullptr,
                 withCall ? &chime : nullptr, QString()},
        folder.path());
    m_window->state = &m_program->shared.state;
    if (startNow && !start())
        qFatal("start-up failed");
}

TalkFixture::~TalkFixture()
{
    m_program.reset(); // before the window it acts on
}

bool TalkFixture::start(QString *error)
{
    if (!m_program->start(error))
        return false;
    m_window->show();
    m_window->activateWindow();
    if (!QTest::qWaitForWindowActive(m_window.get()))
        qWarning("the main window did not become active");
    m_window->txtTalk->setFocus();
    return true;
}

void TalkFixture::writeEntries(const QString &name, const QStringList &lines)
{
    QString error;
    if (!entries.write(name, EntryFormat::fileText(lines), &error))
        qFatal("cannot write %s", qPrintable(error));
}

QStringList TalkFixture::readEntries(const QString &name)
{
    return EntryFormat::parseLines(entries.read(name).text);
}

void TalkFixture::typed(const QString &textWithMarker)
{
    Sentence &sentence = m_program->sentence;
    sentence.setShown(textWithMarker);
    sentence.setSelStart(sentence.length() - 1);
    sentence.setSelLength(1);
}

void TalkFixture::answerOk(int button)
{
    modal.answers.push_back([this, button](QDialog &d) {
        prompts << d.findChild<QLabel *>(QStringLiteral("lblOK"))->text().remove(QChar(0x200B));
        arrayButton(&d, QStringLiteral("cmdOK"), button)->click();
    });
}

void TalkFixture::press(QWidget *widget)
{
    if (!widget->isVisible())
        qFatal("pressing the hidden control %s", qPrintable(widget->objectName()));
    QTest::mouseClick(widget, Qt::LeftButton);
}

void TalkFixture::pressCell(Grid *grid, int row, int col)
{
    if (!grid->isVisible())
        qFatal("pressing the hidden grid %s", qPrintable(grid->objectName()));
    const QRect r = grid->visualRect(grid->model()->index(row, col));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, r.center());
}

QPushButton *arrayButton(QWidget *parent, const QString &name, int index)
{
    const auto buttons = parent->findChildren<QPushButton *>(name);
    for (QPushButton *b : buttons)
        if (b->property("index").toInt() == index)
            return b;
    return nullptr;
}

#include "app/screens.h"

#include "board/boardpages.h"
#include "platform/controls.h"
#include "platform/grid.h"
#include "shared/talkstate.h"

namespace {

QString listCaption(ListId listMode)
{
    switch (listMode) {
    case ListId::Examples:
        return QStringLiteral("例文終了");
    case ListId::Diary:
        return QStringLiteral("日記終了");
    case ListId::Addresses:
        return QStringLiteral("ﾒﾙｱﾄﾞ終了");
    case ListId::Mails:
        return QStringLiteral("ﾒｰﾙ終了");
    default:
        return QStringLiteral("例文表示");
    }
}

} // namespace

Screens::Screens(const TalkControls &c, const TalkState &state) : m_c(c), m_state(state)
{
    connect(&state, &TalkState::changed, this, &Screens::apply);
}

void Screens::showScreen()
{
    const std::array<Grid *, ListCount> lists{m_c.grdSp, m_c.grdEx, m_c.grdDay, m_c.grdAD, m_c.grdMail};
    const ListId shownList = m_state.shownList();
    Grid *shown = shownList == ListId::None ? nullptr : lists[size_t(shownList)];
    // What goes is hidden before what comes is shown.
    for (Grid *g : lists)
        if (g != shown)
            g->hide();
    switch (m_state.screen()) {
    case Screen::Board:
        m_c.grdBoard->show();
        m_c.fraTalk->hide();
        m_c.fraDay->hide();
        m_c.fraRes->show();
        break;
    case Screen::List:
        m_c.grdBoard->hide();
        if (shown)
            shown->show();
        m_c.fraDay->hide();
        m_c.fraRes->hide();
        m_c.fraTalk->show();
        break;
    case Screen::Entry:
        m_c.grdBoard->hide();
        m_c.fraTalk->hide();
        m_c.fraRes->hide();
        m_c.fraDay->show();
        break;
    }
    m_c.fraSet->setVisible(m_state.selectionOpen());
}

void Screens::apply()
{
    showScreen();
    const ListId listMode = m_state.listMode();
    m_c.cmdSamp->setText(listCaption(listMode));
    m_c.cmdSampADD->setVisible(listMode == ListId::None);
    m_c.cmdSampDel->setVisible(listMode == ListId::Examples);
    m_c.cmdKey->setText(BoardPages::captionOf(m_state.charSet()));
    m_c.cmdRead->setText(m_state.reading() ? QStringLiteral("♪") : QStringLiteral("読む"));
    m_c.cmdBack->setText(m_state.backAction() == BackAction::Back ? QStringLiteral("戻る")
                                                                  : QStringLiteral("決定"));
    m_c.cmdWide->setText(m_state.textAreaWidened() ? QStringLiteral("狭める") : QStringLiteral("広げる"));
    m_c.txtHide->setText(m_state.pendingChar());
}

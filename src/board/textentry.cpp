#include "app/talkcontext.h"
#include "app/talkwindow.h"
#include "board/board.h"
#include "board/boardpages.h"
#include "board/insertion.h"
#include "platform/controls.h"
#include "platform/services.h"
#include "platform/textbox.h"

bool InsertPendingChar(TalkContext &t)
{
    TextBox *box = t.w->txtTalk;
    const auto result = Insertion::insertPending(box->text(), qint16(box->selStart()), t.w->txtHide->text(),
                                                 box->maxLength());
    if (!result) {
        t.sv.beeper->beep(); // the text is full: say so rather than cut the marker off
        return false;
    }
    box->setText(result->text);
    box->setSelStart(result->caret);
    return true;
}

void cmdspace_Click(TalkContext &t)
{
    t.keyBeep();
    const bool letters = t.w->cmdKey->text() == BoardPages::AlphanumericCaption;
    t.w->txtHide->setText(letters ? QStringLiteral(" ") : QStringLiteral("　"));
    InsertPendingChar(t);
}

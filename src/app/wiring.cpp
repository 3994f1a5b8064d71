#include "app/wiring.h"

#include "app/okdialog.h"
#include "app/optionsdialog.h"
#include "app/startup.h"
#include "app/talkcontext.h"
#include "app/talkwindow.h"
#include "board/board.h"
#include "board/insertion.h"
#include "entries/entries.h"
#include "modes/modes.h"
#include "platform/colors.h"
#include "platform/controls.h"
#include "platform/grid.h"
#include "platform/modalrunner.h"
#include "platform/textbox.h"
#include "text/editkeys.h"
#include "text/keyrepeat.h"
#include "text/texttools.h"

#include <QApplication>

void cmdOpt_Click(TalkContext &t)
{
    OptionsDialog dialog(*t.sv.settings, t.w, t.sv.login);
    t.sv.modal->run(dialog);
    if (dialog.result() != QDialog::Accepted)
        return;
    // What was confirmed applies now, even when the store could not keep it.
    t.settings = dialog.shown();
    if (!dialog.saveError().isEmpty())
        ShowOKDialog(t, dialog.saveError(), OkDialog::Notice, QStringLiteral("Pirokan"));
    ApplyTextSize(t);
    t.w->cmdKey->setText(QStringLiteral("英数"));
    BuildBoardPage(t);
}

void cmdEnd_Click(TalkContext &t)
{
    // A slip on the small exit button must not throw away what was written.
    const QString text = t.w->txtTalk->text();
    if (!Insertion::holdsNothing(text)) {
        ShowOKDialog(t, QStringLiteral("書いた文は消えます。終了してもいいですか？"), OkDialog::OkCancel,
                     QStringLiteral("終了"));
        if (!t.OKAnswer)
            return;
    }
    t.w->close();
}

void cmdEnd2_Click(TalkContext &t)
{
    t.keyBeep();
    t.w->txtTalk->setFocus();
    t.w->fraSet->hide();
}

void WireTalkWindow(TalkContext &t)
{
    TalkWindow *w = t.w;
    QObject::connect(w, &TalkWindow::activated, w, [w] { w->txtTalk->setFocus(); });
    QObject::connect(w, &TalkWindow::closing, w, [] { QApplication::quit(); });
    QObject::connect(w->cmdEnd, &QPushButton::clicked, w, [&t] { cmdEnd_Click(t); });
    QObject::connect(w->cmdOpt, &QPushButton::clicked, w, [&t] { cmdOpt_Click(t); });
    QObject::connect(w->cmdEnd2, &QPushButton::clicked, w, [&t] { cmdEnd2_Click(t); });
    QObject::connect(w->cmdKey, &QPushButton::clicked, w, [&t] { cmdKey_Click(t); });

    QObject::connect(w->grdBoard, &Grid::mouseDown, w, [&t] { grdBoard_MouseDown(t); });
    QObject::connect(w->grdBoard, &Grid::click, w, [&t] { grdBoard_Click(t); });
    QObject::connect(w->grdBoard2, &Grid::mouseDown, w, [&t] { grdBoard2_MouseDown(t); });
    QObject::connect(w->grdBoard2, &Grid::click, w, [&t] { grdBoard2_Click(t); });
    QObject::connect(w->cmdspace, &QPushButton::clicked, w, [&t] { cmdspace_Click(t); });

    t.keyRepeat = new KeyRepeat(t, w);
    for (int i = 0; i < int(w->cmdRes.size()); ++i) {
        QObject::connect(w->cmdRes[size_t(i)], &QPushButton::pressed, w, [&t, i] { cmdRes_MouseDown(t, i); });
        QObject::connect(w->cmdRes[size_t(i)], &QPushButton::released, w, [&t, i] { cmdRes_MouseUp(t, i); });
    }

    // Lists and modes.
    QObject::connect(w->cmdSamp, &QPushButton::pressed, w, [w] { w->cmdSamp->setBackColor(0xC00000); });
    QObject::connect(w->cmdSamp, &QPushButton::released, w, [w] { w->cmdSamp->setBackColor(0xFFC0C0); });
    QObject::connect(w->cmdSamp, &QPushButton::clicked, w, [&t] { cmdSamp_Click(t); });
    QObject::connect(w->cmdStart, &QPushButton::clicked, w, [&t] { cmdStart_Click(t); });
    QObject::connect(w->cmdDec, &QPushButton::clicked, w, [&t] { cmdDec_Click(t); });
    QObject::connect(w->cmdBack, &QPushButton::clicked, w, [&t] { cmdBack_Click(t); });
    QObject::connect(w->cmdSampADD, &QPushButton::clicked, w, [&t] { cmdSampADD_Click(t); });
    QObject::connect(w->cmdSampDel, &QPushButton::clicked, w, [&t] { cmdSampDel_Click(t); });
    QObject::connect(w->cmdRevise, &QPushButton::clicked, w, [&t] { cmdRevise_Click(t); });
    for (const ListGrid list : ListGrids(w))
        QObject::connect(list.grid, &Grid::click, w,
                         [&t, list] { SelectListRow(t, list.grid, list.startColumn); });

    // Text area tools and reading aloud.
    QObject::connect(w->cmdUp, &QPushButton::pressed, w, [&t] { cmdUp_MouseDown(t); });
    QObject::connect(w->cmdUp, &QPushButton::released, w, [&t] { cmdUp_MouseUp(t); });
    QObject::connect(w->cmdDown, &QPushButton::pressed, w, [&t] { cmdDown_MouseDown(t); });
    QObject::connect(w->cmdDown, &QPushButton::released, w, [&t] { cmdDown_MouseUp(t); });
    QObject::connect(w->cmdWide, &QPushButton::clicked, w, [&t] { cmdWide_Click(t); });
    for (ColorButton *b : {w->cmdCopy, w->cmdPaste}) {
        QObject::connect(b, &QPushButton::pressed, w, [b] { b->setBackColor(Colors::Grey); });
        QObject::connect(b, &QPushButton::released, w, [b] { b->setBackColor(Colors::White); });
    }
    QObject::connect(w->cmdCopy, &QPushButton::clicked, w, [&t] { cmdCopy_Click(t); });
    QObject::connect(w->cmdPaste, &QPushButton::clicked, w, [&t] { cmdPaste_Click(t); });
    QObject::connect(w->cmdRead, &QPushButton::clicked, w, [&t] { cmdRead_Click(t); });
}

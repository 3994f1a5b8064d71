#include "app/wiring.h"

#include "app/optionsdialog.h"
#include "app/startup.h"
#include "app/talkcontext.h"
#include "app/talkwindow.h"
#include "board/board.h"
#include "platform/controls.h"
#include "platform/grid.h"
#include "platform/modalrunner.h"
#include "platform/textbox.h"
#include "text/editkeys.h"
#include "text/keyrepeat.h"

#include <QApplication>

void cmdOpt_Click(TalkContext &t)
{
    OptionsDialog dialog(*t.sv.settings, t.w);
    t.sv.modal->run(dialog);
    if (dialog.result() != QDialog::Accepted)
        return;
    t.settings = ReadSettings(*t.sv.settings);
    ApplyTextSize(t);
    t.w->cmdKey->setText(QStringLiteral("英数"));
    BuildBoardPage(t);
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
    QObject::connect(w->cmdEnd, &QPushButton::clicked, w, [w] { w->close(); });
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
}

#include "app/talkprogram.h"

#include "app/okdialog.h"
#include "app/talkwindow.h"
#include "platform/colors.h"
#include "platform/controls.h"
#include "platform/coverwatch.h"
#include "platform/grid.h"
#include "platform/settingsstore.h"
#include "platform/textbox.h"

#include <QApplication>

namespace {

SharedState sharedState(QWidget *window, const Services &sv)
{
    SharedState s;
    s.sv = sv;
    s.dialogParent = window;
    return s;
}

} // namespace

TalkProgram::TalkProgram(TalkWindow &w, const Services &sv, const QString &appPath)
    : shared(sharedState(&w, sv)), keyRepeat(), suggestions(w, shared), board(w, shared, suggestions),
      textArea(w, shared), readAloud(w, shared, textArea), editKeys(w, keyRepeat), files(w, shared),
      listSelection(w, shared), listScroll(w, shared, keyRepeat), indexRows(w, shared),
      registering(w, shared, files,
                  {[this] { indexRows.IndexSampleRows(); }, [this] { textArea.NormalTextArea(); }}),
      listModes(w, shared, board, textArea, files, indexRows),
      decideBack(w, shared, textArea, files, indexRows),
      lifetime(w, shared, board, files, indexRows, appPath), access(w, shared, keyRepeat), m_w(w)
{
    lifetime.accessChanged = [this] { applyAccess(); };
}

void TalkProgram::applyAccess()
{
    access.apply(shared.sv.access ? ReadAccessSettings(*shared.sv.access) : AccessSettings());
}

bool TalkProgram::start(QString *error)
{
    if (!lifetime.LoadTalkWindow(error))
        return false;
    WireTalkWindow();
    applyAccess();
    // Settings that cannot be used as stored are said once, before the first press.
    for (const QString &notice :
         {shared.sv.settings->problem(), shared.sv.access ? SwitchClashNotice(*shared.sv.access) : QString()})
        if (!notice.isEmpty())
            ShowOKDialog(shared, notice, OkDialog::Notice, QStringLiteral("Pirokan"));
    return true;
}

void TalkProgram::WireTalkWindow()
{
    TalkWindow *w = &m_w;
    QObject::connect(w, &TalkWindow::activated, w, [w] { w->txtTalk->setFocus(); });
    QObject::connect(w, &TalkWindow::closing, w, [] { QApplication::quit(); });
    QObject::connect(w->cmdEnd, &QPushButton::clicked, w, [this] { lifetime.cmdEnd_Click(); });
    QObject::connect(w->cmdOpt, &QPushButton::clicked, w, [this] { lifetime.cmdOpt_Click(); });
    QObject::connect(w->cmdEnd2, &QPushButton::clicked, w, [this] { lifetime.cmdEnd2_Click(); });
    QObject::connect(w->cmdKey, &QPushButton::clicked, w, [this] { board.cmdKey_Click(); });

    QObject::connect(w->grdBoard, &Grid::mouseDown, w, [this] { board.grdBoard_MouseDown(); });
    QObject::connect(w->grdBoard, &Grid::click, w, [this] { board.grdBoard_Click(); });
    QObject::connect(w->grdBoard2, &Grid::mouseDown, w, [this] { board.grdBoard2_MouseDown(); });
    QObject::connect(w->grdBoard2, &Grid::click, w, [this] { board.grdBoard2_Click(); });
    QObject::connect(w->cmdspace, &QPushButton::clicked, w, [this] { board.cmdspace_Click(); });
    new CoverWatch(w->fraSet, w->grdBoard);

    for (int i = 0; i < int(w->cmdRes.size()); ++i) {
        ColorButton *key = w->cmdRes[size_t(i)];
        QObject::connect(key, &QPushButton::pressed, w, [this, i] { editKeys.cmdRes_MouseDown(i); });
        QObject::connect(key, &QPushButton::released, w, [this, i] { editKeys.cmdRes_MouseUp(i); });
    }

    // Lists and modes.
    QObject::connect(w->cmdSamp, &QPushButton::pressed, w, [w] { w->cmdSamp->setBackColor(0xC00000); });
    QObject::connect(w->cmdSamp, &QPushButton::released, w, [w] { w->cmdSamp->setBackColor(0xFFC0C0); });
    QObject::connect(w->cmdSamp, &QPushButton::clicked, w, [this] { listModes.cmdSamp_Click(); });
    QObject::connect(w->cmdStart, &QPushButton::clicked, w, [this] { listModes.cmdStart_Click(); });
    QObject::connect(w->cmdDec, &QPushButton::clicked, w, [this] { decideBack.cmdDec_Click(); });
    QObject::connect(w->cmdBack, &QPushButton::clicked, w, [this] { decideBack.cmdBack_Click(); });
    QObject::connect(w->cmdSampADD, &QPushButton::clicked, w, [this] { registering.cmdSampADD_Click(); });
    QObject::connect(w->cmdSampDel, &QPushButton::clicked, w, [this] { registering.cmdSampDel_Click(); });
    QObject::connect(w->cmdRevise, &QPushButton::clicked, w, [this] { registering.cmdRevise_Click(); });
    for (const ListGrid list : ListGrids(*w))
        QObject::connect(list.grid, &Grid::click, w,
                         [this, list] { listSelection.SelectListRow(list.grid, list.startColumn); });

    // Text area tools and reading aloud.
    QObject::connect(w->cmdUp, &QPushButton::pressed, w, [this] { listScroll.cmdUp_MouseDown(); });
    QObject::connect(w->cmdUp, &QPushButton::released, w, [this] { listScroll.cmdUp_MouseUp(); });
    QObject::connect(w->cmdDown, &QPushButton::pressed, w, [this] { listScroll.cmdDown_MouseDown(); });
    QObject::connect(w->cmdDown, &QPushButton::released, w, [this] { listScroll.cmdDown_MouseUp(); });
    QObject::connect(w->cmdWide, &QPushButton::clicked, w, [this] { textArea.cmdWide_Click(); });
    for (ColorButton *b : {w->cmdCopy, w->cmdPaste}) {
        QObject::connect(b, &QPushButton::pressed, w, [b] { b->setBackColor(Colors::Grey); });
        QObject::connect(b, &QPushButton::released, w, [b] { b->setBackColor(Colors::White); });
    }
    QObject::connect(w->cmdCopy, &QPushButton::clicked, w, [this] { textArea.cmdCopy_Click(); });
    QObject::connect(w->cmdPaste, &QPushButton::clicked, w, [this] { textArea.cmdPaste_Click(); });
    QObject::connect(w->cmdRead, &QPushButton::clicked, w, [this] { readAloud.cmdRead_Click(); });
}

#include "app/talkprogram.h"

#include "devices/devices.h"
#include "platform/controls.h"
#include "platform/coverwatch.h"
#include "platform/grid.h"
#include "platform/settingsstore.h"
#include "platform/textbox.h"
#include "shared/okdialog.h"
#include "shared/sentenceview.h"

#include <QApplication>

namespace {

ListGrids listGrids(const TalkControls &c)
{
    return {{c.grdSp, c.grdEx, c.grdDay, c.grdAD, c.grdMail}};
}

ScanControls scanControls(TalkWindow &w, const TalkControls &c)
{
    return {c, &w, listGrids(c).grids};
}

} // namespace

TalkProgram::TalkProgram(TalkWindow &w, const Services &sv, const QString &appPath)
    : m_c(w.controls()), shared(sv, &w), sentence(TalkWindow::MaxTextLength), screens(m_c, shared.state),
      keyRepeat(), suggestions({m_c.grdSp, &lists.suggestions, m_c.grdBoard, &sentence}, shared),
      candidates({m_c.fraCand, m_c.grdBoard, m_c.txtTalk, &sentence}, shared, suggestions),
      board({m_c.grdBoard, m_c.fraSet, m_c.grdBoard2, m_c.cmdEnd2, m_c.txtTalk}, sentence, shared,
            suggestions, candidates),
      textArea({m_c.fraText, m_c.txtTalk, m_c.cmdCopy, m_c.cmdPaste}, sentence, shared),
      readAloud(sentence, shared, textArea), editKeys({m_c.cmdRes, m_c.txtTalk}, sentence, keyRepeat),
      files({listGrids(m_c), m_c.grdBoard}, lists, shared),
      listSelection(shared, listGrids(m_c), m_c.txtTalk),
      listScroll({m_c.cmdUp, m_c.cmdDown, listGrids(m_c), m_c.txtTalk}, shared, keyRepeat),
      indexRows(lists.examples, lists.addresses, shared, board),
      registering({m_c.grdEx, m_c.grdBoard, m_c.txtTalk}, lists.examples, sentence, shared, files,
                  {[this] { indexRows.IndexSampleRows(); }, [this] { textArea.NormalTextArea(); }}),
      listModes({&w, m_c.cmdSamp, m_c.grdEx, m_c.grdBoard, m_c.txtTalk}, lists.examples, sentence, shared,
                board, textArea, files, indexRows),
      decideBack({&w, listGrids(m_c), m_c.txtTalk}, lists, sentence, shared, board, textArea, files,
                 indexRows),
      lifetime(w, sentence, shared, board, files, indexRows, appPath),
      access(scanControls(w, m_c), shared, keyRepeat), calling(w, shared, access), m_w(w)
{
    new SentenceView(sentence, m_c.txtTalk); // owned by the sentence
    // The list grids show the program's lists.
    const ListGrids grids = listGrids(m_c);
    for (int i = 0; i < ListCount; ++i)
        grids.of(ListId(i))->showCells(&lists.of(ListId(i))->cells());
    lifetime.accessChanged = [this] { applyAccess(); };
    lifetime.optionsApplied = [this] {
        candidates.applyOption();
        if (!indexRows.indexedAsNow())
            listModes.IndexExamples(); // heads by reading come and go with the option
    };
}

TalkProgram::~TalkProgram()
{
    const ListGrids grids = listGrids(m_c);
    for (Grid *g : grids.grids)
        g->showCells(nullptr);
}

void TalkProgram::applyAccess()
{
    calling.apply();
    const AccessSettings settings =
        shared.sv.access ? ReadAccessSettings(*shared.sv.access) : AccessSettings();
    shared.touchAndMouseOnly = settings.method == AccessSettings::Touch;
    access.apply(settings);
}

bool TalkProgram::start(QString *error)
{
    // The ways of pressing and the call come first: a notice about a file, shown
    // while the files load, must be answerable by a switch too.
    applyAccess();
    if (!lifetime.LoadTalkWindow(error))
        return false;
    WireTalkWindow();
    candidates.applyOption();
    if (!indexRows.indexedAsNow())
        indexRows.IndexSampleRows(); // headed by their readings now
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
    const TalkControls &c = m_c;
    QObject::connect(w, &TalkWindow::activated, w, [this] { m_c.txtTalk->setFocus(); });
    QObject::connect(w, &TalkWindow::closing, w, [] { QApplication::quit(); });
    QObject::connect(c.cmdEnd, &QPushButton::clicked, w, [this] { lifetime.cmdEnd_Click(); });
    QObject::connect(c.cmdOpt, &QPushButton::clicked, w, [this] { lifetime.cmdOpt_Click(); });
    QObject::connect(c.cmdEnd2, &QPushButton::clicked, w, [this] { board.cmdEnd2_Click(); });
    QObject::connect(c.cmdKey, &QPushButton::clicked, w, [this] { board.cmdKey_Click(); });

    QObject::connect(c.grdBoard, &Grid::mouseDown, w, [this] { board.grdBoard_MouseDown(); });
    QObject::connect(c.grdBoard, &Grid::click, w, [this] { board.grdBoard_Click(); });
    QObject::connect(c.grdBoard2, &Grid::mouseDown, w, [this] { board.grdBoard2_MouseDown(); });
    QObject::connect(c.grdBoard2, &Grid::click, w, [this] { board.grdBoard2_Click(); });
    QObject::connect(c.cmdspace, &QPushButton::clicked, w, [this] { board.cmdspace_Click(); });
    new CoverWatch(w);

    for (int i = 0; i < int(c.cmdRes.size()); ++i) {
        ColorButton *key = c.cmdRes[size_t(i)];
        QObject::connect(key, &QPushButton::pressed, w, [this, i] {
            // Right after a take, ＢＳ gives the typed kana back instead.
            if (i != EditKeys::Backspace || !candidates.undoTake())
                editKeys.cmdRes_MouseDown(i);
        });
        QObject::connect(key, &QPushButton::released, w, [this, i] { editKeys.cmdRes_MouseUp(i); });
    }

    // Lists and modes.
    QObject::connect(c.cmdSamp, &QPushButton::pressed, w, [this] { listModes.cmdSamp_MouseDown(); });
    QObject::connect(c.cmdSamp, &QPushButton::released, w, [this] { listModes.cmdSamp_MouseUp(); });
    QObject::connect(c.cmdSamp, &QPushButton::clicked, w, [this] { listModes.cmdSamp_Click(); });
    QObject::connect(c.cmdStart, &QPushButton::clicked, w, [this] { listModes.cmdStart_Click(); });
    QObject::connect(c.cmdDec, &QPushButton::clicked, w, [this] { decideBack.cmdDec_Click(); });
    QObject::connect(c.cmdBack, &QPushButton::clicked, w, [this] { decideBack.cmdBack_Click(); });
    QObject::connect(c.cmdSampADD, &QPushButton::clicked, w, [this] { registering.cmdSampADD_Click(); });
    QObject::connect(c.cmdSampDel, &QPushButton::clicked, w, [this] { registering.cmdSampDel_Click(); });
    QObject::connect(c.cmdRevise, &QPushButton::clicked, w, [this] { registering.cmdRevise_Click(); });
    const ListGrids lists = listGrids(c);
    for (int i = 0; i < ListCount; ++i) {
        const auto list = ListId(i);
        QObject::connect(lists.of(list), &Grid::click, w,
                         [this, list] { listSelection.SelectListRow(list); });
    }

    // Text area tools and reading aloud.
    QObject::connect(c.cmdUp, &QPushButton::pressed, w, [this] { listScroll.cmdUp_MouseDown(); });
    QObject::connect(c.cmdUp, &QPushButton::released, w, [this] { listScroll.cmdUp_MouseUp(); });
    QObject::connect(c.cmdDown, &QPushButton::pressed, w, [this] { listScroll.cmdDown_MouseDown(); });
    QObject::connect(c.cmdDown, &QPushButton::released, w, [this] { listScroll.cmdDown_MouseUp(); });
    QObject::connect(c.cmdWide, &QPushButton::clicked, w, [this] { textArea.cmdWide_Click(); });
    QObject::connect(c.cmdCopy, &QPushButton::clicked, w, [this] { textArea.cmdCopy_Click(); });
    QObject::connect(c.cmdPaste, &QPushButton::clicked, w, [this] { textArea.cmdPaste_Click(); });
    QObject::connect(c.cmdRead, &QPushButton::clicked, w, [this] { readAloud.cmdRead_Click(); });
    QObject::connect(c.cmdCall, &QPushButton::clicked, w,
                     [this] { calling.controller().start(CallController::Way::Key); });
    if (!shared.sv.devicesFile.isEmpty())
        new Devices(*w, c.cmdKey, c.txtTalk, shared, shared.sv.devicesFile); // the window owns it
}

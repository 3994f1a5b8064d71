#include "app/talkwindow.h"

#include "platform/buttonaccessible.h"
#include "platform/colors.h"
#include "platform/controls.h"
#include "platform/fonts.h"
#include "platform/grid.h"
#include "platform/textbox.h"
#include "platform/twips.h"
#include "shared/callkey.h"
#include "shared/palette.h"

#include <QCloseEvent>
#include <QEvent>
#include <QScrollBar>

namespace {

// The text box's left edge and width, without and with the call key beside it.
constexpr int TextLeft = 30, TextWidth = 14325;
constexpr QRect CallKey{30, 150, 915, 1650};
constexpr int TextLeftBesideCall = 1035;

ColorFrame *frame(QWidget *parent, const char *name, QRect twips, quint32 back)
{
    auto *f = new ColorFrame(parent);
    f->setObjectName(QLatin1String(name));
    f->setBackColor(back);
    Twips::setRect(f, twips);
    return f;
}

Grid *grid(QWidget *parent, const char *name, QRect twips, double points, int rows, int cols)
{
    auto *g = new Grid(parent);
    g->setObjectName(QLatin1String(name));
    Fonts::set(g, Fonts::Gothic, points);
    g->setCols(cols);
    g->setRows(rows);
    Twips::setRect(g, twips);
    return g;
}

// A control in the table that the window does not build stops the program at once.
void nameControl(QWidget *control, const char *name)
{
    if (!control)
        qFatal("the main window builds no %s", name);
    control->setObjectName(QLatin1String(name));
}

} // namespace

TalkWindow::TalkWindow(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("frmTalk"));
    setBackground(this, Palette::Window);
    Twips::setScale(this, 1.0);
    resize(Twips::toPixels(Canvas::Width, 1.0), Twips::toPixels(Canvas::Height, 1.0));

    // Created back to front, so that later controls lie over earlier ones.
    txtHide = new ColorLabel(QString(), this);
    txtHide->setObjectName(QStringLiteral("txtHide"));
    txtHide->setBackColor(Palette::PendingLabel);
    Twips::setRect(txtHide, 0, 0, 1215, 1575);
    txtHide->hide();

    using namespace Palette;
    const quint32 paleBlue = PaleBlue, paleRed = PaleRed, paleGreen = PaleGreen,
                  lightGreen = Colors::LightGreen;
    cmdSampDel = makeButton(this, "cmdSampDel", QStringLiteral("例文削除"), {540, 9840, 3525, 720}, paleRed,
                            36, false);
    cmdSampDel->hide();
    grdBoard = grid(this, "grdBoard", {0, 2400, 15345, 5715}, 54.75, 5, 10);
    grdBoard->setShrinkToFit(true);
    // Above the board, under the lists and the widened text area, which lie over it.
    fraCand = frame(this, "fraCand", {0, 2400, 15345, 900}, Window);
    fraCand->hide();
    cmdOpt = makeButton(this, "cmdOpt", QStringLiteral("設定"), {0, 8280, 405, 1065}, Window, 15.75, true);
    cmdEnd = makeButton(this, "cmdEnd", QStringLiteral("終了"), {0, 9840, 405, 1065}, Window, 15.75, true);
    cmdRead =
        makeButton(this, "cmdRead", QStringLiteral("読む"), {12870, 8370, 2295, 1200}, paleBlue, 36, false);
    cmdKey =
        makeButton(this, "cmdKey", QStringLiteral("英数"), {12870, 9990, 2295, 1065}, paleGreen, 36, false);
    grdDay = grid(this, "grdDay", {0, 2400, 15345, 5715}, 54.75, 1, 1);
    grdDay->hide();
    cmdSampADD = makeButton(this, "cmdSampADD", QStringLiteral("例文追加"), {540, 9840, 3525, 1185},
                            paleGreen, 36, false);
    cmdSamp =
        makeButton(this, "cmdSamp", QStringLiteral("例文表示"), {540, 8280, 3525, 1245}, paleBlue, 36, false);

    fraText = frame(this, "fraText", {0, 0, 15330, 2355}, Window);
    txtTalk = new TextBox(fraText, MaxTextLength);
    txtTalk->setObjectName(QStringLiteral("txtTalk"));
    Fonts::set(txtTalk, Fonts::Gothic, 36, true);
    Twips::setRect(txtTalk, TextLeft, 0, TextWidth, 2295);
    cmdCall = MakeCallKey(fraText, CallKey, {});
    ShowCallKey(cmdCall, false);
    cmdWide = makeButton(fraText, "cmdWide", QStringLiteral("広げる"), {14415, 150, 855, 2175}, paleBlue,
                         27.75, false);
    cmdCopy = makeButton(fraText, "cmdCopy", QStringLiteral("コピ"), {14415, 2670, 855, 2235}, ClipboardKey,
                         24, true);
    cmdPaste = makeButton(fraText, "cmdPaste", QStringLiteral("貼る"), {14415, 5280, 855, 2235}, ClipboardKey,
                          24, true);

    grdEx = grid(this, "grdEx", {0, 2400, 15345, 5715}, 54.75, 1, 1);
    grdSp = grid(this, "grdSp", {0, 2400, 15345, 5715}, 54.75, 1, 1);
    grdAD = grid(this, "grdAD", {0, 2400, 15345, 5715}, 54.75, 1, 1);
    grdMail = grid(this, "grdMail", {0, 2400, 15345, 5715}, 54.75, 1, 1);
    for (Grid *g : {grdEx, grdSp, grdAD, grdMail})
        g->hide();

    fraTalk = frame(this, "fraTalk", {4140, 8100, 8475, 2955}, Window);
    cmdUp = makeButton(fraTalk, "cmdUp", QStringLiteral("△"), {480, 240, 1935, 2655}, paleGreen, 48, true);
    cmdDown =
        makeButton(fraTalk, "cmdDown", QStringLiteral("▽"), {3360, 240, 1935, 2655}, lightGreen, 48, true);
    cmdDec =
        makeButton(fraTalk, "cmdDec", QStringLiteral("決定"), {6360, 240, 1695, 2655}, paleBlue, 36, false);
    fraTalk->hide();

    fraDay = frame(this, "fraDay", {4140, 8100, 8475, 2955}, Window);
    cmdRevise = makeButton(fraDay, "cmdRevise", QStringLiteral("修正する"), {480, 240, 3135, 2655}, paleBlue,
                           36, false);
    cmdBack =
        makeButton(fraDay, "cmdBack", QStringLiteral("戻る"), {4920, 240, 3135, 2655}, paleRed, 36, false);
    fraDay->hide();

    fraRes = frame(this, "fraRes", {4140, 8100, 8475, 3015}, Window);
    cmdRes[0] = makeButton(fraRes, "cmdRes", QStringLiteral("→"), {4380, 180, 1275, 2715}, Colors::White, 48,
                           true, 0);
    cmdRes[1] = makeButton(fraRes, "cmdRes", QStringLiteral("ＢＳ"), {6060, 180, 2265, 1305}, BackspaceKey,
                           36, true, 1);
    cmdRes[2] =
        makeButton(fraRes, "cmdRes", QStringLiteral("←"), {360, 180, 1275, 2715}, Colors::White, 48, true, 2);
    cmdRes[3] =
        makeButton(fraRes, "cmdRes", QStringLiteral("↓"), {2220, 1740, 1545, 1155}, lightGreen, 36, true, 3);
    cmdRes[4] =
        makeButton(fraRes, "cmdRes", QStringLiteral("↑"), {2220, 180, 1545, 1155}, paleGreen, 36, true, 4);
    cmdStart =
        makeButton(fraRes, "cmdStart", QStringLiteral("始め"), {6060, 1800, 2265, 1155}, paleRed, 36, false);

    fraSet = frame(this, "fraSet", {14640, 2400, 16245, 8895}, Window);
    grdBoard2 = grid(fraSet, "grdBoard2", {30, 30, 15285, 7035}, 114.75, 3, 3);
    grdBoard2->setShrinkToFit(true);
    cmdspace = makeButton(fraSet, "cmdspace", QStringLiteral("スペース"), {120, 7200, 5775, 1560},
                          Colors::SystemTitleText, 48, false);
    cmdEnd2 =
        makeButton(fraSet, "cmdEnd2", QStringLiteral("戻る"), {6120, 7200, 9075, 1560}, paleRed, 48, true);
    fraSet->hide();
    nameControls();
}

void TalkWindow::nameControls()
{
#define PIROKAN_NAME_CONTROL(Type, name) nameControl(name, #name);
    PIROKAN_TALK_CONTROLS(PIROKAN_NAME_CONTROL)
#undef PIROKAN_NAME_CONTROL
    // Buttons are named by the word they show, so the name follows the caption;
    // a symbol is named by what the key does. Longer explanations are descriptions.
    ButtonAccessible::setSymbolWords({
        {QStringLiteral("→"), QStringLiteral("右へ")},
        {QStringLiteral("←"), QStringLiteral("左へ")},
        {QStringLiteral("↑"), QStringLiteral("上の行へ")},
        {QStringLiteral("↓"), QStringLiteral("下の行へ")},
        {QStringLiteral("ＢＳ"), QStringLiteral("一字消す")},
        {QStringLiteral("♪"), QStringLiteral("止める")},
        {QStringLiteral("△"), QStringLiteral("一覧の上へ")},
        {QStringLiteral("▽"), QStringLiteral("一覧の下へ")},
    });
    // Assistive tools name the window by its title, whatever start-up makes it.
    setWindowTitle(QStringLiteral("Pirokan"));
    const std::pair<QWidget *, const char *> names[] = {
        {fraText, "文の欄"},      {txtTalk, "書いている文"}, {grdBoard, "文字盤"},
        {fraSet, "文字選択画面"}, {grdBoard2, "選ぶ文字"},   {grdEx, "例文一覧"},
        {grdSp, "例文の候補"},    {grdDay, "日記一覧"},      {grdAD, "メールアドレス一覧"},
        {grdMail, "メール一覧"},  {fraRes, "編集キー"},      {fraDay, "開いた文の操作"},
        {fraTalk, "一覧の操作"},  {txtHide, "入力する文字"}, {fraCand, "漢字の候補"},
    };
    for (const auto &[widget, name] : names)
        widget->setAccessibleName(QString::fromUtf8(name));
    txtTalk->verticalScrollBar()->setAccessibleName(QStringLiteral("書いている文のスクロールバー"));
    const std::pair<QWidget *, const char *> descriptions[] = {
        {txtTalk, "下線の文字の前に、次の文字が入ります"},
        {grdBoard, "押した文字の選択画面が開きます"},
        {cmdKey, "ひらがな・カタカナ・英数を順に替えます"},
        {cmdWide, "文の欄を広げる・狭める"},
        {cmdCopy, "文をコピーする"},
        {cmdPaste, "コピーした文を貼り付ける"},
        {cmdEnd2, "文字選択画面を閉じる"},
        {cmdSamp, "例文の一覧を開く・一覧を閉じる"},
        {cmdStart, "文を消して、はじめから書く"},
        {cmdRead, "文を読む・読むのを止める"},
        {cmdBack, "一覧に戻る・開いた項目で決定する"},
    };
    for (const auto &[widget, text] : descriptions)
        widget->setAccessibleDescription(QString::fromUtf8(text));
    // The lists' first columns head their rows: kana rows, and the diary's dates.
    for (Grid *list : {grdEx, grdDay, grdAD})
        list->setRowHeadColumn(0);
}

void TalkWindow::showCallKey(bool shown)
{
    const QRect text = Twips::rect(txtTalk);
    const int left = shown ? TextLeftBesideCall : TextLeft;
    Twips::setRect(txtTalk, left, text.top(), TextLeft + TextWidth - left, text.height());
    ShowCallKey(cmdCall, shown);
}

bool TalkWindow::event(QEvent *event)
{
    if (event->type() == QEvent::WindowActivate)
        emit activated();
    return QWidget::event(event);
}

void TalkWindow::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    // The canvas keeps its proportions and fills the window as far as it can.
    const double sx = Twips::toTwips(width(), 1.0) / Canvas::Width;
    const double sy = Twips::toTwips(height(), 1.0) / Canvas::Height;
    const double scale = std::max(0.1, std::min(sx, sy));
    if (qAbs(scale - Twips::scaleOf(this)) > 1e-6)
        Twips::setScale(this, scale);
}

void TalkWindow::closeEvent(QCloseEvent *event)
{
    emit closing();
    event->accept();
}

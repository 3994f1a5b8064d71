#include "app/okdialog.h"

#include "app/talkcontext.h"
#include "app/talkwindow.h"
#include "platform/controls.h"
#include "platform/fonts.h"
#include "platform/modalrunner.h"
#include "platform/services.h"
#include "platform/twips.h"

OkDialog::OkDialog(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmOK"));
    setWindowTitle(QStringLiteral("問い合わせ？"));
    setBackground(this, 0xFF8080);
    Twips::sizeDialog(this, parent, 11775, 4545);

    lblOK = new ColorLabel(QStringLiteral("Label1"), this);
    lblOK->setObjectName(QStringLiteral("lblOK"));
    lblOK->setBackColor(0xFF8080);
    lblOK->setWordWrap(true);
    Fonts::set(lblOK, Fonts::ProportionalGothic, 48, true);
    Twips::setRect(lblOK, 240, 120, 11385, 1965);

    const struct
    {
        const char *caption;
        int left;
        quint32 back;
    } standing[] = {{"OK", 300, 0xFFC0C0}, {"キャンセル", 6720, 0xC0C0FF}};
    for (int i = 0; i < 2; ++i) {
        auto *b = makeButton(this, "cmdOK", QString::fromUtf8(standing[i].caption),
                             {standing[i].left, 2280, 4845, 2175}, standing[i].back, 48, true, i);
        connect(b, &QPushButton::clicked, this, [this, i] { cmdOK_Click(i); });
        cmdOK[size_t(i)] = b;
    }
}

void OkDialog::configure(const QString &prompt, int kind, const QString &title)
{
    m_answer = false;
    switch (kind) {
    case Notice:
        cmdOK[1]->hide();
        Twips::setLeft(cmdOK[0], 3500);
        break;
    case YesNo:
        cmdOK[1]->setText(QStringLiteral("ＮＯ"));
        cmdOK[1]->show();
        cmdOK[0]->setText(QStringLiteral("ＹＥＳ"));
        Twips::setLeft(cmdOK[0], 300);
        break;
    case OkCancel:
        cmdOK[1]->setText(QStringLiteral("キャンセル"));
        cmdOK[1]->show();
        cmdOK[0]->setText(QStringLiteral("ＯＫ"));
        Twips::setLeft(cmdOK[0], 300);
        break;
    default:
        break;
    }
    setWindowTitle(title);
    lblOK->setText(prompt);
}

void OkDialog::cmdOK_Click(int index)
{
    m_answer = index == 0;
    accept();
}

void ShowOKDialog(TalkContext &t, const QString &prompt, int kind, const QString &title)
{
    ScreenPointer::setDefault();
    t.OKAnswer = false;
    // A fresh dialog every time, so no setting of an earlier call carries over.
    OkDialog dialog(t.w);
    dialog.configure(prompt, kind, title);
    t.sv.modal->run(dialog);
    t.OKAnswer = dialog.answer();
}

#include "entries/mailwindow.h"

#include "entries/maillink.h"
#include "platform/controls.h"
#include "platform/fonts.h"
#include "platform/modalrunner.h"
#include "platform/services.h"
#include "platform/twips.h"
#include "shared/callkey.h"
#include "shared/okdialog.h"
#include "shared/palette.h"
#include "shared/sharedstate.h"

#include <QCloseEvent>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QUrl>

namespace {

ColorLabel *label(QWidget *parent, const char *name, const QString &caption, QRect twips, double points,
                  int index = -1)
{
    auto *l = new ColorLabel(caption, parent);
    l->setObjectName(QLatin1String(name));
    if (index >= 0)
        l->setProperty("index", index);
    l->setBackColor(Colors::White);
    Fonts::set(l, Fonts::ProportionalGothic, points);
    Twips::setRect(l, twips);
    return l;
}

} // namespace

MailWindow::MailWindow(SharedState &shared, QWidget *parent, Hooks hooks)
    : QDialog(parent), m_shared(shared), m_hooks(std::move(hooks))
{
    setObjectName(QStringLiteral("frmMail"));
    setWindowTitle(QStringLiteral("メール送信！"));
    setBackground(this, Palette::Window);
    Twips::sizeDialog(this, parent, 15270, 11115);

    const QString click = QStringLiteral("クリックして");
    lbladd0 = label(this, "lbladd", QStringLiteral("宛先："), {360, 120, 2415, 1095}, 48, 0);
    lblName = label(this, "lblName", click, {3240, 120, 11685, 735}, 36);
    lblMail = label(this, "lblMail", click, {3240, 960, 11685, 735}, 36);
    lbladd1 = label(this, "lbladd", QStringLiteral("件名："), {360, 1560, 2415, 975}, 48, 1);
    lblTop = label(this, "lblTop", click, {3240, 1800, 11685, 735}, 36);
    txtData = new QPlainTextEdit(this);
    txtData->setObjectName(QStringLiteral("txtData"));
    txtData->setAccessibleName(QStringLiteral("メールの本文"));
    txtData->verticalScrollBar()->setAccessibleName(QStringLiteral("メールの本文のスクロールバー"));
    // A long mail is read to its end by a switch or a dwell too: the bar, when it shows, pages on.
    txtData->verticalScrollBar()->setProperty("pressable", true);
    txtData->setWordWrapMode(QTextOption::WrapAnywhere);
    txtData->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Fonts::set(txtData, Fonts::Gothic, 27.75);
    Twips::setRect(txtData, 240, 2760, 14685, 6705);
    if (m_shared.callForHelp) {
        // Beside the body, well below the subject and above the buttons: no slip lands on it.
        Twips::setRect(txtData, 240, 2760, 13560, 6705);
        MakeCallKey(this, {14010, 3600, 915, 1965}, m_shared.callForHelp);
    }
    cmdSend = makeButton(this, "cmdSend", QStringLiteral("送　　信"), {900, 9780, 10575, 855},
                         Palette::PaleBlue, 36, false);
    cmdEnd = makeButton(this, "cmdEnd", QStringLiteral("終了"), {12300, 9780, 1965, 855}, Palette::PaleBlue,
                        36, false);

    connect(cmdSend, &QPushButton::clicked, this, &MailWindow::cmdSend_Click);
    connect(cmdEnd, &QPushButton::clicked, this, &MailWindow::cmdEnd_Click);
    // The labels are pressed like buttons, also by a switch scan.
    for (ColorLabel *l : {lblName, lblMail, lblTop})
        l->setProperty("pressable", true);
    connect(lblName, &ColorLabel::clicked, this, &MailWindow::lblName_Click);
    connect(lblMail, &ColorLabel::clicked, this, &MailWindow::lblName_Click);
    connect(lblTop, &ColorLabel::clicked, this, &MailWindow::lblTop_Click);
}

void MailWindow::cmdSend_Click()
{
    const QUrl url = QUrl::fromEncoded(
        MailLink::build(lblMail->text(), lblTop->text(), txtData->toPlainText()), QUrl::StrictMode);
    if (!m_shared.sv.shell->open(url))
        ShowOKDialog(m_shared, tr("メールソフトを開けませんでした。"), OkDialog::Notice,
                     QStringLiteral("メール送信！"));
    else
        m_shared.learn(txtData->toPlainText());
}

void MailWindow::cmdEnd_Click()
{
    unload();
}

void MailWindow::lblName_Click()
{
    m_hooks.backToAddresses();
    unload();
}

void MailWindow::lblTop_Click()
{
    m_hooks.backToMails();
    unload();
}

void MailWindow::unload()
{
    m_unloading = true;
    accept();
}

void MailWindow::reject()
{
    // Only the window's own buttons and labels close it.
    if (m_unloading)
        QDialog::reject();
}

void MailWindow::closeEvent(QCloseEvent *event)
{
    if (m_unloading)
        event->accept();
    else
        event->ignore();
}

void ShowMailWindow(SharedState &shared, const QString &name, const QString &address, const QString &subject,
                    const QString &body, MailWindow::Hooks hooks)
{
    MailWindow window(shared, shared.dialogParent, std::move(hooks));
    window.lblName->setText(name);
    window.lblMail->setText(address);
    window.lblTop->setText(subject);
    window.txtData->setPlainText(body);
    shared.sv.modal->run(window);
}

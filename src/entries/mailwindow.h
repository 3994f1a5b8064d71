#pragma once

#include <QDialog>

class QPlainTextEdit;
class ColorButton;
class ColorLabel;
struct TalkContext;

// Shows a finished mail before it is handed to the desktop's mail program.
class MailWindow final : public QDialog
{
    Q_OBJECT
public:
    MailWindow(TalkContext &t, QWidget *parent);

    ColorLabel *lbladd0;
    ColorLabel *lblName;
    ColorLabel *lblMail;
    ColorLabel *lbladd1;
    ColorLabel *lblTop;
    QPlainTextEdit *txtData;
    ColorButton *cmdSend;
    ColorButton *cmdEnd;

    void cmdSend_Click();
    void cmdEnd_Click();
    void lblName_Click();
    void lblTop_Click();

public slots:
    void reject() override;

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    // Back on the main window's address or mail list, with this window closed.
    void returnToList(const QString &listCaption);
    void unload();

    TalkContext &m_t;
    bool m_unloading = false;
};

// Opens the mail window modally with the recipient, the subject and the body.
void ShowMailWindow(TalkContext &t, const QString &name, const QString &address, const QString &subject,
                    const QString &body);

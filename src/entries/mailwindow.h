#pragma once

#include <QDialog>
#include <functional>

class QPlainTextEdit;
class ColorButton;
class ColorLabel;
struct SharedState;

// Shows a finished mail before it is handed to the desktop's mail program.
class MailWindow final : public QDialog
{
    Q_OBJECT
public:
    // Where the name and subject labels lead: back to the address or the mail list.
    struct Hooks
    {
        std::function<void()> backToAddresses;
        std::function<void()> backToMails;
    };

    MailWindow(SharedState &shared, QWidget *parent, Hooks hooks);

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
    void unload();

    SharedState &m_shared;
    Hooks m_hooks;
    bool m_unloading = false;
};

// Opens the mail window modally with the recipient, the subject and the body.
void ShowMailWindow(SharedState &shared, const QString &name, const QString &address, const QString &subject,
                    const QString &body, MailWindow::Hooks hooks);

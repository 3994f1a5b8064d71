#pragma once

#include <QDialog>
#include <array>
#include <functional>

class ColorButton;
class ColorLabel;
struct SharedState;

// The confirmation dialog: one prompt in very large type and one or two very large buttons.
class OkDialog final : public QDialog
{
    Q_OBJECT
public:
    enum Kind { OkCancel = 33, YesNo = 36, Notice = 48 };

    explicit OkDialog(QWidget *parent);
    // Sets the buttons for the kind, the title and the prompt.
    void configure(const QString &prompt, int kind, const QString &title);
    bool answer() const { return m_answer; }
    // A call key beside the prompt, in a column added on the right, so that
    // no button moves and none is beside it.
    void addCallKey(const std::function<void()> &call);

    ColorLabel *lblOK;
    std::array<ColorButton *, 2> cmdOK;

private:
    void cmdOK_Click(int index);
    void fitPrompt();
    bool m_answer = false;
    int m_callColumn = 0; // twips
};

// Asks or informs through the dialog: true when the affirmative button was
// pressed. The answer is also left in the state's okAnswer(), until the next question.
bool ShowOKDialog(SharedState &shared, const QString &prompt, int kind, const QString &title);

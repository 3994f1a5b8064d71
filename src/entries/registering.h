#pragma once

#include <functional>

struct SharedState;
class EntryFiles;
class EntryList;
class Grid;
class QWidget;
class Sentence;

// Registering and deleting example sentences, and revising an opened entry.
class Registering
{
public:
    // What the list modes do for these buttons, decided where the modes are.
    struct Hooks
    {
        std::function<void()> indexSampleRows; // sorts the example list and writes its heads
        std::function<void()> normalTextArea;  // the text area back to its normal height
    };

    // The example list the buttons act on, the board whose place it takes, and the text.
    struct Controls
    {
        Grid *grdEx;
        const Grid *grdBoard;
        QWidget *txtTalk; // the text box, which takes the focus back
    };

    Registering(const Controls &c, EntryList &examples, Sentence &sentence, SharedState &shared,
                EntryFiles &files, Hooks hooks);

    void cmdSampADD_Click();
    void cmdSampDel_Click();
    void cmdRevise_Click();

private:
    bool followSampleFile();

    Controls m_c;
    EntryList &m_examples;
    Sentence &m_sentence;
    SharedState &m_shared;
    EntryFiles &m_files;
    Hooks m_hooks;
};

#pragma once

#include "entries/listselection.h"

#include <QHash>
#include <QString>
#include <QStringList>

struct EntryLists;
struct SharedState;
class Grid;

// The four entry files and the lists they fill. A file that cannot be read or
// written is reported to the user and left whole.
class EntryFiles
{
public:
    static inline const QString Samples = QStringLiteral("Talk.txt");
    static inline const QString Diary = QStringLiteral("day.txt");
    static inline const QString Addresses = QStringLiteral("addres.txt");
    static inline const QString Mails = QStringLiteral("mail.txt");

    // The lists the files fill, and the board whose place they take.
    struct Controls
    {
        ListGrids lists;
        const Grid *grdBoard;
    };

    EntryFiles(const Controls &c, EntryLists &rows, SharedState &shared);

    // Creates the files a first start needs: the examples with their placeholder lines, the rest empty.
    void EnsureEntryFiles();
    // A file's entries; a file that cannot be read is reported to the user and reads as empty.
    QStringList ReadEntries(const QString &name, bool *read = nullptr);
    // Replaces a file; a failure is reported to the user and leaves the old file whole.
    bool WriteEntries(const QString &name, const QStringList &entries);

    void LoadSampleFile();
    // Whether the example file is as it was when the list was last loaded from it.
    bool SampleFileUnchanged() const;
    bool SaveSampleFile();
    void LoadDiaryFile();
    void SortDiaryList();
    bool SaveDiaryFile(const QString &text);
    void LoadAddressFile();
    bool SaveAddressFile(const QString &text);
    void LoadMailFile();
    bool SaveMailFile(const QString &text);

    // The text to save or send: as it stands, and what of the opened entry the text box could not hold.
    QString whole(const QString &text) const;

private:
    bool writeText(const QString &name, const QString &text);
    // What a list read of its file: the file's stamp then, and whether it was read whole.
    void noteLoaded(const QString &name, bool read);
    // Before an entry is saved over a file changed since its list was read (by a carer, another
    // program, or a read that failed then): the list is read again and the entry found in it,
    // so the save keeps what the file gained. False, and the user told, when it cannot be. For the
    // diary, the addresses and the mails.
    bool followFile(ListId list);
    void rememberSamples(QStringList texts);
    Grid *prepareList(ListId list, int cols);
    void fillBelowNewRow(ListId list, const QString &file, int markColumn);

    Controls m_c;
    EntryLists &m_rows;
    SharedState &m_shared;
    QStringList m_samples; // the example sentences as last read
    struct Loaded
    {
        QString stamp;
        bool whole = false;
    };
    QHash<QString, Loaded> m_loaded;
};

#pragma once

#include "platform/folderplaces.h"

#include <QDialog>
#include <array>

class ColorButton;
class QLabel;
struct SharedState;

// Chooses a folder with large keys alone, so a switch, the dwell or a touch
// reaches every folder: the places first (a stick, the home folder), then the
// folders inside the one pressed, six at a time. A carer with a mouse may use
// the desktop's own chooser instead.
class FolderChooser final : public QDialog
{
    Q_OBJECT
public:
    static constexpr int PerPage = 6;

    FolderChooser(SharedState &shared, QList<FolderPlace> places, const QString &title, QWidget *parent);

    // The folder chosen; empty when none was.
    QString chosen() const { return m_chosen; }

    QLabel *lblWhere;
    std::array<ColorButton *, PerPage> cmdItem;
    ColorButton *cmdPrev, *cmdNext, *cmdUp, *cmdHere, *cmdOther, *cmdCancel;

private:
    void enter(const QString &folder);
    void showPage(int page);
    void up();
    void choose(const QString &folder);

    QList<FolderPlace> m_places;
    QString m_title;
    QString m_folder; // empty: the places are shown
    QList<FolderPlace> m_items;
    int m_page = 0;
    QString m_chosen;
};

#include "recordings/folderchooser.h"

#include "platform/controls.h"
#include "platform/twips.h"
#include "shared/callkey.h"
#include "shared/palette.h"
#include "shared/sharedstate.h"

#include <QDir>
#include <QFileDialog>
#include <QLabel>

namespace {

constexpr quint32 Back = Palette::PaleGreen;
constexpr int Width = 10500;
constexpr int Height = 6360;
constexpr int CallColumn = 1440;

} // namespace

FolderChooser::FolderChooser(SharedState &shared, QList<FolderPlace> places, const QString &title,
                             QWidget *parent)
    : QDialog(parent), m_places(std::move(places)), m_title(title)
{
    setObjectName(QStringLiteral("frmFolder"));
    setWindowTitle(title);
    setAccessibleName(title);
    setBackground(this, Back);
    const bool call = bool(shared.callForHelp);
    Twips::sizeDialog(this, parent, Width + (call ? CallColumn : 0), Height);

    lblWhere = new QLabel(this);
    styleDialogControl(lblWhere, "lblWhere", {240, 120, 10020, 900}, Back, 14.25);
    lblWhere->setWordWrap(true);
    auto button = [this](const char *name, const QString &caption, QRect twips, int index = -1) {
        return makeButton(this, name, caption, twips, Colors::White, 14.25, true, index);
    };
    for (int i = 0; i < PerPage; ++i) {
        cmdItem[size_t(i)] = button("cmdItem", QStringLiteral("—"),
                                    {240 + (i % 2) * 5100, 1140 + (i / 2) * 1020, 4920, 900}, i);
        connect(cmdItem[size_t(i)], &QPushButton::clicked, this, [this, i] {
            if (const qsizetype at = qsizetype(m_page) * PerPage + i; at < m_items.size())
                enter(m_items[at].path);
        });
    }
    const int row1 = 4260, row2 = 5280, w = 2400, gap = 2540;
    cmdPrev = button("cmdPrev", QStringLiteral("◀ 前"), {240, row1, w, 900});
    cmdNext = button("cmdNext", QStringLiteral("次 ▶"), {240 + gap, row1, w, 900});
    cmdUp = button("cmdUp", QStringLiteral("上へ"), {240 + 2 * gap, row1, w, 900});
    cmdHere = button("cmdHere", QStringLiteral("ここにする"), {240 + 3 * gap, row1, w, 900});
    cmdOther = button("cmdOther", QStringLiteral("ほかの方法で選ぶ…"), {240, row2, 2 * w + gap - w, 900});
    // The desktop's chooser has no call key and no scan: only for those who press by touch or mouse.
    cmdOther->setVisible(shared.touchAndMouseOnly);
    cmdCancel = button("cmdCancel", QStringLiteral("キャンセル"), {240 + 3 * gap, row2, w, 900});
    if (call)
        MakeCallKey(this, {Width + CallColumn - 1260, 120, 1140, Height - 240}, shared.callForHelp);

    connect(cmdPrev, &QPushButton::clicked, this, [this] { showPage(m_page - 1); });
    connect(cmdNext, &QPushButton::clicked, this, [this] { showPage(m_page + 1); });
    connect(cmdUp, &QPushButton::clicked, this, &FolderChooser::up);
    connect(cmdHere, &QPushButton::clicked, this, [this] { choose(m_folder); });
    connect(cmdOther, &QPushButton::clicked, this,
            [this] { choose(QFileDialog::getExistingDirectory(this, m_title, m_folder)); });
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
    enter(QString());
}

void FolderChooser::enter(const QString &folder)
{
    m_folder = folder;
    m_items.clear();
    if (folder.isEmpty()) {
        m_items = m_places;
    } else {
        const QDir dir(folder);
        for (const QString &name : Subfolders(folder))
            m_items.append({name, dir.filePath(name)});
    }
    showPage(0);
}

void FolderChooser::showPage(int page)
{
    const int pages = std::max(1, int((m_items.size() + PerPage - 1) / PerPage));
    m_page = (page + pages) % pages;
    for (int i = 0; i < PerPage; ++i) {
        ColorButton *b = cmdItem[size_t(i)];
        const qsizetype at = qsizetype(m_page) * PerPage + i;
        b->setVisible(at < m_items.size());
        if (at < m_items.size()) {
            b->setText(m_items[at].caption);
            b->setAccessibleName(m_items[at].caption);
        }
    }
    cmdPrev->setEnabled(pages > 1);
    cmdNext->setEnabled(pages > 1);
    cmdUp->setEnabled(!m_folder.isEmpty());
    cmdHere->setEnabled(!m_folder.isEmpty());
    QString where = m_folder.isEmpty()
                        ? QStringLiteral("%1：場所を選んでください。").arg(m_title)
                        : QStringLiteral("%1：%2").arg(m_title, QDir::toNativeSeparators(m_folder));
    if (!m_folder.isEmpty() && m_items.isEmpty())
        where += QStringLiteral("（中にフォルダはありません。「ここにする」で選べます）");
    else if (pages > 1)
        where += QStringLiteral("（%1 / %2）").arg(m_page + 1).arg(pages);
    lblWhere->setText(where);
    lblWhere->setAccessibleName(where);
}

void FolderChooser::up()
{
    if (m_folder.isEmpty())
        return;
    // From a place's own folder, back to the places; from inside it, one folder up.
    for (const FolderPlace &p : m_places)
        if (QDir(p.path) == QDir(m_folder))
            return enter(QString());
    QDir dir(m_folder);
    enter(dir.cdUp() ? dir.path() : QString());
}

void FolderChooser::choose(const QString &folder)
{
    if (folder.isEmpty())
        return;
    m_chosen = folder;
    accept();
}

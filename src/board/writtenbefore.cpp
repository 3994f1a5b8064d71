#include "board/writtenbefore.h"

#include "entries/entryfiles.h"
#include "entries/entryformat.h"
#include "platform/entrystorage.h"
#include "shared/sharedstate.h"

#include <algorithm>

QStringList WrittenBefore::operator()(qsizetype max)
{
    QStringList out;
    if (m_shared.SampleTexts)
        for (const QString &t : std::as_const(*m_shared.SampleTexts)) {
            if (out.size() >= max)
                break;
            if (t != EntryFormat::DiaryRow && t != EntryFormat::MailRow && t != EntryFormat::Placeholder)
                out << t;
        }
    if (EntryStorage *entries = m_shared.sv.entries) {
        const QString stamp = entries->stamp(EntryFiles::Diary);
        if (!m_diaryRead || stamp.isEmpty() || stamp != m_diaryStamp) {
            m_diary.clear();
            const EntryStorage::Read r = entries->read(EntryFiles::Diary);
            if (r.ok)
                for (const QString &line : EntryFormat::parseLines(r.text))
                    if (const QString text = EntryFormat::diaryTextOf(line).trimmed(); !text.isEmpty())
                        m_diary << text;
            m_diaryStamp = stamp;
            m_diaryRead = true;
        }
    }
    return out + m_diary.mid(std::max<qsizetype>(0, m_diary.size() - max)); // the file's last lines
}

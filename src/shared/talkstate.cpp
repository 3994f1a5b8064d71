#include "shared/talkstate.h"

namespace {

template <typename T> bool change(T &field, const T &value)
{
    if (field == value)
        return false;
    field = value;
    return true;
}

} // namespace

Mode TalkState::mode() const
{
    const ListId shown = shownList();
    if (shown == ListId::Suggestions)
        return Mode::Suggest;
    switch (m_listMode) {
    case ListId::Examples:
        return Mode::ExampleList;
    case ListId::Diary:
        return shown == ListId::Diary ? Mode::DiaryList : Mode::DiaryEntry;
    case ListId::Addresses:
        return shown == ListId::Addresses ? Mode::AddressList : Mode::AddressEntry;
    case ListId::Mails:
        return shown == ListId::Mails ? Mode::MailList : Mode::MailEntry;
    default:
        return Mode::Board;
    }
}

void TalkState::setListMode(ListId list)
{
    if (change(m_listMode, list))
        emit changed();
}

void TalkState::show(Screen screen, ListId list)
{
    const bool screenChanged = change(m_screen, screen);
    if (change(m_shownList, list) || screenChanged)
        emit changed();
}

void TalkState::showBoard()
{
    show(Screen::Board, ListId::None);
}

void TalkState::showList(ListId list)
{
    show(Screen::List, list);
}

void TalkState::showEntry()
{
    show(Screen::Entry, ListId::None);
}

void TalkState::setSelectionOpen(bool open)
{
    if (change(m_selectionOpen, open))
        emit changed();
}

void TalkState::setCharSet(CharSet set)
{
    if (change(m_charSet, set))
        emit changed();
}

void TalkState::setReading(bool reading)
{
    if (change(m_reading, reading))
        emit changed();
}

void TalkState::setCalling(bool calling)
{
    if (change(m_calling, calling))
        emit changed();
}

void TalkState::narrowTextArea()
{
    const bool tall = change(m_tall, false);
    if (change(m_widened, false) || tall)
        emit changed();
}

void TalkState::widenTextArea(bool widened)
{
    const bool tall = change(m_tall, true);
    if (change(m_widened, m_widened || widened) || tall)
        emit changed();
}

void TalkState::setBackAction(BackAction back)
{
    if (change(m_back, back))
        emit changed();
}

void TalkState::setPendingChar(const QString &s)
{
    if (change(m_pending, s))
        emit changed();
}

int TalkState::chosenRow(ListId list) const
{
    return list == ListId::None ? -1 : m_chosen[size_t(list)];
}

void TalkState::setChosenRow(ListId list, int row)
{
    if (list != ListId::None && change(m_chosen[size_t(list)], row))
        emit changed();
}

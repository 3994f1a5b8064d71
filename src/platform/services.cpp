#include "platform/services.h"

#include <QApplication>
#include <QClipboard>
#include <QDesktopServices>

void SystemBeeper::beep()
{
    QApplication::beep();
}

void SystemClipboard::clear()
{
    QGuiApplication::clipboard()->clear();
}

void SystemClipboard::setText(const QString &text)
{
    QGuiApplication::clipboard()->setText(text);
}

QString SystemClipboard::text() const
{
    return QGuiApplication::clipboard()->text();
}

bool DesktopShell::open(const QUrl &url)
{
    return QDesktopServices::openUrl(url);
}

namespace ScreenPointer {

void setWait()
{
    if (!QApplication::overrideCursor())
        QApplication::setOverrideCursor(Qt::WaitCursor);
}

void setDefault()
{
    while (QApplication::overrideCursor())
        QApplication::restoreOverrideCursor();
}

} // namespace ScreenPointer

BusyScope::BusyScope(QWidget *disabled, bool waitPointer) : m_disabled(disabled), m_waitPointer(waitPointer)
{
    if (m_waitPointer)
        ScreenPointer::setWait();
    if (m_disabled)
        m_disabled->setEnabled(false);
}

BusyScope::~BusyScope()
{
    if (m_disabled)
        m_disabled->setEnabled(true);
    if (m_waitPointer)
        ScreenPointer::setDefault();
}

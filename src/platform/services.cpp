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

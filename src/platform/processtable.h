#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// What the system says about its running processes (Linux /proc). Every
// answer is "unknown" (false, -1, empty) on a system or process it cannot read.
namespace ProcessTable {

// Every process id the system lists now.
QList<int> all();

// Alive, and not a zombie waiting to be reaped by whoever adopted it.
bool isRunning(int pid);

int parentOf(int pid);

// The short command name, as the kernel keeps it.
QByteArray commandOf(int pid);

// The HOME the process was started with.
QString homeOf(int pid);

} // namespace ProcessTable

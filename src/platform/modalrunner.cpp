#include "platform/modalrunner.h"

#include <QDialog>

void ExecRunner::run(QDialog &dialog)
{
    dialog.exec();
}

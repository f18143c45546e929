#include "platform/QtClipboard.h"

#include <QClipboard>
#include <QGuiApplication>

QString QtClipboard::text() const
{
    return QGuiApplication::clipboard()->text();
}

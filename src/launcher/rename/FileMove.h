#pragma once

#include "files/FileIdentity.h"

#include <QString>
#include <QtGlobal>

// A rename's move of one file within its folder; atNewName says which name
// the file has now.
struct FileMove {
    quint64 serial = 0;  // the row of the file
    FileIdentity file;   // the file moved
    QString folder;
    QString oldName;
    QString newName;
    bool atNewName = true;
};

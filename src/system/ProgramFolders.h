#pragma once

#include <QString>

// The folders a program starts from, as path texts with their exact bytes
// (pathText); Qt would read them as UTF-8 and lose the bytes that are not.

// The current folder.
QString currentFolder();

// The folder of the running program's file, links resolved; empty when the
// system does not tell.
QString programFolder();

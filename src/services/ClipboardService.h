#pragma once

#include <QString>

// The system clipboard, read only.
class ClipboardService
{
public:
    virtual ~ClipboardService() = default;
    // The clipboard's plain text; empty when it holds none.
    virtual QString text() const = 0;
};

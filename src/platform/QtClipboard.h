#pragma once

#include "services/ClipboardService.h"

// The application's clipboard.
class QtClipboard : public ClipboardService
{
public:
    QString text() const override;
};

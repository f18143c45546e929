#pragma once

#include "services/MessageBoxService.h"

class QWidget;

// Message boxes as MessageDialog, modal over the owner window.
class QtMessageBox : public MessageBoxService
{
public:
    explicit QtMessageBox(QWidget *owner) : owner_(owner) {}
    Answer showMessage(const QString &text, Buttons buttons, Icon icon, const QString &title) override;

private:
    QWidget *owner_;
};

#pragma once

#include "services/LookupWindowService.h"

class QWidget;

// Looking a CD up, over the owner window: a small modal dialog with a
// Cancel button while MusicBrainz is asked, and a dialog that offers the
// releases found.
class QtLookupWindow : public LookupWindowService
{
public:
    explicit QtLookupWindow(QWidget *owner) : owner_(owner) {}

    void whileAsking(const QString &text, const std::function<void(WebService &web)> &ask) override;
    int chooseRelease(const QString &heading, const QStringList &releases) override;

private:
    QWidget *owner_;
};

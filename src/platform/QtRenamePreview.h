#pragma once

#include "services/RenamePreviewService.h"

class QWidget;

// The rename preview as a dialog modal over its owner: a list of the files
// with their names now and after, greyed where a file keeps its name, each
// with its note, and OK and Cancel. It opens as wide as the names need, up
// to the screen's width.
class QtRenamePreview : public RenamePreviewService
{
public:
    explicit QtRenamePreview(QWidget *owner) : owner_(owner) {}
    bool confirmRenames(const QString &title, const QList<Line> &lines) override;

private:
    QWidget *owner_;
};

#pragma once

#include <QString>

// The main window's own frame and controls, apart from its list.
class MainWindowService
{
public:
    virtual ~MainWindowService() = default;

    virtual QString caption() const = 0;
    // Folder that holds the settings file.
    virtual QString settingsFolder() const = 0;
    // The rename format box.
    virtual QString renameFormat() const = 0;
    virtual void setRenameFormat(const QString &format) = 0;
    virtual void setRenameFormatToolTip(const QString &toolTip) = 0;
    // A disabled window takes no mouse or key input; the tag editor window
    // stays usable meanwhile.
    virtual void setWindowEnabled(bool enabled) = 0;
    // Closes the window; the binding then runs the logic's unload steps.
    virtual void closeWindow() = 0;
};

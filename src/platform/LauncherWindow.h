#pragma once

#include "services/MainWindowService.h"

#include <QWidget>

#include <memory>

class FileDropLabel;
class FileListWidget;
class PosixFileMover;
class PosixFolderReader;
class PrivateProfileFile;
class QLabel;
class QLineEdit;
class QPushButton;
class QtClipboard;
class QtFileChooser;
class QtListMenu;
class QtListView;
class QtLookupWindow;
class QtMessageBox;
class QtRenamePreview;
class QtTagEditor;
class frmID3Launcher;

// The main window "Kalvo": builds its controls, hands their events to the
// logic, and serves the logic's requests on the window.
class LauncherWindow : public QWidget, public MainWindowService
{
    Q_OBJECT
public:
    // The program's folder; the settings file is kept there or in the user's
    // settings folder (userSettingsFolder).
    explicit LauncherWindow(const QString &programFolder, QWidget *parent = nullptr);
    ~LauncherWindow() override;

    frmID3Launcher &logic() { return *logic_; }

    // MainWindowService
    QString caption() const override;
    QString settingsFolder() const override;
    QString renameFormat() const override;
    void setRenameFormat(const QString &format) override;
    void setRenameFormatToolTip(const QString &toolTip) override;
    void setWindowEnabled(bool enabled) override;
    void closeWindow() override;

protected:
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void createControls();
    void placeControls();
    // The services over the controls and the system, and the logic over them.
    void createLogic();
    // The controls' events and the menu's items to the logic's handlers.
    void connectControls();
    void connectMenuItems();

    QString settingsFolder_;
    FileListWidget *lvMP3List;
    FileDropLabel *lblRENBANDD;
    QLabel *lblRenameFormat;
    QLineEdit *txtRenameFormat;
    QPushButton *cmdEnd;

    std::unique_ptr<QtListView> listService_;
    std::unique_ptr<QtListMenu> menuService_;
    std::unique_ptr<QtMessageBox> messageService_;
    std::unique_ptr<QtFileChooser> chooserService_;
    std::unique_ptr<PrivateProfileFile> settingsService_;
    std::unique_ptr<PosixFileMover> moveService_;
    // The editor window object frmID3EditerWindow, for the window's whole life.
    std::unique_ptr<QtTagEditor> editorService_;
    std::unique_ptr<QtClipboard> clipboardService_;
    std::unique_ptr<PosixFolderReader> folderService_;
    std::unique_ptr<QtRenamePreview> renamePreviewService_;
    std::unique_ptr<QtLookupWindow> lookupService_;
    std::unique_ptr<frmID3Launcher> logic_;
    bool unloaded_ = false;
};

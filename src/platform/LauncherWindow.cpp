#include "LauncherWindow.h"

#include "FileDropLabel.h"
#include "FileListWidget.h"
#include "Fonts.h"
#include "PosixFileMover.h"
#include "PrivateProfileFile.h"
#include "QtFileChooser.h"
#include "QtListMenu.h"
#include "QtListView.h"
#include "QtMessageBox.h"
#include "QtTagEditor.h"
#include "Twips.h"
#include "UserSettingsFolder.h"
#include "frmID3Launcher.h"

#include <QAction>
#include <QCloseEvent>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <functional>

namespace {

// Client area and the bottom row of controls, in twips. The list takes what
// the window gives it; the bottom row stays at the bottom.
constexpr int kClientWidth = 10890, kClientHeight = 4755;
constexpr int kListLeft = 20, kListTop = 75, kListWidth = 10855, kListHeight = 4215;
constexpr int kBottomTop = 4320, kControlHeight = 375;
constexpr int kListBottomGap = kBottomTop - (kListTop + kListHeight);

}  // namespace

LauncherWindow::LauncherWindow(const QString &programFolder, QWidget *parent)
    : QWidget(parent), programFolder_(programFolder), settingsFolder_(userSettingsFolder(programFolder))
{
    setObjectName(QStringLiteral("frmID3Launcher"));
    setWindowTitle(QStringLiteral("Kalvo"));
    setFont(gothicFont(9));

    lvMP3List = new FileListWidget(this);
    lvMP3List->setObjectName(QStringLiteral("lvMP3List"));

    lblRENBANDD = new FileDropLabel(QStringLiteral("D&D順にID3V1.1のトラック番号を付ける"), this);
    lblRENBANDD->setObjectName(QStringLiteral("lblRENBANDD"));
    lblRENBANDD->setTextFormat(Qt::PlainText);
    lblRENBANDD->setFont(gothicFont(9.75, true));
    lblRENBANDD->setFrameShape(QFrame::Panel);
    lblRENBANDD->setFrameShadow(QFrame::Sunken);
    lblRENBANDD->setAlignment(Qt::AlignCenter);

    lblRenameFormat = new QLabel(QStringLiteral("リネームフォーマット"), this);
    lblRenameFormat->setObjectName(QStringLiteral("lblRenameFormat"));

    txtRenameFormat = new QLineEdit(this);
    txtRenameFormat->setObjectName(QStringLiteral("txtRenameFormat"));
    txtRenameFormat->setFont(gothicFont(11.25, true));

    cmdEnd = new QPushButton(QStringLiteral("終了(&Q)"), this);
    cmdEnd->setObjectName(QStringLiteral("cmdEnd"));

    // The window may grow; below its designed size the bottom row would
    // overlap.
    setMinimumSize(twipsToPixels(kClientWidth), twipsToPixels(kClientHeight));
    resize(minimumSize());
    placeControls();

    listService_ = std::make_unique<QtListView>(lvMP3List);
    menuService_ = std::make_unique<QtListMenu>(lvMP3List);
    messageService_ = std::make_unique<QtMessageBox>(this);
    chooserService_ = std::make_unique<QtFileChooser>(this);
    settingsService_ = std::make_unique<PrivateProfileFile>();
    moveService_ = std::make_unique<PosixFileMover>();
    editorService_ = std::make_unique<QtTagEditor>(this);
    logic_ = std::make_unique<frmID3Launcher>(frmID3Launcher::Services{*listService_, *messageService_,
                                                                       *chooserService_, *settingsService_,
                                                                       *this, *moveService_, *editorService_,
                                                                       *menuService_});
    editorService_->setHandler(logic_.get());

    connect(cmdEnd, &QPushButton::clicked, this, [this] { logic_->cmdEnd_Click(); });
    connect(lvMP3List, &FileListWidget::filesDropped, this,
            [this](const QStringList &paths) { logic_->lvMP3List_OLEDragDrop(paths); });
    connect(lvMP3List->header(), &QHeaderView::sectionClicked, this,
            [this](int column) { logic_->lvMP3List_ColumnClick(column); });
    connect(lblRENBANDD, &FileDropLabel::filesDropped, this,
            [this](const QStringList &paths) { logic_->lblRENBANDD_OLEDragDrop(paths); });
    connect(lvMP3List, &FileListWidget::commandKeyPressed, this,
            [this](int keyCode, int shift) { logic_->lvMP3List_KeyDown(keyCode, shift); });
    connect(lvMP3List, &FileListWidget::mousePressed, this,
            [this](int button, int shift, int x, int y) { logic_->lvMP3List_MouseDown(button, shift, x, y); });
    connect(lvMP3List, &FileListWidget::listDoubleClicked, this, [this] { logic_->lvMP3List_DblClick(); });

    using Item = ListMenuService::Item;
    const auto onMenu = [this](Item item, const std::function<void()> &command) {
        connect(menuService_->action(item), &QAction::triggered, this, command);
    };
    onMenu(Item::EditTag, [this] { logic_->Menu_LV_RightMenu_EDIT_Tag_Click(); });
    onMenu(Item::Delete, [this] { logic_->Menu_LV_RightMenu_DELETE_Click(); });
    onMenu(Item::Load, [this] { logic_->Menu_LV_RightMenu_Load_Click(); });
    onMenu(Item::Rename, [this] { logic_->Menu_LV_RightMenu_Rename_Click(); });
    onMenu(Item::SaveSelected, [this] { logic_->Menu_LV_RightMenu_Save_Click(0); });
    onMenu(Item::SaveAll, [this] { logic_->Menu_LV_RightMenu_Save_Click(1); });
    onMenu(Item::Copyright, [this] { logic_->Menu_LV_RightMenu_Copyright_Click(); });

    logic_->Form_Load();
}

LauncherWindow::~LauncherWindow() = default;

QString LauncherWindow::caption() const
{
    return windowTitle();
}

QString LauncherWindow::programFolder() const
{
    return programFolder_;
}

QString LauncherWindow::settingsFolder() const
{
    return settingsFolder_;
}

QString LauncherWindow::renameFormat() const
{
    return txtRenameFormat->text();
}

void LauncherWindow::setRenameFormat(const QString &format)
{
    txtRenameFormat->setText(format);
}

void LauncherWindow::setRenameFormatToolTip(const QString &toolTip)
{
    txtRenameFormat->setToolTip(toolTip);
}

void LauncherWindow::setWindowEnabled(bool enabled)
{
    setEnabled(enabled);
}

void LauncherWindow::closeWindow()
{
    close();
}

void LauncherWindow::closeEvent(QCloseEvent *event)
{
    // Closing is never refused; unsaved rows are dropped without a question.
    if (!unloaded_) {
        unloaded_ = true;
        logic_->Form_Unload();
    }
    event->accept();
}

void LauncherWindow::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    placeControls();
}

void LauncherWindow::placeControls()
{
    const int extraWidth = width() - twipsToPixels(kClientWidth);
    const int bottomTop = height() - twipsToPixels(kClientHeight - kBottomTop);
    const int controlHeight = twipsToPixels(kControlHeight);

    const int listTop = twipsToPixels(kListTop);
    lvMP3List->setGeometry(twipsToPixels(kListLeft), listTop, twipsToPixels(kListWidth) + extraWidth,
                           bottomTop - twipsToPixels(kListBottomGap) - listTop);
    lblRENBANDD->setGeometry(twipsToPixels(60), bottomTop, twipsToPixels(4275), controlHeight);
    lblRenameFormat->setGeometry(twipsToPixels(4440), bottomTop + twipsToPixels(100), twipsToPixels(1815),
                                 twipsToPixels(255));
    txtRenameFormat->setGeometry(twipsToPixels(6240), bottomTop, twipsToPixels(3615) + extraWidth, controlHeight);
    cmdEnd->setGeometry(twipsToPixels(9960) + extraWidth, bottomTop, twipsToPixels(855), controlHeight);
}

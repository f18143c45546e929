#include "platform/LauncherWindow.h"

#include "launcher/frmID3Launcher.h"
#include "launcher/window/ListCommands.h"
#include "platform/Cp932OnlyInput.h"
#include "platform/FileDropLabel.h"
#include "platform/FileListWidget.h"
#include "platform/Fonts.h"
#include "platform/QtClipboard.h"
#include "platform/QtFileChooser.h"
#include "platform/QtListMenu.h"
#include "platform/QtListView.h"
#include "platform/QtLookupWindow.h"
#include "platform/QtMessageBox.h"
#include "platform/QtRenamePreview.h"
#include "platform/QtTagEditor.h"
#include "platform/Twips.h"
#include "services/ListInputCodes.h"
#include "system/PosixFileMover.h"
#include "system/PosixFolderReader.h"
#include "system/PrivateProfileFile.h"
#include "system/UserSettingsFolder.h"

#include <QAction>
#include <QCloseEvent>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <array>
#include <utility>

namespace {

constexpr int kClientWidth = 10890, kClientHeight = 4755;  // twips

// How a control follows the window when it grows beyond its designed size.
enum class Follow { Stays, Grows, Moves };

// Where each control stands in the designed window, in twips: left, top,
// width, height; then how it follows a wider and a taller window. The list
// takes what the window gives it; the bottom row stays at the bottom, with
// the format box widening and Quit at the right edge.
struct Place {
    const char16_t *name;
    int left, top, width, height;
    Follow across, down;
};
constexpr std::array<Place, 5> kPlaces = {{
    {u"lvMP3List", 20, 75, 10855, 4215, Follow::Grows, Follow::Grows},
    {u"lblRENBANDD", 60, 4320, 4275, 375, Follow::Stays, Follow::Moves},
    {u"lblRenameFormat", 4440, 4420, 1815, 255, Follow::Stays, Follow::Moves},
    {u"txtRenameFormat", 6240, 4320, 3615, 375, Follow::Grows, Follow::Moves},
    {u"cmdEnd", 9960, 4320, 855, 375, Follow::Moves, Follow::Moves},
}};

// The start and length of a control along one side, in pixels, in a window
// that is extra pixels larger than designed along it.
std::pair<int, int> span(int startTwips, int lengthTwips, Follow follow, int extra)
{
    const int start = twipsToPixels(startTwips) + (follow == Follow::Moves ? extra : 0);
    const int length = twipsToPixels(lengthTwips) + (follow == Follow::Grows ? extra : 0);
    return {start, length};
}

}  // namespace

LauncherWindow::LauncherWindow(const QString &programFolder, QWidget *parent)
    : QWidget(parent), settingsFolder_(userSettingsFolder(programFolder))
{
    createControls();
    createLogic();
    connectControls();
    connectMenuItems();
    logic_->Form_Load();
}

void LauncherWindow::createControls()
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
    new Cp932OnlyInput(txtRenameFormat);

    cmdEnd = new QPushButton(QStringLiteral("終了(&Q)"), this);
    cmdEnd->setObjectName(QStringLiteral("cmdEnd"));

    // The window may grow; below its designed size the bottom row would
    // overlap.
    setMinimumSize(twipsToPixels(kClientWidth), twipsToPixels(kClientHeight));
    resize(minimumSize());
    placeControls();
}

void LauncherWindow::createLogic()
{
    listService_ = std::make_unique<QtListView>(lvMP3List);
    menuService_ = std::make_unique<QtListMenu>(lvMP3List);
    messageService_ = std::make_unique<QtMessageBox>(this);
    chooserService_ = std::make_unique<QtFileChooser>(this);
    settingsService_ = std::make_unique<PrivateProfileFile>();
    moveService_ = std::make_unique<PosixFileMover>();
    editorService_ = std::make_unique<QtTagEditor>(this);
    clipboardService_ = std::make_unique<QtClipboard>();
    folderService_ = std::make_unique<PosixFolderReader>();
    renamePreviewService_ = std::make_unique<QtRenamePreview>(this);
    lookupService_ = std::make_unique<QtLookupWindow>(this);
    logic_ = std::make_unique<frmID3Launcher>(frmID3Launcher::Services{
        .list = *listService_, .messages = *messageService_, .chooser = *chooserService_,
        .settings = *settingsService_, .window = *this, .mover = *moveService_, .editor = *editorService_,
        .menu = *menuService_, .clipboard = *clipboardService_, .folders = *folderService_,
        .renamePreview = *renamePreviewService_, .lookup = *lookupService_});
    editorService_->setHandler(logic_.get());
}

void LauncherWindow::connectControls()
{
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
}

void LauncherWindow::connectMenuItems()
{
    for (const ListCommand &command : listCommands()) {
        connect(menuService_->action(command.item), &QAction::triggered, this,
                [this, item = command.item] { logic_->runCommand(item); });
    }
}

LauncherWindow::~LauncherWindow() = default;

QString LauncherWindow::caption() const
{
    return windowTitle();
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
    const int extraHeight = height() - twipsToPixels(kClientHeight);
    for (const Place &at : kPlaces) {
        const auto [left, controlWidth] = span(at.left, at.width, at.across, extraWidth);
        const auto [top, controlHeight] = span(at.top, at.height, at.down, extraHeight);
        findChild<QWidget *>(QString::fromUtf16(at.name), Qt::FindDirectChildrenOnly)->setGeometry(left, top, controlWidth, controlHeight);
    }
}

#include "platform/MessageDialog.h"

#include <QAbstractButton>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QStyle>

#include <algorithm>

namespace {

// What a window manager's frame and title bar may add around the box.
constexpr int kFrameAllowance = 64;

QPixmap iconPixmap(const QWidget *box, QMessageBox::Icon icon)
{
    QStyle::StandardPixmap which = QStyle::SP_MessageBoxInformation;
    switch (icon) {
    case QMessageBox::NoIcon:
        return QPixmap();
    case QMessageBox::Question:
        which = QStyle::SP_MessageBoxQuestion;
        break;
    case QMessageBox::Warning:
        which = QStyle::SP_MessageBoxWarning;
        break;
    case QMessageBox::Critical:
        which = QStyle::SP_MessageBoxCritical;
        break;
    case QMessageBox::Information:
        break;
    }
    const int size = box->style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, box);
    return box->style()->standardIcon(which, nullptr, box).pixmap(size, size);
}

}  // namespace

MessageDialog::MessageDialog(QMessageBox::Icon icon, const QString &title, const QString &text,
                             QDialogButtonBox::StandardButtons buttons, QWidget *owner)
    : QDialog(owner), icon_(icon)
{
    setWindowTitle(title);
    setWindowModality(Qt::ApplicationModal);

    auto *iconLabel = new QLabel(this);
    iconLabel->setPixmap(iconPixmap(this, icon));

    textLabel_ = new QLabel(text);
    textLabel_->setTextFormat(Qt::PlainText);
    textLabel_->setWordWrap(false);
    textLabel_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    textLabel_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    textArea_ = new QScrollArea(this);
    textArea_->setFrameShape(QFrame::NoFrame);
    textArea_->setWidget(textLabel_);

    buttonBox_ = new QDialogButtonBox(buttons, this);
    connect(buttonBox_, &QDialogButtonBox::clicked, this, [this](QAbstractButton *clicked) {
        answer_ = buttonBox_->standardButton(clicked);
        accept();
    });
    // Enter takes Yes, or else OK, wherever the platform puts it.
    QAbstractButton *yes = button(QDialogButtonBox::Yes);
    if (auto *preferred = qobject_cast<QPushButton *>(yes ? yes : buttonBox_->buttons().value(0)))
        preferred->setDefault(true);

    auto *grid = new QGridLayout(this);
    grid->addWidget(iconLabel, 0, 0, Qt::AlignTop);
    grid->addWidget(textArea_, 0, 1);
    grid->addWidget(buttonBox_, 1, 0, 1, 2);
    grid->setSizeConstraint(QLayout::SetFixedSize);
    fitTextArea();
}

QString MessageDialog::text() const
{
    return textLabel_->text();
}

QAbstractButton *MessageDialog::button(QDialogButtonBox::StandardButton which) const
{
    return buttonBox_->button(which);
}

QList<QAbstractButton *> MessageDialog::buttons() const
{
    return buttonBox_->buttons();
}

// The text shows whole when it fits kShownLines lines and the screen;
// otherwise the area shows what fits, with a scroll bar along each side the
// text runs past.
void MessageDialog::fitTextArea()
{
    const QSize text = textLabel_->sizeHint();
    textLabel_->resize(text);
    const qsizetype lineCount = textLabel_->text().count(u'\n') + 1;
    const qsizetype shownLines = std::min<qsizetype>(lineCount, kShownLines);
    QSize shown(text.width(), static_cast<int>(text.height() * shownLines / lineCount));

    // What the box holds beside the text, and the screen's room for it.
    textArea_->setFixedSize(shown);
    const QSize beside = layout()->totalSizeHint() - shown;
    const QScreen *screen = parentWidget() ? parentWidget()->screen() : this->screen();
    const QSize room = screen->availableGeometry().size() - beside - QSize(kFrameAllowance, kFrameAllowance);
    shown = shown.boundedTo(room);

    const int bar = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, textArea_);
    const bool runsDown = text.height() > shown.height();
    const bool runsAcross = text.width() > shown.width();
    textArea_->setVerticalScrollBarPolicy(runsDown ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    textArea_->setHorizontalScrollBarPolicy(runsAcross ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    const QSize bars(runsDown ? bar : 0, runsAcross ? bar : 0);
    textArea_->setFixedSize((shown + bars).boundedTo(room));
}

void MessageDialog::keyPressEvent(QKeyEvent *event)
{
    // A button's underlined letter answers without Alt, as in Qt's own boxes.
    if (!(event->modifiers() & (Qt::AltModifier | Qt::ControlModifier | Qt::MetaModifier))) {
        for (QAbstractButton *candidate : buttonBox_->buttons()) {
            const QKeySequence shortcut = candidate->shortcut();
            if (!shortcut.isEmpty() && shortcut[0].key() == event->key()) {
                candidate->animateClick();
                return;
            }
        }
    }
    QDialog::keyPressEvent(event);
}

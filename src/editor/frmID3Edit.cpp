#include "editor/frmID3Edit.h"

#include "editor/TypingLimit.h"
#include "id3v1/GenreTable.h"
#include "services/MessageBoxService.h"
#include "text/CellNumber.h"
#include "text/Cp932.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPushButton>

namespace {

constexpr int kClientWidth = 369, kClientHeight = 203;

// Where each control stands, in pixels: left, top, width, height. Each text
// field and the genre list has its label at the left, level with it.
struct Place {
    const char16_t *name;
    int left, top, width, height;
};
constexpr std::array<Place, 11> kPlaces = {{
    {u"lblFilename", 8, 8, 353, 17},
    {u"txtID3String_0", 64, 37, 297, 18},
    {u"txtID3String_1", 64, 59, 297, 18},
    {u"cmbGenre", 64, 80, 185, 20},
    {u"txtID3String_2", 64, 101, 297, 18},
    {u"txtID3String_3", 64, 136, 297, 18},
    {u"txtID3String_4", 64, 157, 89, 18},
    {u"txtID3String_5", 64, 179, 89, 18},
    {u"cmdDBMove_0", 176, 160, 41, 33},
    {u"cmdDBMove_1", 232, 160, 41, 33},
    {u"cmdEnd", 296, 160, 65, 33},
}};
constexpr int kLabelLeft = 8, kLabelWidth = 56, kLabelHeight = 17;

struct FieldInfo {
    const char16_t *label;
    int typingLimit;  // characters
    // Byte limit and its message; with no limit the field takes single-byte
    // characters only.
    int maxBytes;
    const char16_t *tooLongMessage;
};

constexpr std::array<FieldInfo, frmID3Edit::kFieldCount> kFields = {{
    {u"曲名", 30, 30, u"30bytes 以上の文字は入力できません"},
    {u"コメント", 30, 28, u"28bytes 以上の文字は入力できません"},
    {u"歌手", 30, 30, u"30bytes 以上の文字は入力できません"},
    {u"アルバム", 30, 30, u"30bytes 以上の文字は入力できません"},
    {u"制作年", 4, 0, nullptr},
    {u"トラック", 2, 0, nullptr},
}};

const QString kMessageDoubleByte = QStringLiteral("二バイト(全角)文字は入力できません");
const QString kLengthErrorWord = QStringLiteral(" [文字数エラー]");
const QString kInputErrorWord = QStringLiteral(" [入力エラー]");

// Gives the control its object name and its place from the table, and puts
// a label with labelText (when given) at the left, level with it.
void place(QWidget *control, const QString &name, const char16_t *labelText = nullptr)
{
    control->setObjectName(name);
    for (const Place &at : kPlaces) {
        if (name == QStringView(at.name)) {
            control->setGeometry(at.left, at.top, at.width, at.height);
            if (labelText) {
                auto *label = new QLabel(QString::fromUtf16(labelText), control->parentWidget());
                label->setGeometry(kLabelLeft, at.top, kLabelWidth, kLabelHeight);
            }
            return;
        }
    }
    Q_ASSERT_X(false, "place", "control missing from kPlaces");
}

}  // namespace

frmID3Edit::frmID3Edit(MessageBoxService &messages, const QFont &windowFont) : QWidget(nullptr), messages_(messages)
{
    setObjectName(QStringLiteral("frmID3Edit"));
    setAttribute(Qt::WA_QuitOnClose, false);
    setFont(windowFont);
    setFixedSize(kClientWidth, kClientHeight);
    createControls();
}

frmID3Edit::~frmID3Edit() = default;

void frmID3Edit::createControls()
{
    // Built in tab order: title, comment, genre, artist, album, year, track,
    // the two move buttons, Close.
    auto makeField = [this](int index) {
        const FieldInfo &info = kFields[static_cast<std::size_t>(index)];
        auto *field = new QLineEdit(this);
        place(field, QStringLiteral("txtID3String_%1").arg(index), info.label);
        field->installEventFilter(this);
        txtID3String[static_cast<std::size_t>(index)] = field;
        typingLimits_[static_cast<std::size_t>(index)] = new TypingLimit(field, info.typingLimit, info.maxBytes);
    };
    makeField(Title);
    makeField(Comment);

    cmbGenre = new QComboBox(this);
    place(cmbGenre, QStringLiteral("cmbGenre"), u"ジャンル");
    // At most 20 of the 148 names at once, with a scroll bar. Styles that open
    // the list over the box (Fusion, for one) ignore that limit and grow the
    // list to the screen's height, unless told to open a plain drop-down list.
    cmbGenre->setMaxVisibleItems(20);
    cmbGenre->setStyleSheet(QStringLiteral("combobox-popup: 0;"));

    for (int index = Artist; index < kFieldCount; ++index)
        makeField(index);

    const std::array<const char16_t *, 2> moveCaptions = {u"←", u"→"};
    for (std::size_t index = 0; index < moveCaptions.size(); ++index) {
        auto *button = new QPushButton(QString::fromUtf16(moveCaptions[index]), this);
        place(button, QStringLiteral("cmdDBMove_%1").arg(index));
        connect(button, &QPushButton::clicked, this, [this, index] { cmdDBMove_Click(static_cast<int>(index)); });
        cmdDBMove[index] = button;
    }

    cmdEnd = new QPushButton(QStringLiteral("閉じる(&E)"), this);
    place(cmdEnd, QStringLiteral("cmdEnd"));
    connect(cmdEnd, &QPushButton::clicked, this, &QWidget::close);

    lblFilename = new QLabel(this);
    place(lblFilename, QStringLiteral("lblFilename"));
    // The file name stands out: the window's face, a little larger, italic.
    QFont nameFont = font();
    nameFont.setPointSizeF(9.75);
    nameFont.setItalic(true);
    lblFilename->setFont(nameFont);
    lblFilename->setTextFormat(Qt::PlainText);
    lblFilename->setAutoFillBackground(true);
}

QString frmID3Edit::GetTrackName() const
{
    return txtID3String[Title]->text();
}

QString frmID3Edit::GetComment() const
{
    return txtID3String[Comment]->text();
}

QString frmID3Edit::GetAirtistName() const
{
    return txtID3String[Artist]->text();
}

QString frmID3Edit::GetAlbumName() const
{
    return txtID3String[Album]->text();
}

QString frmID3Edit::GetReleaseYear() const
{
    return txtID3String[Year]->text();
}

quint8 frmID3Edit::GetTrackNumber() const
{
    return cellNumber(txtID3String[Track]->text());
}

quint8 frmID3Edit::GetGenreID() const
{
    const int index = cmbGenre->currentIndex();
    return index >= 0 ? static_cast<quint8>(index) : unlistedGenreID_;
}

void frmID3Edit::SetFileName(const QString &newFileName)
{
    lblFilename->setText(newFileName);
}

void frmID3Edit::SetTrackName(const QString &newTrackName)
{
    typingLimits_[Title]->putText(newTrackName);
}

void frmID3Edit::SetComment(const QString &newComment)
{
    typingLimits_[Comment]->putText(newComment);
}

void frmID3Edit::SetAirtistName(const QString &newAirtistName)
{
    typingLimits_[Artist]->putText(newAirtistName);
}

void frmID3Edit::SetAlbumName(const QString &newAlbumName)
{
    typingLimits_[Album]->putText(newAlbumName);
}

void frmID3Edit::SetReleaseYear(const QString &newReleaseYear)
{
    typingLimits_[Year]->putText(newReleaseYear);
}

void frmID3Edit::SetTrackNumber(quint8 newTrackNumber)
{
    typingLimits_[Track]->putText(QString::number(newTrackNumber));
}

void frmID3Edit::SetGenreID(qint16 newGenreID)
{
    if (newGenreID >= 0 && newGenreID < cmbGenre->count()) {
        cmbGenre->setCurrentIndex(newGenreID);
        return;
    }
    cmbGenre->setCurrentIndex(-1);
    unlistedGenreID_ = newGenreID >= 0 && newGenreID <= 255 ? static_cast<quint8>(newGenreID) : 0;
}

void frmID3Edit::GenreSet(const QString &newGenreString)
{
    if (cmbGenre->count() < GenreTable::kMaxEntries)
        cmbGenre->addItem(newGenreString);
}

void frmID3Edit::SetReadID(qint16 newReadID)
{
    ReadID = newReadID;
    QPalette palette = lblFilename->palette();
    palette.setColor(QPalette::Window, Qt::black);
    palette.setColor(QPalette::WindowText, newReadID == 1 ? QColor(255, 0, 0) : QColor(255, 255, 255));
    lblFilename->setPalette(palette);
}

bool frmID3Edit::eventFilter(QObject *watched, QEvent *event)
{
    const int index = fieldIndex(watched);
    if (index < 0)
        return QWidget::eventFilter(watched, event);
    QLineEdit *field = txtID3String[static_cast<std::size_t>(index)];

    switch (event->type()) {
    case QEvent::KeyPress: {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Up || key == Qt::Key_Down) {
            txtID3String_KeyDown(key);
            return true;
        }
        break;
    }
    case QEvent::KeyRelease: {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Up || key == Qt::Key_Down) {
            txtID3String_KeyUp(field);
            return true;
        }
        break;
    }
    case QEvent::FocusIn:
        if (static_cast<QFocusEvent *>(event)->reason() == Qt::MouseFocusReason && SelectOnFocus)
            selectAfterClick_ = field;
        applyFocusRule(field);
        break;
    case QEvent::FocusOut:
        SelectOnFocus = true;
        break;
    case QEvent::MouseButtonRelease:
        if (selectAfterClick_ == field) {
            selectAfterClick_ = nullptr;
            // A drag that selected part of the text keeps that selection.
            if (!field->hasSelectedText())
                field->selectAll();
        }
        break;
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

void frmID3Edit::keyPressEvent(QKeyEvent *event)
{
    // The Close button is the window's cancel button. Escape comes here
    // when the control with the focus leaves it: the open genre list takes it
    // to close itself alone.
    if (event->matches(QKeySequence::Cancel)) {
        cmdEnd->click();
        return;
    }
    QWidget::keyPressEvent(event);
}

void frmID3Edit::closeEvent(QCloseEvent *event)
{
    if (!unloaded_) {
        unloaded_ = true;
        // A failed check drops the current row's edits; the window closes
        // anyway.
        if (CheckInputText())
            emit SetID3(ReadID);
        emit LostForm();
    }
    event->accept();
}

void frmID3Edit::txtID3String_KeyDown(int key)
{
    rowMove(key == Qt::Key_Up ? Direction::Backwards : Direction::Forwards);
}

void frmID3Edit::txtID3String_KeyUp(QLineEdit *field)
{
    // After a move by key the field that keeps the focus shows the new row's
    // value wholly selected.
    applyFocusRule(field);
}

void frmID3Edit::cmdDBMove_Click(int Index)
{
    rowMove(Index == 0 ? Direction::Backwards : Direction::Forwards);
}

void frmID3Edit::rowMove(Direction direction)
{
    if (!CheckInputText())
        return;
    emit SetID3(ReadID);
    // The main window wraps the number into its list and sets ReadID while
    // handling the event.
    emit PutID3(static_cast<qint16>(direction == Direction::Forwards ? ReadID + 1 : ReadID - 1));
    SelectOnFocus = true;
}

void frmID3Edit::applyFocusRule(QLineEdit *field)
{
    if (!SelectOnFocus)
        return;
    field->selectAll();
    SelectOnFocus = false;
}

bool frmID3Edit::CheckInputText()
{
    for (std::size_t index = 0; index < kFields.size(); ++index) {
        const QString text = txtID3String[index]->text();
        const qsizetype bytes = GetByteLength(text);
        const FieldInfo &info = kFields[index];
        QString message;
        QString titleWord;
        if (info.maxBytes == 0 && bytes != text.size()) {
            message = kMessageDoubleByte;
            titleWord = kInputErrorWord;
        } else if (info.maxBytes > 0 && bytes > info.maxBytes) {
            message = QString::fromUtf16(info.tooLongMessage);
            titleWord = kLengthErrorWord;
        } else {
            continue;
        }
        messages_.showMessage(message, MessageBoxService::Buttons::Ok, MessageBoxService::Icon::Exclamation,
                              windowTitle() + titleWord);
        return false;
    }
    return true;
}

qsizetype frmID3Edit::GetByteLength(const QString &text)
{
    return Cp932::byteLength(text);
}

int frmID3Edit::fieldIndex(const QObject *object) const
{
    for (std::size_t index = 0; index < txtID3String.size(); ++index) {
        if (txtID3String[index] == object)
            return static_cast<int>(index);
    }
    return -1;
}

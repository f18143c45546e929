#pragma once

#include <QWidget>

#include <array>

class MessageBoxService;
class QFont;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class TypingLimit;

// The tag editor window: the values of one list row in six text fields and a
// genre list. The main window fills it through the Set properties and reads it
// back through the Get properties; the window asks for that by its events,
// which are meant for direct (synchronous) connections. It is a top-level
// window of its own, so disabling the main window leaves it usable.
class frmID3Edit : public QWidget
{
    Q_OBJECT
public:
    // Indexes of the six text fields, txtID3String_0 to txtID3String_5.
    enum Field { Title = 0, Comment = 1, Artist = 2, Album = 3, Year = 4, Track = 5 };
    static constexpr int kFieldCount = 6;

    // The input check's message boxes go through messages; windowFont is the
    // face of the window and its controls.
    frmID3Edit(MessageBoxService &messages, const QFont &windowFont);
    ~frmID3Edit() override;

    QString GetTrackName() const;
    QString GetComment() const;
    QString GetAirtistName() const;
    QString GetAlbumName() const;
    QString GetReleaseYear() const;
    quint8 GetTrackNumber() const;
    quint8 GetGenreID() const;

    void SetFileName(const QString &newFileName);
    void SetTrackName(const QString &newTrackName);
    void SetComment(const QString &newComment);
    void SetAirtistName(const QString &newAirtistName);
    void SetAlbumName(const QString &newAlbumName);
    void SetReleaseYear(const QString &newReleaseYear);
    void SetTrackNumber(quint8 newTrackNumber);
    void SetGenreID(qint16 newGenreID);
    void GenreSet(const QString &newGenreString);
    void SetReadID(qint16 newReadID);

signals:
    // Take the window's values into row KeyID (always the row it holds).
    void SetID3(qint16 KeyID);
    // Load row KeyID into the window (one before or after the row it holds).
    void PutID3(qint16 KeyID);
    // The window is closing.
    void LostForm();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    // Runs the unload steps; the close is never refused.
    void closeEvent(QCloseEvent *event) override;

private:
    enum class Direction { Backwards, Forwards };

    void createControls();
    void txtID3String_KeyDown(int key);
    void txtID3String_KeyUp(QLineEdit *field);
    void cmdDBMove_Click(int Index);
    void rowMove(Direction direction);
    void applyFocusRule(QLineEdit *field);
    bool CheckInputText();
    static qsizetype GetByteLength(const QString &text);
    int fieldIndex(const QObject *object) const;

    MessageBoxService &messages_;
    std::array<QLineEdit *, kFieldCount> txtID3String{};
    std::array<TypingLimit *, kFieldCount> typingLimits_{};
    QComboBox *cmbGenre = nullptr;
    std::array<QPushButton *, 2> cmdDBMove{};
    QPushButton *cmdEnd = nullptr;
    QLabel *lblFilename = nullptr;

    qint16 ReadID = 0;
    bool SelectOnFocus = true;
    // The genre number given to SetGenreID when the list has no entry for it;
    // GetGenreID gives it back while no entry is selected, so an unnamed genre
    // survives a visit to the row.
    quint8 unlistedGenreID_ = 0;
    // A field entered by a mouse press selects its whole text only after the
    // press has placed the cursor.
    QLineEdit *selectAfterClick_ = nullptr;
    bool unloaded_ = false;
};

#pragma once

#include <QDialog>
#include <QDialogButtonBox>
#include <QMessageBox>

class QLabel;
class QScrollArea;

// A modal message: its icon at the left, its text beside it and its buttons
// below. The text's lines break only where the text breaks them, so a file
// name is never split. At most kShownLines lines show at once; a longer text,
// or one wider than the screen leaves room for, scrolls inside the box, which
// never grows past the screen.
//
// Like a QMessageBox, a button's underlined letter answers without Alt,
// Enter takes the default button (Yes, or OK), and Escape closes the box
// with no button pressed.
class MessageDialog : public QDialog
{
    Q_OBJECT
public:
    static constexpr int kShownLines = 15;

    // Lines of the text are separated by "\n".
    MessageDialog(QMessageBox::Icon icon, const QString &title, const QString &text,
                  QDialogButtonBox::StandardButtons buttons, QWidget *owner);

    QString text() const;
    QMessageBox::Icon icon() const { return icon_; }
    QAbstractButton *button(QDialogButtonBox::StandardButton which) const;
    QList<QAbstractButton *> buttons() const;
    // The button that closed the box; NoButton after Escape or the close box.
    QDialogButtonBox::StandardButton answer() const { return answer_; }

    // Where the text shows; for the tests of the box's size.
    QScrollArea *textArea() const { return textArea_; }

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void fitTextArea();

    QMessageBox::Icon icon_;
    QLabel *textLabel_;
    QScrollArea *textArea_;
    QDialogButtonBox *buttonBox_;
    QDialogButtonBox::StandardButton answer_ = QDialogButtonBox::NoButton;
};

#pragma once

#include <QWidget>

class QKeyEvent;
class QLabel;
class QLineEdit;
class QToolButton;

// The bar under the media list that finds entries: a text field, the count of matches and a
// close button. It only reports what the user does; the window decides what that means.
class TFindBar : public QWidget {
    Q_OBJECT

public:
    explicit TFindBar(QWidget *parent = nullptr);

    QLineEdit *Field() const { return field_; }
    QString Query() const;
    // Shows the bar with the field focused and its text selected.
    void Open();
    // Hides the bar and empties the field, telling QueryChanged when it had text.
    void Close();
    // "12 of 48,210": how many entries are shown of how many.
    void ShowCount(int shown, int total);
    QString CountText() const;

signals:
    void QueryChanged(const QString &text);
    // Esc or the close button.
    void CloseAsked();
    // Up, Down, Page Up or Page Down in the field: a move among the entries shown.
    void MoveAsked(QKeyEvent *event);
    // Return or Enter in the field.
    void ChooseAsked();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QLineEdit *field_;
    QLabel *count_;
    QToolButton *close_;
};

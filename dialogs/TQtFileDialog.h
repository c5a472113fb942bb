#pragma once

#include <QFileDialog>

class QFileSystemModel;
class QLineEdit;

// Qt's file dialog as the player's dialogs expect it:
// - A file name made only of wildcard patterns ("*.mp3;*.wav", separated by ";" or blanks)
//   filters the listing by them, when the dialog opens with it and whenever the user enters
//   one, without changing the chosen file type.
// - An open dialog takes a typed name that does not exist, as the player's dialogs have no
//   "file must exist" option.
class TQtFileDialog : public QFileDialog {
    Q_OBJECT

public:
    // Qt's object name of the box where the user types a file name.
    static constexpr const char *NameBoxObjectName = "fileNameEdit";

    TQtFileDialog(QWidget *parent, const QString &caption, const QString &folder);

    // The patterns of a wildcard file name; empty for any other name.
    static QStringList WildcardPatterns(const QString &fileName);
    // Shows the file name in the name box; a wildcard name filters the listing instead of
    // naming a file.
    void SetFileName(const QString &fileName);

    // The 1-based number of the file type shown; 0 when there is none.
    int FilterNumber() const;
    // What the user chose, once the dialog was accepted: missing names too.
    QStringList ChosenFiles() const { return chosen_; }

    void accept() override;

private:
    QFileSystemModel *Listing() const;
    QLineEdit *NameBox() const;

    QStringList chosen_;
};

#include "TDesktopFixture.h"
#include "controls/TOECheckListBox.h"
#include "dialogs/TQtUserDialogs.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QLineEdit>
#include <QListView>
#include <QTest>
#include <QTimer>

namespace {

class TFileDialogTest : public TShownFormFixture {
protected:
    void SetUp() override
    {
        TShownFormFixture::SetUp();
        for (const char *name : {"a.mp3", "B.WAV", "c.oml", "list.OML", "d.avi", "f.AVI", "e.txt", "g.Opus", "h.m3u8"})
            folder.WriteFile(QLatin1String(name), "x");
    }

    // The next file dialog is the real one; `inside` runs while it is shown.
    void WithTheRealDialog(std::function<void(QFileDialog &)> inside)
    {
        dialogs.FileAnswers.push_back([this](TFileDialog &dialog) { return real.RunFileDialog(dialog); });
        QTimer::singleShot(0, [inside] {
            QFileDialog *shown = nullptr;
            if (QTest::qWaitFor([&] { return (shown = qobject_cast<QFileDialog *>(QApplication::activeModalWidget())); },
                                5000))
                inside(*shown);
        });
    }

    // The names the dialog lists, once its folder has been read.
    static QStringList Listed(QFileDialog &dialog)
    {
        auto *view = dialog.findChild<QListView *>(QStringLiteral("listView"));
        auto *listing = dialog.findChild<QFileSystemModel *>();
        QStringList names;
        if (!view || !listing)
            return {QStringLiteral("<no listing>")};
        if (!QTest::qWaitFor([&] { return listing->rowCount(view->rootIndex()) > 0; }, 3000))
            return {QStringLiteral("<folder not read>")};
        QTest::qWait(100); // the proxy's filtering settles
        for (int row = 0; row < view->model()->rowCount(view->rootIndex()); ++row)
            names << view->model()->index(row, 0, view->rootIndex()).data().toString();
        names.sort(Qt::CaseInsensitive);
        return names;
    }

    static void Enter(QFileDialog &dialog, const QString &text)
    {
        auto *nameBox = dialog.findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
        nameBox->setText(text);
        QTest::keyClick(nameBox, Qt::Key_Return);
    }

    TQtUserDialogs real;
};

TEST_F(TFileDialogTest, AddListsTheMediaFilesByTheWildcardNameAndKeepsTheFileType)
{
    QStringList listed, typed, types;
    QString type;
    WithTheRealDialog([&](QFileDialog &dialog) {
        dialog.setDirectory(folder.path());
        listed = Listed(dialog);
        auto *typeBox = dialog.findChild<QComboBox *>(QStringLiteral("fileTypeCombo"));
        type = typeBox->currentText();
        for (int i = 0; i < typeBox->count(); ++i)
            types << typeBox->itemText(i);
        Enter(dialog, QStringLiteral("*.avi"));
        typed = Listed(dialog);
        Enter(dialog, QStringLiteral("\"d.avi\" \"f.AVI\""));
    });
    form->miAdd->trigger();
    EXPECT_EQ(listed, QStringList({"a.mp3", "B.WAV", "d.avi", "f.AVI", "g.Opus", "h.m3u8"})); // every known type
    EXPECT_EQ(typed, QStringList({"d.avi", "f.AVI"}));
    EXPECT_EQ(type, "Ostrel Media List (*.OML)");
    EXPECT_EQ(types, QStringList({"Ostrel Media List (*.OML)", "MP3 Unit (*.MPU)", "Text File (*.TXT)",
                                  "All files (*.*), treated as text files", "M3U Playlist (*.m3u;*.m3u8)",
                                  "PLS Playlist (*.pls)", "XSPF Playlist (*.xspf)"}));
    EXPECT_EQ(form->lbFiles->Texts(),
              QList<QByteArray>({QFile::encodeName(folder.File("d.avi")), QFile::encodeName(folder.File("f.AVI"))}));
    EXPECT_EQ(form->ListType(), TListType::Oml);
    EXPECT_TRUE(dialogs.Messages.isEmpty()) << dialogs.Messages.join('|').toStdString();
}

TEST_F(TFileDialogTest, TheListTypesPatternsIgnoreLetterCase)
{
    QStringList listed;
    WithTheRealDialog([&](QFileDialog &dialog) {
        dialog.setDirectory(folder.path());
        auto *typeBox = dialog.findChild<QComboBox *>(QStringLiteral("fileTypeCombo"));
        typeBox->setCurrentIndex(0);
        dialog.selectNameFilter(typeBox->itemText(0));
        listed = Listed(dialog);
        dialog.reject();
    });
    form->SetAutoSave(false); // with it, Load first saves the current list into this folder
    form->miLoadMedia->trigger();
    EXPECT_EQ(listed, QStringList({"c.oml", "list.OML"}));
}

TEST_F(TFileDialogTest, ChoosingAnotherFileTypeWhileOpenSetsTheListTypeByItsPlace)
{
    WithTheRealDialog([&](QFileDialog &dialog) {
        auto *typeBox = dialog.findChild<QComboBox *>(QStringLiteral("fileTypeCombo"));
        QTest::keyClick(typeBox, Qt::Key_End); // as the user picks the last type
        dialog.reject();
    });
    form->miLoadMedia->trigger();
    EXPECT_EQ(form->ListType(), TListType::Xspf); // the open dialog's type-change rule
}

TEST_F(TFileDialogTest, LoadTakesATypedNameThatDoesNotExist)
{
    WithTheRealDialog([&](QFileDialog &dialog) {
        dialog.setDirectory(folder.path());
        Enter(dialog, QStringLiteral("missing.oml"));
    });
    form->miLoadMedia->trigger();
    EXPECT_EQ(dialogs.Messages, QStringList({"Unable to save media files!"}));
    EXPECT_EQ(form->lbFiles->Count(), 0);
    EXPECT_EQ(form->ListFileName(), folder.File("missing.oml"));
    EXPECT_EQ(form->windowTitle(), "Ostrel Media Player - " + folder.File("missing.oml"));
}

TEST_F(TFileDialogTest, OddNamesInTheNameBoxNeitherCrashNorHang)
{
    QStringList hundreds;
    for (int i = 0; i < 500; ++i)
        hundreds << QStringLiteral("*.x%1").arg(i);
    const QStringList odd = {hundreds.join(';'), "*[a-", "*\\*.mp3", "[*].mp3", QString(10000, 'n'), "*" + QString(10000, '?')};
    WithTheRealDialog([&](QFileDialog &dialog) {
        dialog.setDirectory(folder.path());
        for (const QString &name : odd) {
            auto *nameBox = dialog.findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
            nameBox->setText(name);
            QTest::keyClick(nameBox, Qt::Key_Return);
            if (!dialog.isVisible())
                return;
            QTest::qWait(50);
        }
        dialog.reject();
    });
    form->miAdd->trigger();
    // The 10,000-character name is taken as a name of its own, as any typed name.
    EXPECT_LE(form->lbFiles->Count(), 1);
}

} // namespace

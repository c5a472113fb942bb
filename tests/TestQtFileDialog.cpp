#include "TTempFolder.h"
#include "dialogs/TQtFileDialog.h"

#include <QLineEdit>
#include <gtest/gtest.h>

namespace {

const QStringList ListFilters = {"Ostrel Media List (*.OML)", "MP3 Unit (*.MPU)", "Text File (*.TXT)",
                                 "All files (*.*), treated as text files (*)"};

TEST(QtFileDialog, QtStillNamesItsNameBoxAsTheDialogExpects)
{
    TTempFolder folder;
    TQtFileDialog box(nullptr, "Save Media List", folder.path());
    EXPECT_NE(box.findChild<QLineEdit *>(QLatin1String(TQtFileDialog::NameBoxObjectName)), nullptr);
    box.SetFileName("*.mp3;*.wav");
    EXPECT_EQ(box.findChild<QLineEdit *>(QLatin1String(TQtFileDialog::NameBoxObjectName))->text(), "*.mp3;*.wav");
}

TEST(QtFileDialog, TheFilterNumberIsThePlaceOfTheChosenTypeWithItsDetailsHidden)
{
    TTempFolder folder;
    TQtFileDialog box(nullptr, "Save Media List", folder.path());
    box.setNameFilters(ListFilters);
    EXPECT_EQ(box.FilterNumber(), 1);
    for (int number : {4, 2, 3}) {
        box.selectNameFilter(ListFilters[number - 1]);
        EXPECT_EQ(box.FilterNumber(), number);
    }
}

} // namespace

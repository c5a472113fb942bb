// The find bar as a screen reader meets it in the real program: through AT-SPI, on the test's
// own X server and session bus.

#include "TAccessiblePlayerFixture.h"
#include "window/TPlayerSettings.h"

namespace {

using TFindBarAccessibleTest = TAccessiblePlayerFixture;

TEST_F(TFindBarAccessibleTest, AScreenReaderFindsTheFieldAsFindAndTheShownRowsAsTheMatches)
{
    const QString list = folder.File("found.oml");
    folder.WriteFile("found.oml",
                     Entry(false, "/m/Alpha/one.mp3") + Entry(true, "/m/Beta/two.mp3") + Entry(false, "/m/gamma.mp3")
                         + Entry(false, "/m/beta/B\xC3\xA9ta.mp3"));
    TPlayerSettings{100, 100, 573, 400, 1, true, false, true, true, list, 0, 0}.Write();
    StartAccessiblePlayer();
    QProcess reader;
    RunScript(reader, "find_bar_atspi.py", {"beta", "2"});
    EXPECT_EQ(reader.readAllStandardError(), QByteArray());
    EXPECT_EQ(reader.readAllStandardOutput(),
              QByteArray("field: Find\nrow: /m/Beta/two.mp3\nrow: /m/beta/B\xC3\xA9ta.mp3\n"));
    EXPECT_EQ(reader.exitCode(), 0);

    ASSERT_TRUE(Quit(player));
    // Finding changed no entry: the close saved the whole list with its marks.
    EXPECT_EQ(folder.ReadFile("found.oml"),
              Entry(false, "/m/Alpha/one.mp3") + Entry(true, "/m/Beta/two.mp3") + Entry(false, "/m/gamma.mp3")
                  + Entry(false, "/m/beta/B\xC3\xA9ta.mp3"));
}

} // namespace

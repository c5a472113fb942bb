#pragma once

#include <QByteArray>
#include <functional>

class TUserDialogs;

// The maker's links, and handing a link to the desktop, which picks the program by the
// link's scheme (web browser, mail program).
namespace InternetLinks {

inline constexpr const char *HomePageLink = "https://www.ostrel.example/";
inline constexpr const char *SupportMailLink = "mailto:support@ostrel.example";

// What hands a link to the desktop; it raises when the handing itself fails.
using TLinkOpener = std::function<void(const QByteArray &link)>;

// Hands the link over; the desktop's answer is not examined. An error raised while handing
// it over is shown in an error box with the error's text.
void OpenLink(TUserDialogs &dialogs, const QByteArray &link);

// Replaces the desktop's handler, for tests; an empty opener restores it.
void SetLinkOpener(TLinkOpener opener);

} // namespace InternetLinks

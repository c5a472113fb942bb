#include "about/TFormAboutOstrel.h"

#include "about/InternetLinks.h"
#include "about/AboutButtonFace.h"
#include "controls/Artwork.h"
#include "controls/TOEButton.h"
#include "medialist/CurrentFolder.h"
#include "registry/OERegistry.h"

#include <QEvent>
#include <QLabel>

namespace {

QString CreditsValue(const char *name, const QString &fallback)
{
    return ReadRegistry(DefaultRegistryRoot, QString::fromLatin1(TFormAboutOstrel::CreditsKey),
                        QString::fromLatin1(name), TRegistryValue::Text(fallback))
        .AsText();
}

} // namespace

TFormAboutOstrel::TFormAboutOstrel(QWidget *owner, TUserDialogs &dialogs, const QString &pictureFolder,
                                   const QString &programName, const QString &edition, const QString &version,
                                   const QString &copyright, const QString &notice)
    : QDialog(owner, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      dialogs_(dialogs), pictureFolder_(pictureFolder), texts_{programName, edition, version, copyright, notice}
{
    setWindowTitle(QStringLiteral("About Ostrel"));
    setFixedSize(510, 303);

    Image = new QLabel(this);
    Image->setObjectName(QStringLiteral("Image"));
    Image->setGeometry(rect());
    Image->setScaledContents(true);
    Image->setPixmap(QPixmap::fromImage(Artwork("about_background")));

    lblProgram = CreateLabel("lblProgram", QRect(1, 13, 240, 42), 37, true, false);
    lblEdition = CreateLabel("lblEdition", QRect(1, 56, 64, 24), 21, true, false);
    lblVersion = CreateLabel("lblVersion", QRect(1, 88, 52, 19), 16, true, false);
    lblCopyright = CreateLabel("lblCopyright", QRect(1, 131, 67, 19), 16, true, true);
    lblFhGText = CreateLabel("lblFhGText", QRect(1, 168, 66, 38), 16, false, false);
    lblFhGText->setWordWrap(true);
    lblFhGText->setAlignment(Qt::AlignHCenter | Qt::AlignTop);

    OEButton4 = CreateButton("OEButton4", QRect(396, 264, 108, 26), "Close");
    pbHomepage = CreateButton("pbHomepage", QRect(272, 264, 108, 25), "Homepage");
    pbEmail = CreateButton("pbEmail", QRect(152, 264, 108, 26), "Email");
    pbCredits = CreateButton("pbCredits", QRect(64, 208, 401, 33), "Credits");
    OEButton4->SetPicture(AboutButtonFace(QStringLiteral("Close"), TAboutButtonMark::None, devicePixelRatioF()));
    pbHomepage->SetPicture(AboutButtonFace(QStringLiteral("Homepage"), TAboutButtonMark::None, devicePixelRatioF()));
    pbEmail->SetPicture(AboutButtonFace(QStringLiteral("Email"), TAboutButtonMark::Envelope, devicePixelRatioF()));
    for (TOEButton *button : {OEButton4, pbHomepage, pbEmail})
        button->SetTransparent(true);
    pbCredits->SetCenter(true);
    OEButton4->OnClick = [this](QObject *sender) { OEButton4Click(sender); };
    pbHomepage->OnClick = [this](QObject *sender) { pbHomepageClick(sender); };
    pbEmail->OnClick = [this](QObject *sender) { pbEmailClick(sender); };
    pbCredits->OnClick = [this](QObject *sender) { pbCreditsClick(sender); };

}

void TFormAboutOstrel::StartUp()
{
    SetProgramName(texts_.value(0));
    SetEdition(texts_.value(1));
    SetVersion(texts_.value(2));
    SetCopyright(texts_.value(3));
    SetNoticeText(texts_.value(4));
    texts_.clear();
    FormCreate(this);
}

QLabel *TFormAboutOstrel::CreateLabel(const char *name, QRect bounds, int pixelSize, bool bold, bool italic)
{
    auto *label = new QLabel(this);
    label->setObjectName(QLatin1String(name));
    label->setGeometry(bounds);
    QFont font(QStringLiteral("Times New Roman"));
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    font.setItalic(italic);
    label->setFont(font);
    label->setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
    label->setAttribute(Qt::WA_TranslucentBackground);
    label->setStyleSheet(QStringLiteral("color: rgb(0, 255, 0); background: transparent;"));
    return label;
}

TOEButton *TFormAboutOstrel::CreateButton(const char *name, QRect bounds, const char *hint)
{
    auto *button = new TOEButton(this);
    button->setObjectName(QLatin1String(name));
    button->SetBounds(bounds.x(), bounds.y(), bounds.width(), bounds.height());
    button->SetHint(QLatin1String(hint));
    return button;
}

void TFormAboutOstrel::CenterLabel(QLabel *label)
{
    label->setGeometry(Image->x() + 2, label->y(), Image->width() - 4, label->height());
}

QString TFormAboutOstrel::ProgramName() const { return lblProgram->text(); }
QString TFormAboutOstrel::Edition() const { return lblEdition->text(); }
QString TFormAboutOstrel::Version() const { return lblVersion->text(); }
QString TFormAboutOstrel::Copyright() const { return lblCopyright->text(); }
QString TFormAboutOstrel::NoticeText() const { return lblFhGText->text(); }

void TFormAboutOstrel::SetLabelText(QLabel *label, const QString &text)
{
    label->setText(text);
    label->adjustSize(); // sized to its text, as an auto-sized label is
    CenterLabel(label);
}

void TFormAboutOstrel::SetProgramName(const QString &text) { SetLabelText(lblProgram, text); }
void TFormAboutOstrel::SetEdition(const QString &text) { SetLabelText(lblEdition, text); }
void TFormAboutOstrel::SetVersion(const QString &text) { SetLabelText(lblVersion, text); }
void TFormAboutOstrel::SetCopyright(const QString &text) { SetLabelText(lblCopyright, text); }

void TFormAboutOstrel::SetNoticeText(const QString &text)
{
    const int height = lblFhGText->height();
    SetLabelText(lblFhGText, text);
    lblFhGText->resize(lblFhGText->width(), height);
}

void TFormAboutOstrel::FormCreate(QObject *)
{
    try {
        const QString logo = CreditsValue("logo", QStringLiteral("ostrel.bmp"));
        if (logo.isEmpty()) {
            pbCredits->setEnabled(false);
            return;
        }
        const QImage picture(ResolvedPath(pictureFolder_, logo));
        if (picture.isNull())
            return; // stays enabled, without a picture
        pbCredits->SetPicture(picture);
        pbCredits->setEnabled(true);
    } catch (...) {
        // A credits picture that cannot be had is no reason to bother the user.
    }
}

void TFormAboutOstrel::FormActivate(QObject *)
{
    for (QLabel *label : {lblProgram, lblEdition, lblVersion, lblCopyright, lblFhGText})
        CenterLabel(label);
}

void TFormAboutOstrel::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        FormActivate(this);
    QDialog::changeEvent(event);
}

void TFormAboutOstrel::pbHomepageClick(QObject *)
{
    InternetLinks::OpenLink(dialogs_, InternetLinks::HomePageLink);
}

void TFormAboutOstrel::pbEmailClick(QObject *)
{
    InternetLinks::OpenLink(dialogs_, InternetLinks::SupportMailLink);
}

void TFormAboutOstrel::pbCreditsClick(QObject *)
{
    try {
        const QByteArray link = CreditsValue("homepage", QString::fromLatin1(InternetLinks::HomePageLink)).toUtf8();
        InternetLinks::OpenLink(dialogs_, link.left(CreditsLinkLimit));
    } catch (...) {
        InternetLinks::OpenLink(dialogs_, InternetLinks::HomePageLink);
    }
}

void TFormAboutOstrel::OEButton4Click(QObject *)
{
    close();
}

#pragma once

#include <QDialog>
#include <QStringList>
#include <memory>

class QLabel;
class TOEButton;
class TUserDialogs;

// The about box: the product texts in green over a dark picture, and picture buttons that
// open the home page, the support mail link and a credits page, and close the box. The
// credits button's picture and page come from the registry under CreditsKey.
class TFormAboutOstrel : public QDialog {
    Q_OBJECT

public:
    static constexpr const char *CreditsKey = "\\Software\\Ostrel\\CreditsTo";
    // The credits link keeps at most this many bytes.
    static constexpr int CreditsLinkLimit = 355;

    // Builds the components and keeps the five texts; create the box with CreateFormAboutOstrel,
    // whose StartUp sets them through the overridable setters once the most derived class exists.
    // A relative name of the credits picture is taken as inside the picture folder.
    TFormAboutOstrel(QWidget *owner, TUserDialogs &dialogs, const QString &pictureFolder, const QString &programName,
                     const QString &edition, const QString &version, const QString &copyright,
                     const QString &notice);
    // Sets the five texts in this order, then runs FormCreate.
    void StartUp();

    // Stretches the label over the background picture, 2 pixels in from either side.
    virtual void CenterLabel(QLabel *label);
    virtual QString ProgramName() const;
    virtual QString Edition() const;
    virtual QString Version() const;
    virtual QString Copyright() const;
    virtual QString NoticeText() const;
    virtual void SetProgramName(const QString &text);
    virtual void SetEdition(const QString &text);
    virtual void SetVersion(const QString &text);
    virtual void SetCopyright(const QString &text);
    // Keeps the notice's design height; what does not fit is clipped.
    virtual void SetNoticeText(const QString &text);

    void FormCreate(QObject *sender);
    void FormActivate(QObject *sender);
    void pbHomepageClick(QObject *sender);
    void pbEmailClick(QObject *sender);
    void pbCreditsClick(QObject *sender);
    void OEButton4Click(QObject *sender);

    QLabel *lblProgram;
    QLabel *lblEdition;
    QLabel *lblVersion;
    QLabel *lblCopyright;
    QLabel *lblFhGText;
    TOEButton *OEButton4;
    TOEButton *pbHomepage;
    TOEButton *pbEmail;
    TOEButton *pbCredits;
    QLabel *Image;

protected:
    void changeEvent(QEvent *event) override;

private:
    QLabel *CreateLabel(const char *name, QRect bounds, int pixelSize, bool bold, bool italic);
    TOEButton *CreateButton(const char *name, QRect bounds, const char *hint);
    void SetLabelText(QLabel *label, const QString &text);

    TUserDialogs &dialogs_;
    QString pictureFolder_;
    QStringList texts_; // program name, edition, version, copyright, notice, until StartUp
};

template <typename Box = TFormAboutOstrel, typename... Arguments>
std::unique_ptr<Box> CreateFormAboutOstrel(Arguments &&...arguments)
{
    auto box = std::make_unique<Box>(std::forward<Arguments>(arguments)...);
    box->StartUp();
    return box;
}

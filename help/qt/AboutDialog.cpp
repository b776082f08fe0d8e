#include "help/qt/AboutDialog.h"

#include "app/core/AppInfo.h"
#include "board/core/Raster.h"
#include "help/core/AboutLayout.h"
#include "help/core/LabelColour.h"
#include "help/qt/FigureImage.h"
#include "platform/qt/AppFont.h"
#include "platform/qt/AppIcon.h"
#include "platform/qt/LayoutScale.h"

#include <QAccessibleWidget>
#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QPixmap>
#include <QPushButton>
#include <QRegion>
#include <QScreen>

#include <algorithm>
#include <cmath>

namespace tessarline {

namespace {

constexpr char kStoredCaption[] = "About MyApp";

QLabel* MakeLabel(QWidget* parent, const char* name, const QString& text) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setWordWrap(true);
    label->setFocusPolicy(Qt::NoFocus);
    QPalette palette = label->palette();
    // Colours cross as &H00BBGGRR, as the core keeps them.
    const auto bgr = [](const QColor& c) {
        return static_cast<Colour>(c.red() | c.green() << 8 | c.blue() << 16);
    };
    const Colour ink = LabelTextColour(bgr(palette.color(QPalette::Window)),
                                       bgr(palette.color(QPalette::WindowText)));
    palette.setColor(QPalette::WindowText, QColor(RedOf(ink), GreenOf(ink), BlueOf(ink)));
    label->setPalette(palette);
    return label;
}

// Qt does not tell assistive technology that a dialog is modal; readers use it to keep to the
// dialog while it is open.
class ModalDialogAccessible final : public QAccessibleWidget {
public:
    explicit ModalDialogAccessible(QWidget* dialog)
        : QAccessibleWidget(dialog, QAccessible::Dialog) {}
    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        s.modal = widget()->windowModality() != Qt::NonModal;
        return s;
    }
};

QAccessibleInterface* AboutFactory(const QString&, QObject* object) {
    auto* dialog = qobject_cast<AboutDialog*>(object);
    return dialog != nullptr ? new ModalDialogAccessible(dialog) : nullptr;
}

} // namespace

AboutDialog::AboutDialog(QWidget* parent, Registry& registry, const CodePage& codePage,
                         SystemShell& shell)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                          Qt::MSWindowsFixedSizeDialogHint),
      core_(*this, registry, codePage, shell) {
    static const bool installed = [] {
        QAccessible::installFactory(AboutFactory);
        return true;
    }();
    (void)installed;
    setObjectName(QStringLiteral("frmAbout"));
    setWindowIcon(AppIcon());
    setModal(true);
    setWindowModality(Qt::ApplicationModal);
    setFont(AppFont());
}

int AboutDialog::Px(int twips) const {
    return TwipsToPixels(twips, scale_);
}

void AboutDialog::Load() {
    const QScreen* screen = parentWidget() != nullptr ? parentWidget()->screen() : nullptr;
    if (screen == nullptr) {
        screen = QGuiApplication::primaryScreen();
    }
    scale_ = LayoutScale(screen);

    delete client_;
    BuildControls();
    setWindowTitle(QString::fromLatin1(kStoredCaption));
    const int width = Px(kAboutClientWidthTwips);
    const int height = Px(kAboutClientHeightTwips);
    setFixedSize(width, height);
    // Measured from the top-left corner of the screen the board is on.
    const QPoint screenOrigin = screen != nullptr ? screen->geometry().topLeft() : QPoint();
    setGeometry(screenOrigin.x() + Px(kAboutScreenLeftTwips),
                screenOrigin.y() + Px(kAboutScreenTopTwips), width, height);
    core_.Form_Load();
    cmdOK_->setFocus(Qt::OtherFocusReason);
}

void AboutDialog::BuildControls() {
    client_ = new QWidget(this);
    client_->setGeometry(0, 0, Px(kAboutClientWidthTwips), Px(kAboutClientHeightTwips));
    const auto place = [this](QWidget* w, const TwipRect& r) {
        w->setGeometry(Px(r.left), Px(r.top), Px(r.width), Px(r.height));
    };

    // Created in tab order: the two buttons, then the controls that never take the focus.
    auto* ok = new QPushButton(QStringLiteral("OK"), client_);
    ok->setObjectName(QStringLiteral("cmdOK"));
    ok->setDefault(true);
    place(ok, kAboutOK);
    connect(ok, &QPushButton::clicked, this, [this] { core_.cmdOK_Click(); });
    cmdOK_ = ok;

    auto* sysInfo = new QPushButton(QStringLiteral("&System Info..."), client_);
    sysInfo->setObjectName(QStringLiteral("cmdSysInfo"));
    place(sysInfo, kAboutSysInfo);
    connect(sysInfo, &QPushButton::clicked, this, [this] { core_.cmdSysInfo_Click(); });

    auto* image = new QLabel(client_);
    image->setObjectName(QStringLiteral("Image1"));
    image->setFocusPolicy(Qt::NoFocus);
    image->setAccessibleName(QString::fromStdWString(std::wstring(kFigureAccessName)));
    place(image, kAboutImage1);
    const qreal ratio = devicePixelRatioF();
    const QSize device(static_cast<int>(std::lround(image->width() * ratio)),
                       static_cast<int>(std::lround(image->height() * ratio)));
    QPixmap picture = QPixmap::fromImage(StretchBlackOnWhite(FigureBitmap(), device));
    picture.setDevicePixelRatio(ratio);
    image->setPixmap(picture);

    lblTitle_ = MakeLabel(client_, "lblTitle", QString::fromStdWString(std::wstring(kAppTitle)));
    place(lblTitle_, kAboutTitle);
    auto* description =
        MakeLabel(client_, "lblDescription", QString::fromStdWString(std::wstring(kRulesText)));
    place(description, kAboutDescription);
    // Text beyond the label's height is cut, but at a line: half a line looks broken.
    const int lineHeight = description->fontMetrics().lineSpacing();
    const int wholeLines = std::max(1, description->height() / lineHeight);
    description->setMask(QRegion(0, 0, description->width(), wholeLines * lineHeight));

    client_->show();
}

void AboutDialog::SetCaption(const std::wstring& text) {
    setWindowTitle(QString::fromStdWString(text));
}

void AboutDialog::SetTitleLabel(const std::wstring& text) {
    lblTitle_->setText(QString::fromStdWString(text));
}

void AboutDialog::Unload() {
    done(QDialog::Accepted);
}

void AboutDialog::ShowMessage(const std::wstring& text, const std::wstring& caption) {
    QMessageBox box(QMessageBox::NoIcon, QString::fromStdWString(caption),
                    QString::fromStdWString(text), QMessageBox::Ok, this);
    box.setObjectName(QStringLiteral("SysInfoMessage"));
    // A plain OK, as the system's own message box shows it: no picture on the button either.
    box.button(QMessageBox::Ok)->setIcon(QIcon());
    box.exec();
}

// The close button and the system menu's Close end here: they unload the dialog as OK does.
void AboutDialog::reject() {
    Unload();
}

// Esc presses the cancel button, which is OK.
void AboutDialog::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        cmdOK_->click();
        return;
    }
    QDialog::keyPressEvent(event);
}

} // namespace tessarline

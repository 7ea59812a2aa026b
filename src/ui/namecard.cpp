#include "ui/namecard.h"

#include "ui/imagebutton.h"
#include "ui/layout.h"
#include "ui/look.h"
#include "ui/pictures.h"

#include <QLabel>

namespace {
QLabel* picture(const QString& name, int index, const QString& accessibleName, QWidget* parent)
{
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    if (index >= 0)
        label->setProperty("index", index);
    label->setAccessibleName(accessibleName);
    return label;
}
} // namespace

NameCard::NameCard(const Pictures& pictures, QWidget* parent) : QFrame(parent)
{
    setObjectName(QStringLiteral("Popup"));
    setAccessibleName(QStringLiteral("Name card"));
    setGeometry(Layout::Twips{6720, 1200, 1540, 1575}.rect());
    setFrameStyle(QFrame::Box | QFrame::Plain);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, QColor(34, 30, 52));
    palette.setColor(QPalette::WindowText, Look::CaptionYellow.darker(130));
    setPalette(palette);
    setAutoFillBackground(true);

    const int barHeight = pictures.HBar1.deviceIndependentSize().toSize().height();
    QLabel* topBar = picture(QStringLiteral("HBar1"), 2, QStringLiteral("Card bar"), this);
    topBar->setGeometry(1, Layout::px(255) + 1, width() - 2, barHeight);
    topBar->setPixmap(pictures.HBar1);
    QLabel* bottomBar = picture(QStringLiteral("HBar1"), 3, QStringLiteral("Card bar"), this);
    bottomBar->setGeometry(1, height() - barHeight - 2, width() - 2, barHeight);
    bottomBar->setPixmap(pictures.HBar1);

    m_name = picture(QStringLiteral("U_NAME"), -1, QStringLiteral("User name"), this);
    m_name->setGeometry(Layout::Twips{120, 360, 1215, 255}.rect());
    Look::caption(m_name, Look::CaptionYellow);

    QLabel* grade = picture(QStringLiteral("GradeIMG"), -1, QStringLiteral("Grade badge"), this);
    grade->setGeometry(Layout::Twips{480, 600, 495, 615}.rect());
    grade->setScaledContents(true);
    grade->setPixmap(pictures.Grade);

    m_close = new ImageButton(QStringLiteral("Image1"), -1, this);
    m_close->setProperty("index", QVariant()); // a single image, not an array element
    m_close->setGeometry(Layout::Twips{1200, 0, 375, 255}.rect());
    m_close->setAccessibleName(QStringLiteral("Close card"));
    m_close->setPixmap(pictures.CardClose);

    hide();
}

void NameCard::showName(const QString& name)
{
    m_name->setText(name);
    m_name->setAccessibleDescription(name);
    show();
    raise();
}

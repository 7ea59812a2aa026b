#include "ui/hutpanel.h"

#include "ui/imagebutton.h"
#include "ui/layout.h"
#include "ui/pictures.h"

#include <QLabel>

HutPanel::HutPanel(int hut, const Pictures& pictures, QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("HutBox"));
    setProperty("index", hut);
    setAccessibleName(QStringLiteral("Hut %1").arg(hut));
    setGeometry(Layout::HutBox[std::size_t(hut)].rect());

    m_background = new QLabel(this);
    m_background->setObjectName(QStringLiteral("HutPBG"));
    m_background->setProperty("index", hut);
    m_background->setAccessibleName(QStringLiteral("Hut %1 panel").arg(hut));
    m_background->setGeometry(rect());
    m_background->setPixmap(pictures.HutPanel);

    for (int slot = 0; slot < 4; ++slot) {
        const int index = 10 * hut + slot;
        auto* image = new ImageButton(QStringLiteral("Hut"), index, this);
        image->setGeometry(Layout::slot(slot).rect());
        image->setAccessibleName(QStringLiteral("Hut %1 slot %2").arg(hut).arg(slot));
        image->setPixmap(pictures.PlayerOUT);
        connect(image, &ImageButton::clicked, this, [this, index] { emit slotClicked(index); });
        m_slots[std::size_t(slot)] = image;
    }

    m_launch = new ImageButton(QStringLiteral("Launch"), hut, this);
    m_launch->setGeometry(Layout::LaunchSpot.rect());
    m_launch->setAccessibleName(QStringLiteral("Launch hut %1").arg(hut));
    m_launch->setToolTip(QStringLiteral("Start the game (host only)"));
    connect(m_launch, &ImageButton::clicked, this, [this, hut] { emit launchClicked(hut); });
}

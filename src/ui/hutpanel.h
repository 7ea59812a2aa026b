#pragma once

#include <QWidget>

#include <array>

class ImageButton;
class QLabel;
struct Pictures;

// HutBox(h): the panel of one hut, with its background HutPBG(h), the four
// slot images Hut(10h + s) and the launch spot Launch(h).
class HutPanel : public QWidget {
    Q_OBJECT
public:
    HutPanel(int hut, const Pictures& pictures, QWidget* parent);

    ImageButton* slotImage(int slot) const { return m_slots[std::size_t(slot)]; }
    ImageButton* launch() const { return m_launch; }

signals:
    void slotClicked(int index);
    void launchClicked(int hut);

private:
    std::array<ImageButton*, 4> m_slots{};
    ImageButton* m_launch = nullptr;
    QLabel* m_background = nullptr;
};

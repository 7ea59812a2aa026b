#pragma once

#include <QAbstractButton>
#include <QPixmap>

// A clickable picture: a hut slot, a launch spot, a lobby spot, the card's
// close mark. It is a button to the keyboard and to screen readers too. A
// control array's elements share one objectName and carry their index in
// the "index" property.
class ImageButton : public QAbstractButton {
    Q_OBJECT
public:
    ImageButton(const QString& name, int index, QWidget* parent);

    int index() const { return m_index; }
    void setPixmap(const QPixmap& pixmap);
    const QPixmap& pixmap() const { return m_pixmap; }
    // A hot spot without a picture of its own lights up under the mouse.
    void setHighlightOnHover(bool on) { m_highlight = on; }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    QPixmap m_pixmap;
    int m_index;
    bool m_highlight = false;
    bool m_hovered = false;
};
